#pragma once
// TLumEffect: a particle effect on a screen.
#include "scene/element.h"

namespace lum {

class TLumEffect : public TLumElement {
 public:
  TLumEffect() = default;
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  const std::string& EffectFN() const { return effectFN_; }
  virtual void SetEffectFN(const std::string& name) { effectFN_ = name; }

  double DAnim = 0.0;
  bool Active = false;
  uint32_t hxColor = 0xFFFFFFu;
  ScriptText exStart;

 private:
  std::string effectFN_;
};

}  // namespace lum
