#pragma once
// Published properties: each element class lists its properties in a fixed
// order (the order of the game file). The reader, the tools, the script paths
// and the progress file all walk the same table.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace lum {

class TLumElement;

// What a property holds, as declared by its class. The game file stores every
// ordinal kind as an int32 and both float kinds as a float64.
enum class PropKind : uint8_t {
  Int32,
  UInt32,
  UInt8,
  UInt16,
  Bool,
  Enum,
  Float64,
  Extended,
  String,
};

enum class StoredAs : uint8_t { Ordinal, Float, String };

constexpr StoredAs storedAs(PropKind kind) {
  switch (kind) {
    case PropKind::Float64:
    case PropKind::Extended:
      return StoredAs::Float;
    case PropKind::String:
      return StoredAs::String;
    default:
      return StoredAs::Ordinal;
  }
}

// A property value as it crosses the table: ordinals widened to 64 bits so
// that unsigned 32-bit values fit, floats as doubles, strings as 8-bit text.
using PropertyValue = std::variant<int64_t, double, std::string>;

// Cuts an int32 from a file down to the property's width, as an assignment
// to a narrower field does.
inline int64_t narrowOrdinal(PropKind kind, int64_t value) {
  // Positions and most other properties are Int32: before the table.
  if (kind == PropKind::Int32) return static_cast<int32_t>(static_cast<uint32_t>(value));
  switch (kind) {
    case PropKind::Int32:
      return static_cast<int32_t>(static_cast<uint32_t>(value));
    case PropKind::UInt32:
      return static_cast<uint32_t>(value);
    case PropKind::UInt8:
    case PropKind::Enum:
      return value & 0xFF;
    case PropKind::UInt16:
      return value & 0xFFFF;
    case PropKind::Bool:
      return (value & 0xFF) != 0 ? 1 : 0;
    default:
      return value;
  }
}

struct PropertyDef {
  std::string name;
  PropKind kind;
  std::vector<std::string> enumNames;  // value names of an enumeration
  std::function<PropertyValue(const TLumElement&)> get;
  std::function<void(TLumElement&, const PropertyValue&)> set;
  // For ordinal kinds, the same without the variant: scripts read and
  // write these in their loops. Empty for the other kinds.
  std::function<int64_t(const TLumElement&)> getOrdinal;
  std::function<void(TLumElement&, int64_t)> setOrdinal;
  // The same as plain functions, where the accessor needs no state; the
  // setter takes a value already narrowed to the kind.
  int64_t (*ordinalGetter)(const TLumElement&) = nullptr;
  void (*ordinalSetter)(TLumElement&, int64_t) = nullptr;
};

// Reading a PropertyValue as the kind a setter expects; a value of another
// storage kind reads as zero or empty.
int64_t ordinalOf(const PropertyValue& value);
double floatOf(const PropertyValue& value);
std::string stringOf(const PropertyValue& value);

// Table-building helpers. `field` binds a plain data member of class C;
// `accessor` binds a getter and a setter (for properties whose setter has
// effects or whose value is derived).
template <class C, class T>
PropertyDef field(std::string name, PropKind kind, T C::*member,
                  std::vector<std::string> enumNames = {}) {
  PropertyDef def{std::move(name), kind, std::move(enumNames), {}, {}, {}, {}, nullptr, nullptr};
  def.get = [member](const TLumElement& e) -> PropertyValue {
    const T& v = static_cast<const C&>(e).*member;
    if constexpr (std::is_same_v<T, std::string>) {
      return v;
    } else if constexpr (std::is_floating_point_v<T>) {
      return static_cast<double>(v);
    } else {
      return static_cast<int64_t>(v);
    }
  };
  def.set = [member, kind](TLumElement& e, const PropertyValue& value) {
    (void)kind;  // only ordinal members narrow by kind
    T& v = static_cast<C&>(e).*member;
    if constexpr (std::is_same_v<T, std::string>) {
      v = stringOf(value);
    } else if constexpr (std::is_floating_point_v<T>) {
      v = static_cast<T>(floatOf(value));
    } else if constexpr (std::is_same_v<T, bool>) {
      v = narrowOrdinal(kind, ordinalOf(value)) != 0;
    } else {
      v = static_cast<T>(narrowOrdinal(kind, ordinalOf(value)));
    }
  };
  if constexpr (!std::is_same_v<T, std::string> && !std::is_floating_point_v<T>) {
    if (storedAs(kind) == StoredAs::Ordinal) {
      def.getOrdinal = [member](const TLumElement& e) {
        return static_cast<int64_t>(static_cast<const C&>(e).*member);
      };
      def.setOrdinal = [member, kind](TLumElement& e, int64_t value) {
        T& v = static_cast<C&>(e).*member;
        if constexpr (std::is_same_v<T, bool>) {
          v = narrowOrdinal(kind, value) != 0;
        } else {
          v = static_cast<T>(narrowOrdinal(kind, value));
        }
      };
    }
  }
  return def;
}

// T is the value type the setter takes: std::string, double or int64_t.
template <class C, class T, class Get, class Set>
PropertyDef accessor(std::string name, PropKind kind, Get getter, Set setter,
                     std::vector<std::string> enumNames = {}) {
  PropertyDef def{std::move(name), kind, std::move(enumNames), {}, {}, {}, {}, nullptr, nullptr};
  def.get = [getter](const TLumElement& e) -> PropertyValue {
    return PropertyValue(static_cast<T>(getter(static_cast<const C&>(e))));
  };
  def.set = [setter, kind](TLumElement& e, const PropertyValue& value) {
    (void)kind;  // only ordinal setters narrow by kind
    C& c = static_cast<C&>(e);
    if constexpr (std::is_same_v<T, std::string>) {
      setter(c, stringOf(value));
    } else if constexpr (std::is_floating_point_v<T>) {
      setter(c, floatOf(value));
    } else {
      setter(c, narrowOrdinal(kind, ordinalOf(value)));
    }
  };
  if constexpr (!std::is_same_v<T, std::string> && !std::is_floating_point_v<T>) {
    if (storedAs(kind) == StoredAs::Ordinal) {
      def.getOrdinal = [getter](const TLumElement& e) {
        return static_cast<int64_t>(static_cast<T>(getter(static_cast<const C&>(e))));
      };
      def.setOrdinal = [setter, kind](TLumElement& e, int64_t value) {
        setter(static_cast<C&>(e), narrowOrdinal(kind, value));
      };
      if constexpr (std::is_default_constructible_v<Get>) {
        def.ordinalGetter = [](const TLumElement& e) {
          return static_cast<int64_t>(static_cast<T>(Get{}(static_cast<const C&>(e))));
        };
      }
      if constexpr (std::is_default_constructible_v<Set>) {
        // The kind is not at hand in a plain function: it is narrowed by
        // the caller (see narrowOrdinal).
        def.ordinalSetter = [](TLumElement& e, int64_t narrowed) {
          Set{}(static_cast<C&>(e), narrowed);
        };
      }
    }
  }
  return def;
}

// Value names shared by several classes.
const std::vector<std::string>& posHorNames();
const std::vector<std::string>& posVertNames();

}  // namespace lum
