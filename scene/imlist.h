#pragma once
// TLumImList: a scrolling grid of images.
#include "scene/element.h"

namespace lum {

class TLumImList : public TLumElement {
 public:
  TLumImList() { NoMsLumDB = true; }
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  int32_t SizeX() const override { return sizeX_; }
  int32_t SizeY() const override { return sizeY_; }
  void SetSizeX(int32_t v) override { sizeX_ = v; }
  void SetSizeY(int32_t v) override { sizeY_ = v; }

  int32_t RowCount = 0;
  int32_t ColCount = 0;
  int32_t Space = 0;
  int32_t ScrollPos = 0;
  // Cell sizes are derived from the grid; writing them has no effect.
  int32_t ElWidth() const { return elWidth_; }
  int32_t ElHeight() const { return elHeight_; }
  double Scale = 0.0;

 private:
  int32_t sizeX_ = 0, sizeY_ = 0;
  int32_t elWidth_ = 0, elHeight_ = 0;
};

}  // namespace lum
