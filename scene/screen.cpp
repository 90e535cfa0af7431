#include "scene/screen.h"

namespace lum {

TLumScreen::TLumScreen() { MousedNotVis = true; }

const ClassInfo& TLumScreen::info() {
  using S = TLumScreen;
  static const ClassInfo table = [] {
    ClassInfo c{"TLumScreen", baseProperties(), {"TLumDB"}, [] {
                  return std::unique_ptr<TLumElement>(new TLumScreen());
                }};
    auto& p = c.properties;
    p.push_back(accessor<S, std::string>(
        "ImBack", PropKind::String, [](const S& s) { return s.ImBack(); },
        [](S& s, const std::string& v) { s.SetImBack(v); }));
    p.push_back(inherited("SizeX"));
    p.push_back(inherited("SizeY"));
    p.push_back(field("hxDrawFx", PropKind::UInt32, &S::hxDrawFx));
    p.push_back(field("Agro", PropKind::Int32, &S::Agro));
    p.push_back(field("Modal", PropKind::Bool, &S::Modal));
    for (const char* name : {"exInit", "exAfterLoad", "exUpdate", "exProcess", "Order", "exVarRS",
                             "exShow", "Tag"}) {
      p.push_back(inherited(name));
    }
    p.push_back(field("AllwaysLoad", PropKind::Bool, &S::AllwaysLoad));
    p.push_back(inherited("NotSave"));
    p.push_back(inherited("exRender"));
    p.push_back(inherited("AutoInit"));
    return c;
  }();
  return table;
}

const ClassInfo& TLumExScreen::info() {
  using S = TLumExScreen;
  static const ClassInfo table = [] {
    ClassInfo c{"TLumExScreen", baseProperties(), {"TLumScreen", "TLumImage", "TLumShape"}, [] {
                  return std::unique_ptr<TLumElement>(new TLumExScreen());
                }};
    auto& p = c.properties;
    p.push_back(field("PosHor", PropKind::Enum, &S::PosHor, posHorNames()));
    p.push_back(field("PosVert", PropKind::Enum, &S::PosVert, posVertNames()));
    p.push_back(accessor<S, int64_t>(
        "obScreen", PropKind::Int32, [](const S& s) { return s.obScreen(); },
        [](S& s, int64_t v) { s.SetObScreen(static_cast<int32_t>(v)); }));
    for (const char* name : {"exVarRS", "exInit", "exAfterLoad", "exMouseIn", "exMouseOut",
                             "exMouseMove", "exMouseDown", "exMouseUp", "exUpdate", "exProcess"}) {
      p.push_back(inherited(name));
    }
    p.push_back(field("Modal", PropKind::Bool, &S::Modal));
    p.push_back(inherited("exShow"));
    p.push_back(inherited("Tag"));
    p.push_back(inherited("NotSave"));
    p.push_back(field("Processing", PropKind::Bool, &S::Processing));
    return c;
  }();
  return table;
}

}  // namespace lum
