#include "scene/text.h"

#include "scene/colour_properties.h"

namespace lum {

const ClassInfo& TLumText::info() {
  using T = TLumText;
  static const ClassInfo table = [] {
    ClassInfo c{"TLumText",
                baseProperties(),
                {"TLumScreen", "TLumImage", "TLumShape", "TLumText"},
                [] { return std::unique_ptr<TLumElement>(new TLumText()); }};
    auto str = [](const char* name, const std::string& (T::*get)() const,
                  void (T::*set)(const std::string&)) {
      return accessor<T, std::string>(
          name, PropKind::String, [get](const T& t) { return (t.*get)(); },
          [set](T& t, const std::string& v) { (t.*set)(v); });
    };
    auto& p = c.properties;
    p.push_back(field("hxDrawFx", PropKind::UInt32, &T::hxDrawFx));
    p.push_back(colourProperty("hxColor1", &T::colour1));
    p.push_back(transProperty("hxTrans1", &T::colour1));
    p.push_back(colourProperty("hxColor2", &T::colour2));
    p.push_back(transProperty("hxTrans2", &T::colour2));
    for (const char* name :
         {"MousedNotVis", "exVarRS", "exInit", "exAfterLoad", "exMouseIn", "exMouseOut",
          "exMouseMove", "exMouseDown", "exMouseUp", "exUpdate", "exProcess", "MousedVis",
          "NoMsLumDB", "Order", "rX", "rY", "SizeX", "SizeY"}) {
      p.push_back(inherited(name));
    }
    p.push_back(str("Font", &T::Font, &T::SetFont));
    p.push_back(field("PosHor", PropKind::Enum, &T::PosHor, posHorNames()));
    p.push_back(field("PosVert", PropKind::Enum, &T::PosVert, posVertNames()));
    p.push_back(str("TextId", &T::TextId, &T::SetTextId));
    auto flag = [](const char* name, bool (T::*get)() const, void (T::*set)(bool)) {
      return accessor<T, int64_t>(
          name, PropKind::Bool, [get](const T& t) { return (t.*get)(); },
          [set](T& t, int64_t v) { (t.*set)(v != 0); });
    };
    p.push_back(flag("AutoEnter", &T::AutoEnter, &T::SetAutoEnter));
    p.push_back(flag("EnEnter", &T::EnEnter, &T::SetEnEnter));
    p.push_back(flag("AutoScale", &T::AutoScale, &T::SetAutoScale));
    p.push_back(field("Interval", PropKind::Float64, &T::Interval));
    p.push_back(str("Text", &T::Text, &T::SetText));
    p.push_back(accessor<T, double>(
        "Scale", PropKind::Float64, [](const T& t) { return t.Scale(); },
        [](T& t, double v) { t.SetScale(v); }));
    p.push_back(inherited("Tag"));
    p.push_back(inherited("NotSave"));
    p.push_back(field("hxShadColor", PropKind::UInt32, &T::hxShadColor));
    p.push_back(field("Emboss", PropKind::Bool, &T::Emboss));
    p.push_back(field("Shadow", PropKind::Bool, &T::Shadow));
    p.push_back(field("Uni", PropKind::Bool, &T::Uni));
    return c;
  }();
  return table;
}

}  // namespace lum
