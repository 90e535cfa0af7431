#include "scene/shape.h"

#include "scene/colour_properties.h"

namespace lum {

const ClassInfo& TLumShape::info() {
  using S = TLumShape;
  static const ClassInfo table = [] {
    ClassInfo c{"TLumShape", baseProperties(), {"TLumScreen", "TLumImage", "TLumShape"}, [] {
                  return std::unique_ptr<TLumElement>(new TLumShape());
                }};
    auto& p = c.properties;
    p.push_back(field("hxDrawFx", PropKind::UInt32, &S::hxDrawFx));
    p.push_back(colourProperty("hxColor", &S::colour));
    p.push_back(transProperty("hxTrans", &S::colour));
    for (const char* name :
         {"MousedNotVis", "exVarRS", "exInit", "exAfterLoad", "exMouseIn", "exMouseOut",
          "exMouseMove", "exMouseDown", "exMouseUp", "exUpdate", "exProcess", "MousedVis",
          "NoMsLumDB", "Order", "rX", "rY", "SizeX", "SizeY", "Tag", "NotSave"}) {
      p.push_back(inherited(name));
    }
    p.push_back(field("Crop", PropKind::Bool, &S::Crop));
    p.push_back(field("ShapeType", PropKind::Enum, &S::ShapeType, {"stBox", "stCircle"}));
    p.push_back(field("Par1", PropKind::Float64, &S::Par1));
    p.push_back(field("Par2", PropKind::Float64, &S::Par2));
    p.push_back(field("Par3", PropKind::Float64, &S::Par3));
    return c;
  }();
  return table;
}

}  // namespace lum
