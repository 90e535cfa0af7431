#include "scene/game_reader.h"

#include <cstring>

#include "platform/huge_pages.h"
#include "scene/db.h"
#include "scene/runtime.h"

namespace lum {
namespace {

// Little-endian reads that never run past the record they are given.
class RecordCursor {
 public:
  RecordCursor(std::string_view record, int64_t base) : data_(record), base_(base) {}

  bool atEnd() const { return pos_ >= data_.size(); }
  int64_t offset() const { return base_ + static_cast<int64_t>(pos_); }

  Result<int32_t> int32(const char* what) {
    if (data_.size() - pos_ < 4) return truncated(what, 4);
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(data_[pos_ + i]);
    pos_ += 4;
    return static_cast<int32_t>(v);
  }

  Result<double> float64(const char* what) {
    if (data_.size() - pos_ < 8) return truncated(what, 8);
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | static_cast<uint8_t>(data_[pos_ + i]);
    pos_ += 8;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }

  // A string: int32 byte count, then the bytes.
  Result<std::string_view> string(const char* what) {
    int64_t at = offset();
    Result<int32_t> n = int32(what);
    if (!n) return n.error();
    if (*n < 0) {
      return Error{"negative length " + std::to_string(*n) + " of " + what, at};
    }
    if (static_cast<size_t>(*n) > data_.size() - pos_) {
      return Error{std::string(what) + " of " + std::to_string(*n) +
                       " bytes runs past the end of its record",
                   at};
    }
    std::string_view s = data_.substr(pos_, static_cast<size_t>(*n));
    pos_ += static_cast<size_t>(*n);
    return s;
  }

 private:
  Error truncated(const char* what, size_t need) const {
    return Error{"file ends inside " + std::string(what) + " (" + std::to_string(need) +
                     " bytes needed, " + std::to_string(data_.size() - pos_) + " left)",
                 offset()};
  }

  std::string_view data_;
  int64_t base_;
  size_t pos_ = 0;
};

// The class a child record names: its length is the record's first byte and
// its characters start at byte 4.
Result<std::string_view> childClassName(std::string_view child, int64_t at) {
  if (child.size() < 4) return Error{"child record too short for a class name", at};
  size_t n = static_cast<uint8_t>(child[0]);
  if (child.size() - 4 < n) return Error{"class name runs past the end of its record", at};
  return child.substr(4, n);
}

// Walks one record. With a target the values are assigned and the children
// built; without one the record is only checked.
Status walkRecord(std::string_view record, int64_t base, const ClassInfo& info,
                  TLumElement* target, int depth, HugePageHeap* heap) {
  if (heap != nullptr) heap->Advise();
  if (depth > kMaxRecordDepth) {
    return Error{"elements nested deeper than " + std::to_string(kMaxRecordDepth) + " levels",
                 base};
  }
  RecordCursor in(record, base);
  if (auto name = in.string("class name"); !name) return name.error();
  int64_t countAt = in.offset();
  Result<int32_t> count = in.int32("value count");
  if (!count) return count.error();
  const size_t available = info.properties.size();
  if (*count < 0) {
    return Error{"negative value count " + std::to_string(*count) + " for " + info.name, countAt};
  }
  if (static_cast<size_t>(*count) > available) {
    return Error{"value count " + std::to_string(*count) + " exceeds the " +
                     std::to_string(available) + " properties of " + info.name,
                 countAt};
  }
  for (size_t i = 0; i < static_cast<size_t>(*count); ++i) {
    const PropertyDef& prop = info.properties[i];
    PropertyValue value;
    switch (storedAs(prop.kind)) {
      case StoredAs::Ordinal: {
        Result<int32_t> v = in.int32(prop.name.c_str());
        if (!v) return v.error();
        value = static_cast<int64_t>(*v);
        break;
      }
      case StoredAs::Float: {
        Result<double> v = in.float64(prop.name.c_str());
        if (!v) return v.error();
        value = *v;
        break;
      }
      case StoredAs::String: {
        Result<std::string_view> v = in.string(prop.name.c_str());
        if (!v) return v.error();
        value = std::string(*v);
        break;
      }
    }
    if (target) prop.set(*target, value);
  }
  while (!in.atEnd()) {
    int64_t childAt = in.offset() + 4;
    Result<std::string_view> child = in.string("child record");
    if (!child) return child.error();
    Result<std::string_view> name = childClassName(*child, childAt);
    if (!name) return name.error();
    const ClassInfo* childInfo = ClassRegistry::instance().find(*name);
    if (!childInfo || !childInfo->construct || !childInfo->mayBeChildOf(info.name)) continue;
    TLumElement* made = target ? TLumElement::createUnder(*childInfo, target) : nullptr;
    Status s = walkRecord(*child, childAt, *childInfo, made, depth + 1, heap);
    if (!s) return s;
  }
  return {};
}

}  // namespace

Status checkGameRecord(std::string_view bytes) {
  return walkRecord(bytes, 0, TLumDB::info(), nullptr, 0, nullptr);
}

Status loadGameRecord(TLumDB& root, std::string_view bytes) {
  Status checked = checkGameRecord(bytes);
  if (!checked) return checked;
  Runtime* rt = root.runtime();
  if (rt) rt->state.readingData = true;
  HugePageHeap heap;
  Status built = walkRecord(bytes, 0, TLumDB::info(), &root, 0, &heap);
  if (rt) rt->state.readingData = false;
  return built;
}

}  // namespace lum
