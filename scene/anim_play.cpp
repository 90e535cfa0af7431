// Playing animations: the frame number and its clamping, when the frame
// table is rebuilt, the process tick, the start and play operations, and the
// names through which scripts read the current frame.
#include <limits>

#include "scene/anim.h"
#include "scene/db.h"
#include "scene/runtime.h"
#include "scene/whole_number.h"
#include "script/pool.h"

namespace lum {
namespace {

constexpr int32_t kLargest = std::numeric_limits<int32_t>::max();

// The frame after p, kept from running past the largest frame number.
int32_t nextFrame(int32_t p) { return p == kLargest ? p : p + 1; }

// p clamped against a table of `count` frames: past the end, frame 0 when
// the animation repeats, else the last frame.
int32_t clampToTable(int32_t p, int32_t count, bool repeat) {
  if (p < count) return p;
  return repeat ? 0 : count - 1;
}


// The names an animation answers about its current frame.
enum class FrameName { None, KeyX, KeyY, KeyAngle, KeyScale, KeyFrame, IndexedX, IndexedY, Count };

FrameName frameName(std::string_view name) {
  if (name == "KEYX") return FrameName::KeyX;
  if (name == "KEYY") return FrameName::KeyY;
  if (name == "KEYANG") return FrameName::KeyAngle;
  if (name == "KEYSCALE") return FrameName::KeyScale;
  if (name == "KEYAN") return FrameName::KeyFrame;
  if (name == "COUNT") return FrameName::Count;
  if (name.rfind("KEYX[", 0) == 0) return FrameName::IndexedX;
  if (name.rfind("KEYY[", 0) == 0) return FrameName::IndexedY;
  return FrameName::None;
}

}  // namespace

void TLumAnim::SetPosition(int32_t value) {
  pos_ = frames_.built() ? clampToTable(value, frames_.count(), Rep) : value;
}

void TLumAnim::SetMorph(bool value) {
  morph_ = value;
  RebuildFrames();
}

void TLumAnim::RebuildFrames() {
  Runtime* rt = runtime();
  if (!rt || rt->state.readingData) return;
  frames_.Build(*this);
  SetPosition(pos_);
}

void TLumAnKey::SetCount(uint16_t value) {
  count_ = value;
  if (auto* anim = dynamic_cast<TLumAnim*>(parent())) anim->RebuildFrames();
}

void TLumAnim::Init() {
  if (!initialised) RebuildFrames();
  TLumElement::Init();
}

void TLumAnim::InitPr() {
  RebuildFrames();
  TLumElement::InitPr();
}

void TLumAnim::LoadResources() {
  if (resourcesLoaded()) return;
  TLumElement::LoadResources();
  RebuildFrames();
}

void TLumAnim::ReloadResources() {
  TLumElement::ReloadResources();
  RebuildFrames();
}

void TLumAnim::Update() {
  TLumElement::Update();
  RebuildFrames();
}

void TLumAnim::Process() {
  if (!Vis()) return;  // an invisible animation stands still, scripts and all
  if (Active) {
    if (pos_ < frames_.count() - 1 || Rep) {
      SetPosition(nextFrame(pos_));
      RunEvent(exAnim, "anAnim");
    } else {
      Active = false;
      RunEvent(exStop, "anStop");
    }
  }
  TLumElement::Process();
}

void TLumAnim::Start() {
  SetPosition(0);
  Active = true;
  SetVis(true);
  // Run as the command's own step: no label of its own, no variables kept.
  if (Runtime* rt = runtime()) rt->services.pool.RunEvent(&script(), exStart.prepared, nullptr);
}

void TLumAnim::Play() {
  Active = true;
  if (pos_ >= frames_.count() - 1) SetPosition(0);
  SetVis(true);
}

TLumElement* TLumAnim::HitTest(int32_t, int32_t, int32_t, int32_t, int32_t) { return nullptr; }

bool TLumAnim::GetValue(std::string_view name, ScriptValue& out) {
  if (TLumElement::GetValue(name, out)) return true;
  const FrameName which = frameName(name);
  if (which == FrameName::None) return false;
  int64_t index = 1;
  if (which == FrameName::IndexedX || which == FrameName::IndexedY) {
    // The number runs from the sixth character to the one before the last.
    if (name.size() < 7 || !ParseWholeNumber(name.substr(5, name.size() - 6), index)) return false;
  }
  frames_.Spell(pos_, scratch_);
  if (scratch_.empty()) {
    out = ScriptValue::Integer(0);
    return true;
  }
  const AnimSprite& first = scratch_.front();
  switch (which) {
    case FrameName::KeyX:
      out = ScriptValue::Real(AbsX() + first.x);
      break;
    case FrameName::KeyY:
      out = ScriptValue::Real(AbsY() + first.y);
      break;
    case FrameName::KeyAngle:
      out = ScriptValue::Real(first.angle);
      break;
    case FrameName::KeyScale:
      out = ScriptValue::Real(first.scale);
      break;
    case FrameName::KeyFrame:
      out = ScriptValue::Integer(first.frame);
      break;
    case FrameName::Count:
      out = ScriptValue::Integer(frames_.count());
      break;
    case FrameName::IndexedX:
    case FrameName::IndexedY:
      if (index < 1 || index > static_cast<int64_t>(scratch_.size())) {
        out = ScriptValue::Integer(0);  // before the first sprite or past the last
      } else {
        const AnimSprite& s = scratch_[static_cast<size_t>(index - 1)];
        out = ScriptValue::Real(which == FrameName::IndexedX ? AbsX() + s.x : AbsY() + s.y);
      }
      break;
    case FrameName::None:
      break;
  }
  return true;
}

TLumAnim* TLumExAnim::shown() const {
  if (anim_ || !root()) return anim_;
  for (const auto& c : root()->children()) {
    if (&c->classInfo() == &TLumAnim::info() && c->Key == obAnim_) {
      anim_ = static_cast<TLumAnim*>(c.get());
      break;
    }
  }
  return anim_;
}

void TLumExAnim::SetPosition(int32_t value) {
  pos_ = value;
  const TLumAnim* anim = shown();
  posUnsettled_ = !anim || !anim->frames().built();
  if (!posUnsettled_) pos_ = clampToTable(value, anim->frameCount(), Rep);
}

void TLumExAnim::settlePosition() {
  if (posUnsettled_) SetPosition(pos_);
}

void TLumExAnim::LoadResources() {
  if (resourcesLoaded()) return;
  TLumElement::LoadResources();
  settlePosition();
}

void TLumExAnim::Process() {
  settlePosition();
  // An external animation never stops by itself and runs no events.
  if (Active && pos_ >= 0) SetPosition(nextFrame(pos_));
  TLumElement::Process();
}

}  // namespace lum
