// Element events: which operation runs which script, under which label,
// over which part of the tree.
#include "scene/db.h"
#include "scene/runtime.h"
#include "scene/screen.h"
#include "script/pool.h"

namespace lum {

bool TLumElement::RunEvent(const ScriptText& script, const std::string& label,
                           KeepVariables keep) {
  Runtime* rt = runtime();
  if (!rt) return false;
  InterpreterPool& pool = rt->services.pool;
  pool.Environment().eventLabel = label;
  const std::shared_ptr<TVarList> kept = keep == KeepVariables::InOwnList ? vars_ : nullptr;
  return pool.RunEvent(&face_, script.prepared, kept.get());
}

void TLumElement::resetVariables() {
  vars_ = std::make_shared<TVarList>();
  if (table_ != nullptr) table_->WatchOwnVariables(*vars_);
}

void TLumElement::runInit(const char* label, bool again) {
  resetVariables();
  RunEvent(event(EventSlot::Init), label, KeepVariables::InOwnList);
  for (size_t i = 0; i < children_.size(); ++i) {
    if (again) {
      children_[i]->InitPr();
    } else {
      children_[i]->Init();
    }
  }
}

void TLumElement::Init() {
  if (initialised) return;
  initialised = true;
  if (className() == TLumScreen::info().name && !AutoInit) return;
  runInit("Init", false);
}

void TLumElement::InitPr() { runInit("InitPr", true); }

void TLumElement::AfterLoad() {
  RunEvent(event(EventSlot::AfterLoad), "Load");
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->AfterLoad();
}

void TLumElement::Process() {
  if (!Vis() && !MousedNotVis) return;
  RunEvent(event(EventSlot::Process), "Process");
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->Process();
}

void TLumElement::Show() {
  RunEvent(event(EventSlot::Show), "Show");
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->Show();
}

void TLumElement::Update() { RunEvent(event(EventSlot::Update), "Update"); }
void TLumElement::MouseIn() { RunEvent(event(EventSlot::MouseIn), "ms_In"); }
void TLumElement::MouseOut() { RunEvent(event(EventSlot::MouseOut), "ms_Out"); }
void TLumElement::MouseDown() { RunEvent(event(EventSlot::MouseDown), "ms_Down"); }
void TLumElement::MouseUp() { RunEvent(event(EventSlot::MouseUp), "ms_Up"); }
void TLumElement::MouseMove() { RunEvent(event(EventSlot::MouseMove), "ms_Move"); }

}  // namespace lum
