#include "scene/imlist.h"

namespace lum {

const ClassInfo& TLumImList::info() {
  using L = TLumImList;
  static const ClassInfo table = [] {
    ClassInfo c{"TLumImList", baseProperties(), {"TLumScreen", "TLumImage", "TLumShape"}, [] {
                  return std::unique_ptr<TLumElement>(new TLumImList());
                }};
    auto& p = c.properties;
    p.push_back(field("RowCount", PropKind::Int32, &L::RowCount));
    p.push_back(field("ColCount", PropKind::Int32, &L::ColCount));
    p.push_back(field("Space", PropKind::Int32, &L::Space));
    p.push_back(field("ScrollPos", PropKind::Int32, &L::ScrollPos));
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
