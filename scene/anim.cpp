#include "scene/anim.h"

namespace lum {
namespace {

template <class C, ScriptText C::*Member>
PropertyDef ownScript(const char* name) {
  return accessor<C, std::string>(
      name, PropKind::String, [](const C& c) { return (c.*Member).source; },
      [](C& c, const std::string& v) { c.SetScriptText(c.*Member, v); });
}

}  // namespace

const ClassInfo& TLumAnim::info() {
  using A = TLumAnim;
  static const ClassInfo table = [] {
    ClassInfo c{"TLumAnim",
                baseProperties(),
                {"TLumDB", "TLumScreen", "TLumImage", "TLumShape"},
                [] { return std::unique_ptr<TLumElement>(new TLumAnim()); }};
    auto& p = c.properties;
    p.push_back(accessor<A, std::string>(
        "ImBack", PropKind::String, [](const A& a) { return a.ImBack(); },
        [](A& a, const std::string& v) { a.SetImBack(v); }));
    p.push_back(inherited("SizeX"));
    p.push_back(inherited("SizeY"));
    p.push_back(field("hxDrawFx", PropKind::UInt32, &A::hxDrawFx));
    p.push_back(field("Agro", PropKind::Int32, &A::Agro));
    p.push_back(field("Modal", PropKind::Bool, &A::Modal));
    p.push_back(accessor<A, int64_t>(
        "Pos", PropKind::Int32, [](const A& a) { return a.Pos(); },
        [](A& a, int64_t v) { a.SetPosition(static_cast<int32_t>(v)); }));
    p.push_back(accessor<A, int64_t>(
        "Morph", PropKind::Bool, [](const A& a) { return a.Morph(); },
        [](A& a, int64_t v) { a.SetMorph(v != 0); }));
    p.push_back(field("Rep", PropKind::Bool, &A::Rep));
    p.push_back(field("ShowAn", PropKind::Bool, &A::ShowAn));
    p.push_back(field("Active", PropKind::Bool, &A::Active));
    p.push_back(ownScript<A, &A::exStop>("exStop"));
    p.push_back(ownScript<A, &A::exStart>("exStart"));
    p.push_back(ownScript<A, &A::exAnim>("exAnim"));
    for (const char* name : {"exInit", "exUpdate", "Order"}) p.push_back(inherited(name));
    p.push_back(field("Angle", PropKind::Extended, &A::Angle));
    p.push_back(inherited("exVarRS"));
    p.push_back(field("Interpol", PropKind::Bool, &A::Interpol));
    for (const char* name : {"Tag", "NotSave", "exProcess"}) p.push_back(inherited(name));
    return c;
  }();
  return table;
}

const ClassInfo& TLumAnKey::info() {
  using K = TLumAnKey;
  static const ClassInfo table = [] {
    ClassInfo c{"TLumAnKey", baseProperties(), {"TLumAnim"}, [] {
                  return std::unique_ptr<TLumElement>(new TLumAnKey());
                }};
    c.properties.push_back(accessor<K, int64_t>(
        "Count", PropKind::UInt16, [](const K& k) { return k.Count(); },
        [](K& k, int64_t v) { k.SetCount(static_cast<uint16_t>(v)); }));
    c.properties.push_back(field("Morph", PropKind::Bool, &K::Morph));
    c.properties.push_back(inherited("NotSave"));
    return c;
  }();
  return table;
}

const ClassInfo& TLumExAnim::info() {
  using X = TLumExAnim;
  static const ClassInfo table = [] {
    ClassInfo c{"TLumExAnim", baseProperties(), {"TLumScreen", "TLumImage", "TLumShape"}, [] {
                  return std::unique_ptr<TLumElement>(new TLumExAnim());
                }};
    auto& p = c.properties;
    p.push_back(field("PosHor", PropKind::Enum, &X::PosHor, posHorNames()));
    p.push_back(field("PosVert", PropKind::Enum, &X::PosVert, posVertNames()));
    p.push_back(accessor<X, int64_t>(
        "obAnim", PropKind::Int32, [](const X& x) { return x.obAnim(); },
        [](X& x, int64_t v) { x.SetObAnim(static_cast<int32_t>(v)); }));
    p.push_back(accessor<X, int64_t>(
        "Pos", PropKind::Int32, [](const X& x) { return x.Pos(); },
        [](X& x, int64_t v) { x.SetPosition(static_cast<int32_t>(v)); }));
    p.push_back(field("Rep", PropKind::Bool, &X::Rep));
    p.push_back(field("Active", PropKind::Bool, &X::Active));
    for (const char* name : {"exVarRS", "Tag", "NotSave"}) p.push_back(inherited(name));
    return c;
  }();
  return table;
}

}  // namespace lum
