// Commands that change screens, end loading phases and steer the frame loop.
#include "library/engine/engine_access.h"
#include "library/engine/engine_commands.h"
#include "media/image_cache.h"
#include "scene/db.h"
#include "scene/runtime.h"
#include "scene/screen.h"
#include "script/pas_calc.h"

namespace lum::engine {
namespace {

// The screen argument: any element whose class is a screen kind. Returns
// false for a call that must fail; `screen` stays null when the call is
// forgiven.
bool screenArgument(RoutineCall& c, TLumElement*& screen) {
  screen = nullptr;
  TLumElement* e = nullptr;
  switch (elementArgument(c, 0, 1, c.Count(), e)) {
    case ElementArg::Forgive:
      return true;
    case ElementArg::Fail:
      return false;
    case ElementArg::Found:
      break;
  }
  if (dynamic_cast<TLumScreen*>(e)) screen = e;
  return true;
}

// Further arguments that are elements also load their pictures.
template <class Each>
void forFurtherElements(RoutineCall& c, Each each) {
  for (size_t i = 1; i < c.Count(); ++i) {
    if (c.Arg(i).kind() != ValueKind::Ref) continue;
    TLumElement* e = TLumElement::fromScript(c.Calc()->Environment().elements.Resolve(c.Arg(i).ref()));
    if (e) each(*e);
  }
}

bool fastSetScreen(RoutineCall& c, bool withEvents) {
  TLumElement* screen = nullptr;
  if (!screenArgument(c, screen)) return false;
  Runtime* rt = runtimeOf(c);
  TLumDB* root = rootOf(c);
  if (!screen || !rt || !root) return true;
  rt->state.currentScreen = screen;
  root->stars().Clear();
  screen->LoadResources();
  forFurtherElements(c, [](TLumElement& e) { e.LoadResources(); });
  rt->state.focusedText = nullptr;
  if (withEvents) {
    root->RunEvent(root->exSetScreen, "SetScreen", TLumElement::KeepVariables::InOwnList);
    screen->Show();
  }
  rt->shell.resetTimer();
  return true;
}

}  // namespace

bool EngineCommands::SetScreen(RoutineCall& c) {
  TLumElement* screen = nullptr;
  if (!screenArgument(c, screen)) return false;
  Runtime* rt = runtimeOf(c);
  TLumDB* root = rootOf(c);
  if (!screen || !rt || !root) return true;
  root->stars().Clear();
  rt->state.focusedText = nullptr;
  ImageCache& images = rt->services.images;
  images.ImForLoadCount = 0;
  images.ImForLoadPos = 0;
  rt->state.frame.LoadingPhase = true;
  images.ImResetRefs();
  root->ClearLoaded();
  root->MarkScreens();
  rt->state.frame.ImLoadEnabled = false;
  rt->state.pendingScreen = screen;
  screen->markedForLoading = true;
  screen->LoadResources();
  // Key 0 names no loading screen (the root itself has key 0).
  if (root->LoadingScreen != 0) {
    if (TLumElement* loading = root->FindByKey(root->LoadingScreen); loading && loading != root) {
      loading->InitPr();
    }
  }
  forFurtherElements(c, [](TLumElement& e) {
    e.markedForLoading = true;
    e.LoadResources();
  });
  rt->state.frame.ImLoadEnabled = true;
  rt->shell.resetTimer();
  return true;
}

bool EngineCommands::FastSetScreen(RoutineCall& c) { return fastSetScreen(c, true); }
bool EngineCommands::FastSetScreenNS(RoutineCall& c) { return fastSetScreen(c, false); }

bool EngineCommands::LoadIm(RoutineCall& c) {
  TLumDB* root = rootOf(c);
  Runtime* rt = runtimeOf(c);
  if (root && rt) root->FinishScreenLoad(rt->state.pendingScreen);
  return true;
}

bool EngineCommands::EndLoadIm(RoutineCall& c) {
  if (Runtime* rt = runtimeOf(c)) rt->state.frame.LoadingPhase = false;
  return true;
}

bool EngineCommands::TimerReset(RoutineCall& c) {
  Runtime* rt = runtimeOf(c);
  if (rt) rt->shell.resetTimer();
  return true;
}

bool EngineCommands::ExitGame(RoutineCall& c) {
  if (Runtime* rt = runtimeOf(c)) rt->state.closeRequested = true;
  return true;
}

}  // namespace lum::engine
