#pragma once
// TLumEffect: a particle effect on a screen. It owns one particle system,
// loaded from its effect file, moves the emitter with the element, advances
// it every process tick by DAnim seconds a second and draws it on its layer
// with hxColor as a mask that removes colour channels.
#include <memory>

#include "scene/element.h"

namespace lum {

class TXParticleSystem;

class TLumEffect : public TLumElement {
 public:
  TLumEffect() = default;
  ~TLumEffect() override;
  static const ClassInfo& info();
  const ClassInfo& classInfo() const override { return info(); }

  // Replaces the particle system with one of the named effect: the file in
  // the game folder first, then the archive entry; a zero record (which
  // never emits) when neither exists.
  const std::string& EffectFN() const { return effectFN_; }
  void SetEffectFN(const std::string& name);
  bool Active() const { return active_; }
  // True starts the emitter, false stops it (living particles finish).
  void SetActive(bool value);

  void SetX(int32_t value) override;
  void SetY(int32_t value) override;
  // When active, the emitter is fired at the new place (its lifetime starts
  // again); otherwise it only moves there.
  void SetPos(int32_t x, int32_t y) override;

  // The commands' operations: Active and exStart; Active off; every
  // particle gone and Active off.
  void Start();
  void Stop();
  void Break();
  // Advances the particles by dt seconds of effect time.
  void Advance(float dt);

  void Process() override;
  void Draw(int32_t layer, uint32_t tint, double originX, double originY) override;

  TXParticleSystem* system() const { return system_.get(); }

  double DAnim = 0.0;
  uint32_t hxColor = 0xFFFFFFu;
  ScriptText exStart;

 private:
  void moveEmitter();

  std::string effectFN_;
  bool active_ = false;
  std::unique_ptr<TXParticleSystem> system_;
};

}  // namespace lum
