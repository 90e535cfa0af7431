#include "library/games/puzzle_access.h"

#include <algorithm>

#include "media/sound.h"
#include "platform/ascii_case.h"
#include "scene/db.h"
#include "scene/image.h"
#include "scene/runtime.h"
#include "script/pas_calc.h"
#include "script/paths.h"

namespace lum::games {

bool PuzzlePaths::read(TLumElement& from, std::string_view path, ScriptValue& out) const {
  return ReadPath(env_, &from.script(), path, nullptr, out);
}

bool PuzzlePaths::has(TLumElement& from, std::string_view path) const {
  ScriptValue v;
  return read(from, path, v);
}

int32_t PuzzlePaths::integer(TLumElement& from, std::string_view path) const {
  ScriptValue v;
  if (!read(from, path, v)) return 0;
  if (v.IsFloat()) return roundToInt32(v.real());
  int32_t out = 0;
  if (v.IsStringLike()) {
    double real = 0;
    return ParseDecimalReal(v.text(), real) ? roundToInt32(real) : 0;
  }
  return ToInt32(v, out) ? out : 0;
}

double PuzzlePaths::real(TLumElement& from, std::string_view path) const {
  ScriptValue v;
  double out = 0;
  if (!read(from, path, v) || !ToReal(v, out)) return 0;
  return out;
}

std::string PuzzlePaths::text(TLumElement& from, std::string_view path) const {
  ScriptValue v;
  std::string out;
  if (!read(from, path, v) || !ToText(v, out)) return {};
  return out;
}

TLumElement* PuzzlePaths::element(TLumElement& from, std::string_view path) const {
  ScriptValue v;
  if (!read(from, path, v) || v.kind() != ValueKind::Ref || v.ref() == 0) return nullptr;
  return TLumElement::fromScript(env_.elements.Resolve(v.ref()));
}

void PuzzlePaths::set(TLumElement& from, std::string_view path, const ScriptValue& value) const {
  WritePath(env_, &from.script(), path, value, nullptr);
}

Random& Puzzle::random() const { return runtime.services.random; }

void Puzzle::playSound(const std::string& key) const {
  std::string file;
  int32_t volume = 0;
  root.SoundByKey(key, file, volume);
  if (!file.empty()) runtime.services.sound.SoundPlay(file, volume);
}

TLumElement* puzzleArgument(RoutineCall& call) {
  if (call.Count() < 1 || call.Arg(0).kind() != ValueKind::Ref || call.Arg(0).ref() == 0 ||
      call.Calc() == nullptr) {
    return nullptr;
  }
  TLumElement* e =
      TLumElement::fromScript(call.Calc()->Environment().elements.Resolve(call.Arg(0).ref()));
  if (e == nullptr || e->root() == nullptr || e->runtime() == nullptr) return nullptr;
  return e;
}

Puzzle makePuzzle(RoutineCall& call, TLumElement& e) {
  return Puzzle{*e.runtime(), *e.root(), PuzzlePaths(call.Calc()->Environment())};
}

bool hasTrans(TLumElement& e, Puzzle& p) { return p.paths.has(e, "HXTRANS"); }

int32_t transOf(TLumElement& e, Puzzle& p) { return p.paths.integer(e, "HXTRANS"); }

void setTrans(TLumElement& e, Puzzle& p, int32_t value) {
  p.paths.setInteger(e, "HXTRANS", std::clamp(value, 0, 255));
}

int32_t frameOf(TLumElement& e) {
  auto* image = dynamic_cast<TLumImage*>(&e);
  return image ? image->Anim : 0;
}

bool sameText(std::string_view a, std::string_view b) { return upperAscii(a) == upperAscii(b); }

}  // namespace lum::games
