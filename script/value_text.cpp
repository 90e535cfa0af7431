#include "script/value_text.h"

namespace lum {

std::string KindAndValue(const ScriptValue& value, const ElementTable& elements) {
  std::string out(KindName(value.kind()));
  out.push_back(':');
  switch (value.kind()) {
    case ValueKind::Empty: break;
    case ValueKind::Real:
    case ValueKind::DateTime: out += ShortestRealText(value.real()); break;
    case ValueKind::Boolean: out += value.boolean() ? "true" : "false"; break;
    case ValueKind::String: out += "'" + value.text() + "'"; break;
    case ValueKind::Ref: {
      const ScriptElement* e = elements.Resolve(value.ref());
      out += e != nullptr ? std::to_string(e->Key()) : "nil";
      break;
    }
    default: out += std::to_string(value.whole()); break;
  }
  return out;
}

}  // namespace lum
