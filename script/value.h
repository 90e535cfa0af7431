#pragma once
// The interpreter's dynamically typed value. Every kind stays distinct
// because routines compare kinds (Max of 1 and 2.5 fails, NOT gives a byte).
#include <cstdint>
#include <string>
#include <string_view>

namespace lum {

// 32-bit element handle; 0 is NIL. See element.h for the slot table.
using ElementRef = uint32_t;

enum class ValueKind : uint8_t {
  Empty,
  Integer,   // 32-bit signed
  ShortInt,  // 8-bit signed
  Byte,      // 8-bit unsigned
  Word,      // 16-bit unsigned
  Ref,       // ElementRef
  Int64,
  Real,
  DateTime,  // days since 30 December 1899
  Boolean,
  String,
};

// Short kind name as the lumscript tool prints it ("int", "str", ...).
std::string_view KindName(ValueKind kind);

// 16 bytes: the kind and a number, or a pointer to shared immutable text
// (copies share it; a change to a shared text copies it first).
class ScriptValue {
 public:
  ScriptValue() = default;
  ScriptValue(const ScriptValue& other) : kind_(other.kind_), whole_(other.whole_) {
    if (kind_ == ValueKind::String) ++text_->refs;
  }
  ScriptValue(ScriptValue&& other) noexcept : kind_(other.kind_), whole_(other.whole_) {
    other.kind_ = ValueKind::Empty;
    other.whole_ = 0;
  }
  ScriptValue& operator=(const ScriptValue& other) {
    if (other.kind_ == ValueKind::String) ++other.text_->refs;
    Release();
    kind_ = other.kind_;
    whole_ = other.whole_;
    return *this;
  }
  ScriptValue& operator=(ScriptValue&& other) noexcept {
    if (this != &other) {
      Release();
      kind_ = other.kind_;
      whole_ = other.whole_;
      other.kind_ = ValueKind::Empty;
      other.whole_ = 0;
    }
    return *this;
  }
  ~ScriptValue() { Release(); }

  static ScriptValue Integer(int32_t v) { return Whole(ValueKind::Integer, v); }
  // The same as assigning Integer(v), without the temporary: loop counters
  // and integer results are set this way on every pass.
  void SetInteger(int32_t v) {
    Release();
    kind_ = ValueKind::Integer;
    whole_ = v;
  }
  void SetReal(double v) {
    Release();
    kind_ = ValueKind::Real;
    real_ = v;
  }
  static ScriptValue ShortInt(int8_t v) { return Whole(ValueKind::ShortInt, v); }
  static ScriptValue Byte(uint8_t v) { return Whole(ValueKind::Byte, v); }
  static ScriptValue Word(uint16_t v) { return Whole(ValueKind::Word, v); }
  static ScriptValue Ref(ElementRef v) { return Whole(ValueKind::Ref, v); }
  static ScriptValue Int64(int64_t v) { return Whole(ValueKind::Int64, v); }
  static ScriptValue Real(double v) { return Float(ValueKind::Real, v); }
  static ScriptValue DateTime(double v) { return Float(ValueKind::DateTime, v); }
  static ScriptValue Boolean(bool v) { return Whole(ValueKind::Boolean, v ? 1 : 0); }
  static ScriptValue String(std::string v) {
    ScriptValue r;
    r.kind_ = ValueKind::String;
    r.text_ = new SharedText{1, std::move(v)};
    return r;
  }

  ValueKind kind() const { return kind_; }
  bool IsEmpty() const { return kind_ == ValueKind::Empty; }
  bool IsStringLike() const { return kind_ == ValueKind::String; }
  bool IsWhole() const;  // any integer kind, reference or boolean
  bool IsFloat() const { return kind_ == ValueKind::Real || kind_ == ValueKind::DateTime; }

  // Raw access; valid only for the matching kind family.
  int64_t whole() const { return whole_; }
  double real() const { return real_; }
  bool boolean() const { return whole_ != 0; }
  ElementRef ref() const { return static_cast<ElementRef>(whole_); }
  // The text of a string; empty for every other kind.
  const std::string& text() const { return kind_ == ValueKind::String ? text_->text : EmptyText(); }
  // The text of a string for changing in place (copied first when shared);
  // a value of another kind becomes an empty string.
  std::string& MutableText();
  // True when no other value shares this string's text.
  bool OwnsText() const { return kind_ == ValueKind::String && text_->refs == 1; }

  bool operator==(const ScriptValue& other) const;

 private:
  struct SharedText {
    uint32_t refs;
    std::string text;
  };
  static const std::string& EmptyText();
  void Release() {
    if (kind_ == ValueKind::String && --text_->refs == 0) delete text_;
  }
  static ScriptValue Whole(ValueKind k, int64_t v) {
    ScriptValue r;
    r.kind_ = k;
    r.whole_ = v;
    return r;
  }
  static ScriptValue Float(ValueKind k, double v) {
    ScriptValue r;
    r.kind_ = k;
    r.real_ = v;
    return r;
  }

  ValueKind kind_ = ValueKind::Empty;
  union {
    int64_t whole_ = 0;
    double real_;
    SharedText* text_;
  };
};
static_assert(sizeof(ScriptValue) == 16);

// Conversions between kinds. Each returns false when the value cannot be
// converted (a string that is no number, a number out of range); the
// callers turn that into their own script error.
bool ToInt32(const ScriptValue& v, int32_t& out);
bool ToInt64(const ScriptValue& v, int64_t& out);
bool ToReal(const ScriptValue& v, double& out);
bool ToBooleanOther(const ScriptValue& v, bool& out);
inline bool ToBoolean(const ScriptValue& v, bool& out) {
  if (v.kind() != ValueKind::Boolean) return ToBooleanOther(v, out);
  out = v.boolean();
  return true;
}
bool ToText(const ScriptValue& v, std::string& out);

// Plain decimal numbers as strings hold them: optional sign, digits, an
// optional fraction after '.', an optional exponent; blanks around allowed.
bool ParseDecimalReal(std::string_view text, double& out);
bool ParseDecimalInteger(std::string_view text, int64_t& out);

// Shortest text that reads back as the same double ("3.5", "1e+20").
std::string ShortestRealText(double v);

// Rounds to the nearest integer, halves to the even neighbour.
bool RoundToInt64(double v, int64_t& out);

}  // namespace lum
