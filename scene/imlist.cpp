#include "scene/imlist.h"

#include <algorithm>

#include "render/canvas.h"
#include "render/image.h"
#include "scene/db.h"
#include "scene/image.h"
#include "scene/runtime.h"
#include "scene/sprite_quad.h"
#include "scene/whole_number.h"

namespace lum {
namespace {

constexpr double kZoomIn = 0.05, kZoomOut = 0.1;

bool exactlyImage(const TLumElement& e) { return &e.classInfo() == &TLumImage::info(); }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// An item's key: a whole number within 32 bits.
bool parseKey(std::string_view text, int32_t& out) {
  int64_t value = 0;
  if (!ParseWholeNumber(text, value) || value < INT32_MIN || value > INT32_MAX) return false;
  out = static_cast<int32_t>(value);
  return true;
}

}  // namespace

void TLumImList::SetSizeX(int32_t v) {
  sizeX_ = v;
  layout();
}
void TLumImList::SetSizeY(int32_t v) {
  sizeY_ = v;
  layout();
}
void TLumImList::SetRowCount(int32_t v) {
  rowCount_ = v;
  layout();
}
void TLumImList::SetColCount(int32_t v) {
  colCount_ = v;
  layout();
}
void TLumImList::SetSpace(int32_t v) {
  space_ = v;
  layout();
}

void TLumImList::layout() {
  if (colCount_ == 0 || rowCount_ == 0) {
    elWidth_ = elHeight_ = 0;
  } else {
    // In 64 bits: any stored counts and sizes give a cell size.
    const int64_t w = (int64_t{sizeX_} - (int64_t{colCount_} - 1) * space_) / colCount_;
    const int64_t h = (int64_t{sizeY_} - (int64_t{rowCount_} - 1) * space_) / rowCount_;
    elWidth_ = static_cast<int32_t>(std::clamp<int64_t>(w, 0, INT32_MAX));
    elHeight_ = static_cast<int32_t>(std::clamp<int64_t>(h, 0, INT32_MAX));
  }
  SetScrollPos(ScrollPos());
}

void TLumImList::SetScrollPos(int32_t) { scrollRow_ = 0; }

TLumElement* TLumImList::itemElement(size_t index) const {
  if (index >= items_.size()) return nullptr;
  const ImListItem& item = items_[index];
  if (item.ref != 0) return fromRef(runtime(), item.ref);
  return item.element;
}

std::string TLumImList::ElementsText() const {
  std::string text;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (const TLumElement* e = itemElement(i)) text += std::to_string(e->Key) + ";";
  }
  return text;
}

void TLumImList::SetElementsText(const std::string& text) {
  items_.clear();
  hovered_ = -1;  // the hovered item is gone with the others
  std::string_view rest = text;
  while (!rest.empty()) {
    const size_t cut = rest.find(';');
    std::string_view piece = trimmed(rest.substr(0, cut));
    rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    int32_t key = 0;
    if (piece.empty() || !parseKey(piece, key) || !root()) continue;
    TLumElement* found = root()->FindByKey(key);
    if (found && exactlyImage(*found)) Add(static_cast<TLumImage&>(*found));
  }
}

void TLumImList::Add(TLumImage& image) {
  items_.push_back(ImListItem{image.handle(), &image, 1.0});
  SetScrollPos(static_cast<int32_t>(items_.size() - 1));
}

void TLumImList::removeAt(size_t index) {
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
  // The hovered index keeps pointing at the same item, or at none.
  if (hovered_ == static_cast<int32_t>(index)) {
    hovered_ = -1;
  } else if (hovered_ > static_cast<int32_t>(index)) {
    --hovered_;
  }
}

void TLumImList::RemoveById(const std::string& id) {
  for (size_t i = 0; i < items_.size(); ++i) {
    const TLumElement* e = itemElement(i);
    if (e && e->Id == id) {
      removeAt(i);
      return;
    }
  }
}

void TLumImList::RemoveElement(const TLumElement& element) {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (itemElement(i) == &element) {
      removeAt(i);
      return;
    }
  }
}

bool TLumImList::GetValue(std::string_view name, ScriptValue& out) {
  if (name == "ELEMENTS") {
    out = ScriptValue::String(ElementsText());
    return true;
  }
  if (name == "SELEL") {
    TLumElement* e = hovered_ >= 0 ? itemElement(static_cast<size_t>(hovered_)) : nullptr;
    out = e ? ScriptValue::Ref(e->handle()) : ScriptValue::Integer(0);
    return true;
  }
  return TLumElement::GetValue(name, out);
}

// ELEMENTS and SELEL are answered before the properties: no handles for them.
bool TLumImList::FindNameHandle(std::string_view name, ScriptElement::NameHandle& out) {
  if (name == "ELEMENTS" || name == "SELEL") return false;
  return TLumElement::FindNameHandle(name, out);
}

bool TLumImList::SetValue(std::string_view name, const ScriptValue& value) {
  if (name == "ELEMENTS") {
    SetElementsText(value.text());
    return true;
  }
  return TLumElement::SetValue(name, value);
}

// The list's own mouse-in and mouse-out scripts run only over occupied
// cells, so they fire also when the mouse goes from one cell to the next.
void TLumImList::setHovered(int32_t index) {
  if (index == hovered_) return;
  if (hovered_ != -1) TLumElement::MouseOut();
  hovered_ = index;
  if (hovered_ != -1) TLumElement::MouseIn();
}

// The hit test already ran the mouse-in script for the cell it found; the
// mouse-in that follows for the element newly under the cursor would run it
// a second time.
void TLumImList::MouseIn() {}

void TLumImList::MouseOut() {
  if (hovered_ != -1) TLumElement::MouseOut();
  // The mouse left the list (another element was hit first, or the screen
  // changed): nothing of it stays hovered or keeps growing.
  hovered_ = -1;
}

void TLumImList::MouseDown() {
  TLumElement* e = hovered_ >= 0 ? itemElement(static_cast<size_t>(hovered_)) : nullptr;
  if (!e) return;
  e->MouseDown();
  TLumElement::MouseDown();
}

int32_t TLumImList::cellAt(int32_t x, int32_t y) const {
  const int64_t pitchX = int64_t{elWidth_} + space_, pitchY = int64_t{elHeight_} + space_;
  if (pitchX <= 0 || pitchY <= 0 || colCount_ <= 0) return -1;
  const int64_t column = (int64_t{x} - X()) / pitchX;
  const int64_t row = (int64_t{y} - Y()) / pitchY;
  // Pixels left over right of the last column or below the last row belong
  // to no cell (they would name an item of the next row or an unshown one).
  if (column >= colCount_ || row >= rowCount_) return -1;
  const int64_t index = column + ScrollPos() + row * colCount_;
  return index < static_cast<int64_t>(items_.size()) ? static_cast<int32_t>(index) : -1;
}

TLumElement* TLumImList::HitTest(int32_t layer, int32_t x, int32_t y, int32_t, int32_t) {
  if (layer != Order()) return nullptr;
  const bool inside = x >= X() && int64_t{x} < int64_t{X()} + sizeX_ && y >= Y() &&
                      int64_t{y} < int64_t{Y()} + sizeY_;
  setHovered(inside ? cellAt(x, y) : -1);
  return inside ? this : nullptr;
}

void TLumImList::Process() {
  for (size_t i = 0; i < items_.size(); ++i) {
    double& zoom = items_[i].zoom;
    if (static_cast<int32_t>(i) == hovered_) {
      if (zoom < Scale) zoom += kZoomIn;
    } else if (zoom > 1.0) {
      zoom -= kZoomOut;
      if (zoom < 1.0) zoom = 1.0;
    }
  }
}

void TLumImList::LoadResources() {
  if (resourcesLoaded()) return;
  TLumElement::LoadResources();
  for (size_t i = 0; i < items_.size(); ++i) {
    if (TLumElement* e = itemElement(i)) e->LoadResources();
  }
}

void TLumImList::ReloadResources() {
  TLumElement::ReloadResources();
  for (size_t i = 0; i < items_.size(); ++i) {
    if (TLumElement* e = itemElement(i)) e->ReloadResources();
  }
}

void TLumImList::Draw(int32_t layer, uint32_t, double ox, double oy) {
  if (!resourcesLoaded()) LoadResources();
  // Drawn once, on its own layer: the list has no children to draw.
  if (layer != Order() || elWidth_ == 0 || elHeight_ == 0 || colCount_ <= 0) return;
  const auto count = static_cast<int64_t>(items_.size());
  for (int pass = 0; pass < 2; ++pass) {
    // Rows end with the items (however many rows the grid claims).
    for (int32_t r = 0; r < rowCount_ && (int64_t{r} + scrollRow_) * colCount_ < count; ++r) {
      for (int32_t c = 0; c < colCount_; ++c) {
        const int64_t index = c + (int64_t{r} + scrollRow_) * colCount_;
        if (index >= count) break;
        // The hovered item comes last, so that it lies on top.
        if ((index == hovered_) != (pass == 1)) continue;
        drawItem(static_cast<size_t>(index), r, c, ox, oy);
      }
    }
  }
}

void TLumImList::drawItem(size_t index, int32_t row, int32_t column, double ox, double oy) {
  Runtime* rt = runtime();
  auto* image = dynamic_cast<TLumImage*>(itemElement(index));
  if (!rt || !image) return;
  TAsphyreImage* tex = image->texture();
  if (!tex) return;
  const double fw = tex->PatternSize().width, fh = tex->PatternSize().height;
  if (fw <= 0 || fh <= 0) return;
  double fit = elWidth_ / fw;
  if (fh * fit > elHeight_) fit = elHeight_ / fh;
  const double factor = fit * items_[index].zoom;
  SpriteQuad sprite;
  sprite.frame = image->Anim;
  sprite.cx = ox + rX + column * (static_cast<double>(elWidth_) + space_) + elWidth_ / 2.0;
  sprite.cy = oy + rY + row * (static_cast<double>(elHeight_) + space_) + elHeight_ / 2.0;
  sprite.width = fw * factor;
  sprite.height = fh * factor;
  sprite.factorX = sprite.factorY = factor;
  sprite.angle = image->Angle();
  sprite.colour = image->colour;
  sprite.effect = image->hxDrawFx;
  drawSpriteQuad(rt->services.canvas, tex, sprite);
}

const ClassInfo& TLumImList::info() {
  using L = TLumImList;
  static const ClassInfo table = [] {
    ClassInfo c{"TLumImList", baseProperties(), {"TLumScreen", "TLumImage", "TLumShape"}, [] {
                  return std::unique_ptr<TLumElement>(new TLumImList());
                }};
    auto& p = c.properties;
    auto integer = [](const char* name, int32_t (L::*get)() const, void (L::*set)(int32_t)) {
      return accessor<L, int64_t>(
          name, PropKind::Int32, [get](const L& l) { return (l.*get)(); },
          [set](L& l, int64_t v) { (l.*set)(static_cast<int32_t>(v)); });
    };
    p.push_back(integer("RowCount", &L::RowCount, &L::SetRowCount));
    p.push_back(integer("ColCount", &L::ColCount, &L::SetColCount));
    p.push_back(integer("Space", &L::Space, &L::SetSpace));
    p.push_back(integer("ScrollPos", &L::ScrollPos, &L::SetScrollPos));
    p.push_back(inherited("SizeX"));
    p.push_back(inherited("SizeY"));
    p.push_back(accessor<L, int64_t>(
        "ElWidth", PropKind::Int32, [](const L& l) { return l.ElWidth(); }, [](L&, int64_t) {}));
    p.push_back(accessor<L, int64_t>(
        "ElHeight", PropKind::Int32, [](const L& l) { return l.ElHeight(); }, [](L&, int64_t) {}));
    p.push_back(field("Scale", PropKind::Float64, &L::Scale));
    for (const char* name : {"exInit", "exAfterLoad", "exUpdate", "exProcess", "Order", "exVarRS",
                             "Tag", "NotSave", "exMouseIn", "exMouseOut", "exMouseDown"}) {
      p.push_back(inherited(name));
    }
    return c;
  }();
  return table;
}

}  // namespace lum
