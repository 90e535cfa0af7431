// The base element's published properties, and the base fields that the
// kinds republish by name in their own tables.
#include <array>

#include "scene/element.h"

namespace lum {
namespace {

struct EventName {
  const char* name;
  EventSlot slot;
};

// Published names of the base's event scripts.
constexpr std::array<EventName, kEventSlotCount> kEventNames{{
    {"exMouseMove", EventSlot::MouseMove},
    {"exInit", EventSlot::Init},
    {"exMouseUp", EventSlot::MouseUp},
    {"exVarRS", EventSlot::VarRS},
    {"exMouseOut", EventSlot::MouseOut},
    {"exMouseIn", EventSlot::MouseIn},
    {"exAfterLoad", EventSlot::AfterLoad},
    {"exMouseDown", EventSlot::MouseDown},
    {"exUpdate", EventSlot::Update},
    {"exProcess", EventSlot::Process},
    {"exShow", EventSlot::Show},
    {"exRender", EventSlot::Render},
}};

using E = TLumElement;

PropertyDef eventProperty(const EventName& ev) {
  EventSlot slot = ev.slot;
  return accessor<E, std::string>(
      ev.name, PropKind::String, [slot](const E& e) { return e.event(slot).source; },
      [slot](E& e, const std::string& v) { e.SetEvent(slot, v); });
}

}  // namespace

std::vector<PropertyDef> TLumElement::baseProperties() {
  return {
      field("Key", PropKind::Int32, &E::Key),
      accessor<E, std::string>(
          "Id", PropKind::String, [](const E& e) { return e.Id; },
          [](E& e, const std::string& v) { e.SetId(v); }),
      accessor<E, int64_t>(
          "X", PropKind::Int32, [](const E& e) { return e.X(); },
          [](E& e, int64_t v) { e.SetX(static_cast<int32_t>(v)); }),
      accessor<E, int64_t>(
          "Y", PropKind::Int32, [](const E& e) { return e.Y(); },
          [](E& e, int64_t v) { e.SetY(static_cast<int32_t>(v)); }),
      accessor<E, int64_t>(
          "Vis", PropKind::Bool, [](const E& e) { return e.Vis(); },
          [](E& e, int64_t v) { e.SetVis(v != 0); }),
  };
}

PropertyDef TLumElement::inherited(std::string_view name) {
  for (const EventName& ev : kEventNames) {
    if (name == ev.name) return eventProperty(ev);
  }
  if (name == "Order") {
    return accessor<E, int64_t>(
        "Order", PropKind::Int32, [](const E& e) { return e.Order(); },
        [](E& e, int64_t v) { e.SetOrder(static_cast<int32_t>(v)); });
  }
  if (name == "SizeX") {
    return accessor<E, int64_t>(
        "SizeX", PropKind::Int32, [](const E& e) { return e.SizeX(); },
        [](E& e, int64_t v) { e.SetSizeX(static_cast<int32_t>(v)); });
  }
  if (name == "SizeY") {
    return accessor<E, int64_t>(
        "SizeY", PropKind::Int32, [](const E& e) { return e.SizeY(); },
        [](E& e, int64_t v) { e.SetSizeY(static_cast<int32_t>(v)); });
  }
  if (name == "rX") return field("rX", PropKind::Float64, &E::rX);
  if (name == "rY") return field("rY", PropKind::Float64, &E::rY);
  if (name == "Tag") return field("Tag", PropKind::String, &E::Tag);
  if (name == "NotSave") return field("NotSave", PropKind::Bool, &E::NotSave);
  if (name == "MsKeep") return field("MsKeep", PropKind::Bool, &E::MsKeep);
  if (name == "MousedVis") return field("MousedVis", PropKind::Bool, &E::MousedVis);
  if (name == "MousedNotVis") return field("MousedNotVis", PropKind::Bool, &E::MousedNotVis);
  if (name == "NoMsLumDB") return field("NoMsLumDB", PropKind::Bool, &E::NoMsLumDB);
  if (name == "AutoInit") return field("AutoInit", PropKind::Bool, &E::AutoInit);
  // Only reached by a mistake in a class table; the property reads as empty.
  return accessor<E, std::string>(
      std::string(name), PropKind::String, [](const E&) { return std::string(); },
      [](E&, const std::string&) {});
}

}  // namespace lum
