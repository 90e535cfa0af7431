#include "scene/image.h"

#include "scene/colour_properties.h"

namespace lum {

const ClassInfo& TLumImage::info() {
  using I = TLumImage;
  static const ClassInfo table = [] {
    ClassInfo c{"TLumImage",
                baseProperties(),
                {"TLumScreen", "TLumImage", "TLumShape", "TLumAnKey"},
                [] { return std::unique_ptr<TLumElement>(new TLumImage()); }};
    auto& p = c.properties;
    p.push_back(accessor<I, std::string>(
        "imImage", PropKind::String, [](const I& i) { return i.imImage(); },
        [](I& i, const std::string& v) { i.SetimImage(v); }));
    p.push_back(field("hxDrawFx", PropKind::UInt32, &I::hxDrawFx));
    p.push_back(field("PosHor", PropKind::Enum, &I::PosHor, posHorNames()));
    p.push_back(field("PosVert", PropKind::Enum, &I::PosVert, posVertNames()));
    p.push_back(accessor<I, double>(
        "Scale", PropKind::Extended, [](const I& i) { return i.Scale(); },
        [](I& i, double v) { i.SetScale(v); }));
    p.push_back(accessor<I, double>(
        "Angle", PropKind::Extended, [](const I& i) { return i.Angle(); },
        [](I& i, double v) { i.SetAngle(v); }));
    p.push_back(colourProperty("hxColor", &I::colour));
    p.push_back(transProperty("hxTrans", &I::colour));
    for (const char* name : {"MousedNotVis", "exVarRS", "exInit", "exAfterLoad", "exMouseIn",
                             "exMouseOut", "exMouseMove", "exMouseDown", "exMouseUp", "exUpdate",
                             "exProcess", "MousedVis"}) {
      p.push_back(inherited(name));
    }
    p.push_back(field("Anim", PropKind::Int32, &I::Anim));
    for (const char* name : {"NoMsLumDB", "Order", "rX", "rY"}) p.push_back(inherited(name));
    p.push_back(field("ScaleX", PropKind::Extended, &I::ScaleX));
    p.push_back(field("ScaleY", PropKind::Extended, &I::ScaleY));
    p.push_back(field("Interpol", PropKind::Bool, &I::Interpol));
    p.push_back(field("InterpolSc", PropKind::Bool, &I::InterpolSc));
    p.push_back(inherited("MsKeep"));
    p.push_back(inherited("Tag"));
    p.push_back(accessor<I, std::string>(
        "TextId", PropKind::String, [](const I& i) { return i.TextId(); },
        [](I& i, const std::string& v) { i.SetTextId(v); }));
    p.push_back(inherited("NotSave"));
    return c;
  }();
  return table;
}

}  // namespace lum
