#pragma once
// TLumImList: image elements shown as a grid of equal cells. The images stay
// elements elsewhere in the tree: the list only refers to them. The image in
// the cell under the mouse grows towards Scale while the others shrink back.
#include <string>
#include <vector>

#include "scene/element.h"

namespace lum {

class TLumImage;

struct ImListItem {
  ElementRef ref = 0;               // the image's handle (0 in a tree without scripts)
  TLumElement* element = nullptr;   // used only where there is no handle
  double zoom = 1.0;
};

class TLumImList : public TLumElement {
 public:
  TLumImList() { NoMsLumDB = true; }
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  int32_t SizeX() const override { return sizeX_; }
  int32_t SizeY() const override { return sizeY_; }
  void SetSizeX(int32_t v) override;
  void SetSizeY(int32_t v) override;
  int32_t RowCount() const { return rowCount_; }
  int32_t ColCount() const { return colCount_; }
  int32_t Space() const { return space_; }
  void SetRowCount(int32_t v);
  void SetColCount(int32_t v);
  void SetSpace(int32_t v);
  // The first shown item. The list always shows its items from the first:
  // setting it puts the scroll row back to 0.
  int32_t ScrollPos() const { return scrollRow_ * colCount_; }
  void SetScrollPos(int32_t value);
  // Cell sizes are derived from the grid; writing them has no effect.
  int32_t ElWidth() const { return elWidth_; }
  int32_t ElHeight() const { return elHeight_; }
  double Scale = 0.0;

  // The listed items, in order, and the element of each (null when it no
  // longer exists). Saved states read and write them as the "ELEMENTS"
  // text below.
  const std::vector<ImListItem>& items() const { return items_; }
  TLumElement* itemElement(size_t index) const;
  // "ELEMENTS": each item's Key followed by ";". Writing empties the list,
  // then adds every image whose Key a piece names.
  std::string ElementsText() const;
  void SetElementsText(const std::string& text);
  // The index of the item under the mouse, -1 for none.
  int32_t Hovered() const { return hovered_; }

  // The list operations of the script commands.
  void Add(TLumImage& image);
  void RemoveById(const std::string& id);
  void RemoveElement(const TLumElement& element);

  bool GetValue(std::string_view name, ScriptValue& out) override;
  bool SetValue(std::string_view name, const ScriptValue& value) override;
  bool FindNameHandle(std::string_view name, ScriptElement::NameHandle& out) override;
  void MouseIn() override;
  void MouseOut() override;
  void MouseDown() override;
  void Process() override;
  void LoadResources() override;
  void ReloadResources() override;
  void Draw(int32_t layer, uint32_t tint, double originX, double originY) override;
  TLumElement* HitTest(int32_t layer, int32_t x, int32_t y, int32_t margin,
                       int32_t threshold) override;

 private:
  void layout();
  void removeAt(size_t index);
  void setHovered(int32_t index);
  // The cell index under (x, y) given relative to the list, or -1.
  int32_t cellAt(int32_t x, int32_t y) const;
  void drawItem(size_t index, int32_t row, int32_t column, double ox, double oy);

  std::vector<ImListItem> items_;
  int32_t sizeX_ = 0, sizeY_ = 0;
  int32_t rowCount_ = 0, colCount_ = 0, space_ = 0;
  int32_t scrollRow_ = 0;
  int32_t elWidth_ = 0, elHeight_ = 0;
  int32_t hovered_ = -1;
};

}  // namespace lum
