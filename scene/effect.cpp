#include "scene/effect.h"

namespace lum {

const ClassInfo& TLumEffect::info() {
  using F = TLumEffect;
  static const ClassInfo table = [] {
    ClassInfo c{"TLumEffect", baseProperties(), {"TLumScreen", "TLumImage", "TLumShape"}, [] {
                  return std::unique_ptr<TLumElement>(new TLumEffect());
                }};
    auto& p = c.properties;
    p.push_back(accessor<F, std::string>(
        "EffectFN", PropKind::String, [](const F& f) { return f.EffectFN(); },
        [](F& f, const std::string& v) { f.SetEffectFN(v); }));
    p.push_back(field("DAnim", PropKind::Float64, &F::DAnim));
    p.push_back(field("Active", PropKind::Bool, &F::Active));
    for (const char* name : {"exInit", "exAfterLoad", "exUpdate", "exProcess"}) {
      p.push_back(inherited(name));
    }
    p.push_back(field("hxColor", PropKind::UInt32, &F::hxColor));
    for (const char* name : {"Order", "exVarRS", "Tag", "NotSave"}) p.push_back(inherited(name));
    p.push_back(accessor<F, std::string>(
        "exStart", PropKind::String, [](const F& f) { return f.exStart.source; },
        [](F& f, const std::string& v) { f.SetScriptText(f.exStart, v); }));
    return c;
  }();
  return table;
}

}  // namespace lum
