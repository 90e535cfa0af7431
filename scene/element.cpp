#include "scene/element.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "scene/db.h"
#include "scene/runtime.h"
#include "script/pool.h"

namespace lum {

TLumElement::~TLumElement() {
  // Children go first, last to first, so that none outlives its parent.
  while (!children_.empty()) children_.pop_back();
  if (table_) table_->Release(face_);
}

void TLumElement::registerHandle(ElementTable* table) {
  if (!table || table_) return;
  table_ = table;
  table->Register(face_);
}

TLumElement* TLumElement::fromScript(ScriptElement* element) {
  auto* face = dynamic_cast<ElementScriptFace*>(element);
  return face ? &face->element() : nullptr;
}

const ClassInfo& TLumElement::classInfo() const {
  static const ClassInfo info{"TLumElement", baseProperties(), {}, nullptr};
  return info;
}

Runtime* TLumElement::runtime() const { return root_ ? root_->runtime() : nullptr; }

TLumElement* TLumElement::createUnder(const ClassInfo& info, TLumElement* parent) {
  std::unique_ptr<TLumElement> made = info.construct();
  TLumElement* e = made.get();
  e->root_ = parent->root_;
  e->parent_ = parent;
  parent->children_.push_back(std::move(made));
  e->registerHandle(parent->table_);
  parent->noteNamesChanged();
  e->SetVis(true);
  e->MousedVis = true;
  return e;
}

TLumElement* TLumElement::CreateChild(std::string_view name) {
  const ClassInfo* info = ClassRegistry::instance().find(name);
  if (!info || !info->construct || !info->mayBeChildOf(className())) return nullptr;
  return createUnder(*info, this);
}

TLumElement* TLumElement::FindByKey(int32_t key, TLumElement** hint) {
  if (Key == key) return this;
  for (size_t i = 0; i < children_.size(); ++i) {
    TLumElement* found = children_[i]->FindByKey(key, hint);
    if (found) {
      if (hint && !*hint && i + 1 < children_.size()) *hint = children_[i + 1].get();
      return found;
    }
  }
  return nullptr;
}

TLumElement* TLumElement::FindByKey(int32_t key) { return FindByKey(key, nullptr); }

TLumElement* TLumElement::FindChildById(std::string_view name) const {
  for (const auto& c : children_) {
    if (sameUpperAscii(c->Id, name)) return c.get();
  }
  return nullptr;
}

void TLumElement::DestroyChild(TLumElement* child) {
  auto it = std::find_if(children_.begin(), children_.end(),
                         [child](const auto& c) { return c.get() == child; });
  if (it == children_.end()) return;
  std::unique_ptr<TLumElement> doomed = std::move(*it);
  children_.erase(it);
  noteNamesChanged();
}

void TLumElement::MoveChildToEnd(TLumElement* child) {
  auto it = std::find_if(children_.begin(), children_.end(),
                         [child](const auto& c) { return c.get() == child; });
  if (it == children_.end()) return;
  std::rotate(it, it + 1, children_.end());
  noteNamesChanged();
}

void TLumElement::DestroyChildren() {
  while (!children_.empty()) {
    std::unique_ptr<TLumElement> doomed = std::move(children_.back());
    children_.pop_back();
  }
  noteNamesChanged();
}

void TLumElement::ClearLoaded() {
  resourcesLoaded_ = false;
  for (auto& c : children_) c->ClearLoaded();
}


int32_t TLumElement::AbsX() const { return parent_ ? parent_->AbsX() + X() : X(); }
int32_t TLumElement::AbsY() const { return parent_ ? parent_->AbsY() + Y() : Y(); }

void TLumElement::SetOrder(int32_t value) {
  order_ = value;
  maxOrder_ = std::max(maxOrder_, value);
  minOrder_ = std::min(minOrder_, value);
  const TLumElement* child = this;
  for (TLumElement* p = parent_; p; child = p, p = p->parent_) {
    bool changed = false;
    if (p->maxOrder_ < child->maxOrder_) {
      p->maxOrder_ = child->maxOrder_;
      changed = true;
    }
    if (p->minOrder_ > child->minOrder_) {
      p->minOrder_ = child->minOrder_;
      changed = true;
    }
    if (!changed) break;
  }
}

void TLumElement::SetEvent(EventSlot slot, const std::string& source) {
  std::unique_ptr<ScriptText>& held = events_[static_cast<size_t>(slot)];
  if (!held) {
    if (source.empty()) {
      // Nothing to keep, but prepared all the same: preparing resets the
      // interpreter it runs on, as for any other script.
      ScriptText none;
      SetScriptText(none, source);
      return;
    }
    held = std::make_unique<ScriptText>();
  }
  SetScriptText(*held, source);
}

const ScriptText& TLumElement::NoScript() {
  static const ScriptText none;  // immutable: the script of an empty slot
  return none;
}

void TLumElement::SetScriptText(ScriptText& script, const std::string& source) {
  script.source = source;
  Runtime* rt = runtime();
  script.prepared = rt ? rt->services.pool.Current().PrepareScript(source) : PreparedScript{};
}

void TLumElement::reassignResourceProperties() {
  for (const PropertyDef& p : classInfo().properties) {
    std::string upper = upperAscii(p.name);
    if (upper.rfind("IM", 0) == 0 || upper == "FONT") p.set(*this, p.get(*this));
  }
}

void TLumElement::LoadResources() {
  if (resourcesLoaded_) return;
  reassignResourceProperties();
  resourcesLoaded_ = true;
  for (auto& c : children_) c->LoadResources();
}

void TLumElement::ReloadResources() {
  if (resourcesLoaded_) reassignResourceProperties();
  for (auto& c : children_) c->ReloadResources();
}

void TLumElement::Draw(int32_t layer, uint32_t tint, double originX, double originY) {
  if (!resourcesLoaded_) LoadResources();
  drawChildren(layer, tint, originX, originY);
}

void TLumElement::drawChildren(int32_t layer, uint32_t tint, double originX, double originY) {
  if (layer < minOrder_ || layer > maxOrder_) return;
  // By index: a child's drawing may run scripts that add elements.
  for (size_t i = 0; i < children_.size(); ++i) {
    TLumElement* c = children_[i].get();
    if (c->Vis()) c->Draw(layer, tint, originX + rX, originY + rY);
  }
}

TLumElement* TLumElement::HitTest(int32_t layer, int32_t x, int32_t y, int32_t margin,
                                  int32_t threshold) {
  if (!admittedToHitTest()) return nullptr;
  return hitTestChildren(layer, x, y, margin, threshold);
}

TLumElement* TLumElement::hitTestChildren(int32_t layer, int32_t x, int32_t y, int32_t margin,
                                          int32_t threshold) {
  if (layer < minOrder_ || layer > maxOrder_) return nullptr;
  for (size_t i = children_.size(); i-- > 0;) {
    TLumElement* hit = children_[i]->HitTest(layer, x - X(), y - Y(), margin, threshold);
    if (hit) return hit;
  }
  return nullptr;
}

}  // namespace lum
