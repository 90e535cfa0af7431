#pragma once
// Screens, and screens embedded in other elements.
#include "scene/element.h"

namespace lum {

class TLumScreen : public TLumElement {
 public:
  TLumScreen();
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
  bool AllwaysLoad = false;

 private:
  int32_t sizeX_ = 0, sizeY_ = 0;
  std::string imBack_;
};

class TLumExScreen : public TLumElement {
 public:
  TLumExScreen() = default;
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  int32_t obScreen() const { return obScreen_; }
  void SetObScreen(int32_t key) {
    obScreen_ = key;
    screen_ = nullptr;
  }

  uint8_t PosHor = 0;
  uint8_t PosVert = 0;
  bool Modal = false;
  bool Processing = true;

 private:
  int32_t obScreen_ = 0;
  TLumElement* screen_ = nullptr;  // cached lookup of obScreen
};

}  // namespace lum
