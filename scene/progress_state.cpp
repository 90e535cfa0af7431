#include "scene/progress_state.h"

#include <array>

#include "platform/ascii_case.h"
#include "scene/element.h"
#include "scene/progress_file.h"

namespace lum {
namespace {

// Published properties that never go to a progress file (upper case), and
// the prefix of event scripts, which are never saved either.
constexpr std::array<std::string_view, 8> kUnsavedProperties = {
    "NOTSAVE", "ID", "CURKEY", "FILERS", "INTERPOL", "INTERPOLSC", "MSKEEP", "KEY"};
constexpr std::string_view kEventPrefix = "EX";
// Classes whose real position rX, rY is saved instead of its rounded X, Y.
constexpr std::array<std::string_view, 3> kRealPositionClasses = {"TLumImage", "TLumShape",
                                                                  "TLumText"};
// Animation keys are rebuilt from the game file, never saved.
constexpr std::string_view kUnsavedClass = "TLumAnKey";
constexpr std::string_view kImageListClass = "TLumImList";
constexpr std::string_view kImageListItems = "ELEMENTS";

template <size_t N>
bool listed(const std::array<std::string_view, N>& list, std::string_view name) {
  for (std::string_view entry : list) {
    if (entry == name) return true;
  }
  return false;
}

bool savesProperty(const TLumElement& e, const std::string& upper) {
  if (listed(kUnsavedProperties, upper) || upper.rfind(kEventPrefix, 0) == 0) return false;
  if ((upper == "X" || upper == "Y") && listed(kRealPositionClasses, e.className())) return false;
  return true;
}

class ProgressWriter {
 public:
  explicit ProgressWriter(Runtime* runtime) : runtime_(runtime) {}

  void element(TLumElement& e) {
    if (e.className() == kUnsavedClass) return;
    if (!e.NotSave) {
      for (const PropertyDef& prop : e.classInfo().properties) {
        const std::string upper = upperAscii(prop.name);
        if (savesProperty(e, upper)) entry(e, upper);
      }
      if (const TVarList* vars = e.variables()) {
        std::vector<std::string> names;
        for (const TVar& var : vars->records()) names.push_back(upperAscii(var.Name));
        for (const std::string& name : names) entry(e, name);
      }
      if (e.className() == kImageListClass) entry(e, std::string(kImageListItems));
    }
    for (size_t i = 0; i < e.childCount(); ++i) element(*e.child(i));
  }

  std::string bytes;

 private:
  void entry(TLumElement& e, const std::string& name) {
    ScriptValue value;
    if (!e.GetValue(name, value)) return;
    appendProgressEntry(bytes, e.Key, name, value, [this](ElementRef ref) -> std::optional<int32_t> {
      const TLumElement* target = TLumElement::fromRef(runtime_, ref);
      if (!target) return std::nullopt;
      return target->Key;
    });
  }

  Runtime* runtime_;
};

TLumElement* nextSibling(TLumElement* e) {
  TLumElement* parent = e->parent();
  if (!parent) return nullptr;
  for (size_t i = 0; i + 1 < parent->childCount(); ++i) {
    if (parent->child(i) == e) return parent->child(i + 1);
  }
  return nullptr;
}

}  // namespace

std::string WriteProgress(TLumElement& root) {
  ProgressWriter writer(root.runtime());
  writer.element(root);
  return std::move(writer.bytes);
}

size_t ApplyProgress(TLumElement& root, std::string_view bytes) {
  ProgressReader reader(bytes);
  ProgressEntry entry;
  size_t count = 0;
  // Entries come in tree order, so the element is usually the previous
  // entry's or the sibling after it; a search from the root is the fallback.
  bool havePrevious = false;
  int32_t previousKey = 0;
  TLumElement* previous = nullptr;
  TLumElement* hint = nullptr;
  while (reader.next(entry)) {
    ++count;
    if (!entry.known) continue;
    TLumElement* target = nullptr;
    if (havePrevious && entry.key == previousKey) {
      target = previous;
    } else if (hint && hint->Key == entry.key) {
      target = hint;
      hint = nextSibling(hint);
    } else {
      hint = nullptr;
      target = root.FindByKey(entry.key, &hint);
    }
    havePrevious = true;
    previousKey = entry.key;
    previous = target;
    if (!target || target->NotSave) continue;

    ScriptValue value = entry.value;
    if (entry.tag == static_cast<uint8_t>(ProgressTag::Element)) {
      const auto key = static_cast<int32_t>(value.whole());
      const TLumElement* referenced = key == kNilElementKey ? nullptr : root.FindByKey(key);
      value = ScriptValue::Ref(referenced ? referenced->handle() : 0);
    }
    target->SetValue(entry.name, value);
  }
  return count;
}

}  // namespace lum
