// The second game's inventory counters and its pair-matching puzzle.
#include <string>

#include "library/games/puzzle_routines.h"
#include "scene/image.h"
#include "scene/runtime.h"

namespace lum::games {
namespace {

constexpr size_t kMaxPairObjects = 30;

// Items of the inventory that count: not the front decoration ("front")
// and not those tagged "f".
bool counts(const TLumElement& item) {
  return !sameText(item.Id, "front") && !sameText(item.Tag, "f");
}

void showCount(TLumElement& e, Puzzle& p, std::string_view name, int32_t value) {
  p.paths.setInteger(e, name, value);
  p.paths.set(e, "." + std::string(name) + ".TEXT", ScriptValue::String(std::to_string(value)));
}

bool onBoard(const TLumElement& board, const TLumElement* e) {
  if (!e || e->parent() != &board) return false;
  for (size_t i = 0; i < board.childCount() && i < kMaxPairObjects; ++i) {
    if (board.child(i) == e) return true;
  }
  return false;
}

bool samePicture(const TLumElement& a, const TLumElement& b) {
  auto* ia = dynamic_cast<const TLumImage*>(&a);
  auto* ib = dynamic_cast<const TLumImage*>(&b);
  return ia && ib && ia->picture() == ib->picture() && ia->imImage() == ib->imImage() &&
         ia->Anim == ib->Anim;
}

void showChild(TLumElement& e, size_t index, bool visible) {
  if (index < e.childCount()) e.child(index)->SetVis(visible);
}

}  // namespace

void BrambleGIListUpdate(TLumElement& e, Puzzle& p) {
  int32_t shown = 0, hidden = 0, first = 0;
  int32_t number = 0;
  for (const auto& item : e.children()) {
    ++number;
    if (!counts(*item)) continue;
    if (item->Vis()) {
      ++shown;
      if (first == 0) first = number;
    } else {
      ++hidden;
    }
  }
  showCount(e, p, "CNTS", shown);
  showCount(e, p, "CNTH", hidden);
  // Level 13 shows the counters alone, without the list of pictures.
  const TLumElement* screen = p.runtime.state.currentScreen;
  const bool listShown = shown > 0 && !(screen && sameText(screen->Id, "Level13"));
  p.paths.setInteger(e, ".IMLIST.VIS", listShown ? 1 : 0);
  // The entry ".L" takes the number of the first item still to find (0 when
  // none); its ID is the entry element's own Id and is left alone.
  p.paths.setInteger(e, ".L.L", first);
}

void BrambleLevel2LogPr(TLumElement& e, Puzzle& p) {
  TLumElement* first = p.paths.element(e, ".MS.OB1");
  TLumElement* second = p.paths.element(e, ".MS.OB2");
  const int32_t chosen = p.paths.integer(e, ".MS.OBC");
  if (!onBoard(e, first)) first = nullptr;
  if (!onBoard(e, second)) second = nullptr;
  // The pointer marks the first choice while the second is awaited.
  if (chosen == 1 && first) {
    p.paths.setInteger(e, ".O.X", first->X());
    p.paths.setInteger(e, ".O.Y", first->Y());
  }
  if (chosen < 2) return;
  if (first && second && first != second && samePicture(*first, *second)) {
    for (TLumElement* o : {first, second}) {
      showChild(*o, 1, false);
      showChild(*o, 2, true);
    }
    p.paths.setInteger(e, ".CNN", p.paths.integer(e, ".CNN") - 2);
    p.paths.set(e, "GI.CNT.TEXT", ScriptValue::String(std::to_string(p.paths.integer(e, ".CNN"))));
    p.playSound("Lev2.Ok");
  } else {
    for (TLumElement* o : {first, second}) {
      if (o) showChild(*o, 1, false);
    }
  }
  p.paths.setInteger(e, ".MS.OB1", 0);
  p.paths.setInteger(e, ".MS.OB2", 0);
  p.paths.setInteger(e, ".MS.OBC", 0);
}

}  // namespace lum::games
