// An embedding element forwards its events to the screen it embeds.
#include "scene/screen.h"

namespace lum {

ForwardGuard::ForwardGuard(TLumExScreen& e) : e_(e), was_(e.forwarding_) { e.forwarding_ = true; }
ForwardGuard::~ForwardGuard() { e_.forwarding_ = was_; }

TLumScreen* TLumExScreen::forwardTarget() { return forwarding_ ? nullptr : embedded(); }

void TLumExScreen::Init() {
  if (initialised) return;
  TLumScreen* s = forwardTarget();
  ForwardGuard guard(*this);
  if (s) s->Init();
  TLumElement::Init();
}

void TLumExScreen::InitPr() {
  TLumScreen* s = forwardTarget();
  ForwardGuard guard(*this);
  if (s) s->InitPr();
  TLumElement::InitPr();
}

void TLumExScreen::LoadResources() {
  if (resourcesLoaded()) return;
  TLumElement::LoadResources();
  TLumScreen* s = forwardTarget();
  ForwardGuard guard(*this);
  if (s) s->LoadResources();
}

void TLumExScreen::ReloadResources() {
  TLumElement::ReloadResources();
  TLumScreen* s = forwardTarget();
  ForwardGuard guard(*this);
  if (s) s->ReloadResources();
}

void TLumExScreen::Update() {
  TLumScreen* s = forwardTarget();
  ForwardGuard guard(*this);
  if (s) s->Update();
  TLumElement::Update();
}

void TLumExScreen::Show() {
  screen_ = nullptr;
  TLumScreen* s = forwardTarget();
  ForwardGuard guard(*this);
  if (s) s->Show();
  TLumElement::Show();
}

void TLumExScreen::Process() {
  if (!Vis() && !MousedNotVis) return;
  TLumScreen* s = Processing ? forwardTarget() : nullptr;
  ForwardGuard guard(*this);
  if (s) s->Process();
  TLumElement::Process();
}

void TLumExScreen::SetVis(bool value) {
  if (value == Vis()) return;
  TLumElement::SetVis(value);
  if (!value || !root() || !parent()) return;
  if (TLumScreen* s = forwardTarget()) {
    Show();
    ForwardGuard guard(*this);
    s->Show();
  }
}

}  // namespace lum
