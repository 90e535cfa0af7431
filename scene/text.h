#pragma once
// TLumText: a text in a box, drawn with a bitmap font or a system font.
#include "scene/element.h"

namespace lum {

class TLumText : public TLumElement {
 public:
  TLumText() = default;
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  int32_t SizeX() const override { return sizeX_; }
  int32_t SizeY() const override { return sizeY_; }
  void SetSizeX(int32_t v) override { sizeX_ = v; }
  void SetSizeY(int32_t v) override { sizeY_ = v; }

  const std::string& Text() const { return text_; }
  virtual void SetText(const std::string& text) { text_ = text; }
  const std::string& Font() const { return font_; }
  virtual void SetFont(const std::string& name) { font_ = name; }
  const std::string& TextId() const { return textId_; }
  virtual void SetTextId(const std::string& id) { textId_ = id; }

  uint32_t hxDrawFx = 1284;
  uint32_t colour1 = 0xFFFFFFFFu;
  uint32_t colour2 = 0;
  uint8_t PosHor = 0;
  uint8_t PosVert = 0;
  bool AutoEnter = false;
  bool EnEnter = false;
  bool AutoScale = false;
  double Interval = 0.0;
  double Scale = 1.0;
  uint32_t hxShadColor = 0;
  bool Emboss = false;
  bool Shadow = false;
  bool Uni = false;

 private:
  int32_t sizeX_ = 100, sizeY_ = 100;
  std::string text_, font_, textId_;
};

}  // namespace lum
