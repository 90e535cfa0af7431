#pragma once
// Key-frame animations, their keys, and animations placed on a screen.
#include "scene/element.h"

namespace lum {

class TLumAnim : public TLumElement {
 public:
  TLumAnim() { MousedNotVis = true; }
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  int32_t SizeX() const override { return sizeX_; }
  int32_t SizeY() const override { return sizeY_; }
  void SetSizeX(int32_t v) override { sizeX_ = v; }
  void SetSizeY(int32_t v) override { sizeY_ = v; }
  const std::string& ImBack() const { return imBack_; }
  virtual void SetImBack(const std::string& name) { imBack_ = name; }

  uint32_t hxDrawFx = 1;
  int32_t Agro = 0;
  bool Modal = false;
  int32_t Pos = 0;
  bool Morph = false;
  bool Rep = false;
  bool ShowAn = false;
  bool Active = false;
  double Angle = 0.0;
  bool Interpol = false;
  ScriptText exStop, exStart, exAnim;

 private:
  int32_t sizeX_ = 0, sizeY_ = 0;
  std::string imBack_;
};

class TLumAnKey : public TLumElement {
 public:
  TLumAnKey() = default;
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  uint16_t Count = 0;
  bool Morph = false;
};

class TLumExAnim : public TLumElement {
 public:
  TLumExAnim() = default;
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  int32_t obAnim() const { return obAnim_; }
  void SetObAnim(int32_t key) {
    obAnim_ = key;
    anim_ = nullptr;
  }

  uint8_t PosHor = 0;
  uint8_t PosVert = 0;
  int32_t Pos = 0;
  bool Rep = false;
  bool Active = false;

 private:
  int32_t obAnim_ = 0;
  TLumElement* anim_ = nullptr;  // cached lookup of obAnim
};

}  // namespace lum
