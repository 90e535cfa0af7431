#include "scene/effect.h"

#include "media/image_cache.h"
#include "media/particle_manager.h"
#include "media/particle_system.h"
#include "platform/game_folder.h"
#include "render/archive.h"
#include "render/canvas.h"
#include "render/device.h"
#include "scene/db.h"
#include "scene/runtime.h"
#include "script/pool.h"

namespace lum {
namespace {

constexpr int32_t kEffectCapacity = 5000;

}  // namespace

TLumEffect::~TLumEffect() = default;

void TLumEffect::SetEffectFN(const std::string& name) {
  effectFN_ = name;
  Runtime* rt = runtime();
  if (!rt || !root() || !root()->particleManager()) return;
  const Services& sv = rt->services;
  system_ = std::make_unique<TXParticleSystem>(kEffectCapacity, sv.random);
  const std::string path = sv.images.baseFolder + name;
  if (sv.folder.exists(path)) {
    system_->LoadFromFile(sv.folder, path);
  } else if (sv.archive.ensureOpen() && sv.archive.indexOf(name) >= 0) {
    system_->LoadFromArchive(sv.archive, name);
  }
  moveEmitter();
  if (active_) system_->Start();
}

void TLumEffect::SetActive(bool value) {
  active_ = value;
  if (!system_) return;
  if (value) {
    system_->Start();
  } else {
    system_->Stop(false);
  }
}

void TLumEffect::moveEmitter() {
  if (system_) {
    system_->MoveTo({static_cast<float>(X()), static_cast<float>(Y())}, false);
  }
}

void TLumEffect::SetX(int32_t value) {
  TLumElement::SetX(value);
  moveEmitter();
}

void TLumEffect::SetY(int32_t value) {
  TLumElement::SetY(value);
  moveEmitter();
}

void TLumEffect::SetPos(int32_t x, int32_t y) {
  TLumElement::SetPos(x, y);
  if (!system_) return;
  const PointF target{static_cast<float>(X()), static_cast<float>(Y())};
  if (active_) {
    system_->FireAt(target);
  } else {
    system_->MoveTo(target, false);
  }
}

void TLumEffect::Start() {
  SetActive(true);
  // Run as the command's own step: no label of its own, no variables kept.
  if (Runtime* rt = runtime()) rt->services.pool.RunEvent(&script(), exStart.prepared, nullptr);
}

void TLumEffect::Stop() { SetActive(false); }

void TLumEffect::Break() {
  if (system_) system_->Stop(true);
  SetActive(false);
}

void TLumEffect::Advance(float dt) {
  if (system_) system_->Update(dt);
}

void TLumEffect::Process() {
  if (system_) {
    system_->Update(static_cast<float>(DAnim / kTicksPerSecond));
    // Idle by itself once the emission is over and the last particle died.
    if (active_ && !system_->Emitting() && system_->Count() == 0) active_ = false;
  }
  TLumElement::Process();
}

void TLumEffect::Draw(int32_t layer, uint32_t tint, double ox, double oy) {
  TLumElement::Draw(layer, tint, ox, oy);
  if (layer != Order() || !system_) return;
  Runtime* rt = runtime();
  TXParticleManager* particles = root() ? root()->particleManager() : nullptr;
  if (!rt || !particles) return;
  TAsphyreCanvas& canvas = rt->services.canvas;
  const TAsphyreDevice& device = rt->services.device;
  canvas.SetAntialias(true);
  system_->Render(canvas, particles->Sheet(), roundToInt32(ox), roundToInt32(oy),
                  hxColor | 0xFF000000u, device.Width(), device.Height());
}

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
    p.push_back(accessor<F, int64_t>(
        "Active", PropKind::Bool, [](const F& f) { return f.Active() ? 1 : 0; },
        [](F& f, int64_t v) { f.SetActive(v != 0); }));
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
