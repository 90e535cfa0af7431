#pragma once
// TLumText: a text in a box, drawn with a bitmap font or a system font.
#include <memory>
#include <optional>

#include "render/archive_records.h"
#include "scene/element.h"

namespace lum {

class TAsphyreFont;
class TAsphyreImage;

class TLumText : public TLumElement {
 public:
  TLumText();
  ~TLumText() override;
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  int32_t SizeX() const override { return sizeX_; }
  int32_t SizeY() const override { return sizeY_; }
  void SetSizeX(int32_t v) override;
  void SetSizeY(int32_t v) override { sizeY_ = v; }

  // Setting the text (or what changes its layout) lays it out again: lines
  // split at CR LF and "\n" when EnEnter is set, and wrapped to SizeX when
  // AutoEnter is set too. A non-empty TextId takes the text from the
  // language texts instead of the value given.
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  const std::string& Font() const { return fontName_; }
  void SetFont(const std::string& name);
  const std::string& TextId() const { return textId_; }
  void SetTextId(const std::string& id);
  void SetEnEnter(bool v);
  void SetAutoEnter(bool v);
  void SetAutoScale(bool v);
  void SetScale(double v);
  bool EnEnter() const { return enEnter_; }
  bool AutoEnter() const { return autoEnter_; }
  bool AutoScale() const { return autoScale_; }
  double Scale() const { return scale_; }
  // The prepared text: lines separated by byte 0.
  const std::string& layoutText() const { return layout_; }
  TAsphyreFont* font() const { return font_; }
  // The width of the text as drawn, for scripts; none while a text drawn in
  // the system font has not been drawn yet.
  std::optional<double> TextSize() const;
  // Drawn in the game's system font: in Unicode mode, the text being typed
  // into and texts marked Uni.
  bool usesSystemFont() const;
  // The system-font picture: its size once built (none before the first
  // draw) and the texture holding it.
  std::optional<SizeI> systemTextSize() const { return workSize_; }
  TAsphyreImage* systemTextTexture() const { return work_.get(); }
  // Width of a line as drawn, in the font or the Unicode glyph sheet.
  double lineWidth(std::string_view line) const;

  void Draw(int32_t layer, uint32_t tint, double originX, double originY) override;
  TLumElement* HitTest(int32_t layer, int32_t x, int32_t y, int32_t margin,
                       int32_t threshold) override;

  uint32_t hxDrawFx = 1284;
  uint32_t colour1 = 0xFFFFFFFFu;
  uint32_t colour2 = 0;
  uint8_t PosHor = 0;
  uint8_t PosVert = 0;
  double Interval = 0.0;
  uint32_t hxShadColor = 0;
  bool Emboss = false;
  bool Shadow = false;
  bool Uni = false;

 private:
  void layOut();
  void drawLines(double left, double top);
  void drawGlyphLine(std::string_view line, double x, double y);
  double glyphScale() const;  // sheet pixels to screen pixels
  void buildSystemText();
  void drawSystemText(double left, double top);
  double systemTextScale() const;  // picture pixels to screen pixels

  int32_t sizeX_ = 100, sizeY_ = 100;
  bool enEnter_ = false, autoEnter_ = false, autoScale_ = false;
  double scale_ = 1.0;
  std::string text_, fontName_, textId_, layout_;
  TAsphyreFont* font_ = nullptr;
  // The system-font path: the picture of the text it was built from.
  std::unique_ptr<TAsphyreImage> work_;
  std::optional<SizeI> workSize_;
  std::string workText_;
};

}  // namespace lum
