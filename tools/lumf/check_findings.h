#pragma once
// What `lumf check` finds in a game: the kinds of finding in the order they
// are reported, the element each one belongs to, and the two ways of
// printing them (text for people, JSON for tools).
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace lum {

enum class FindingKind : uint8_t {
  MissingFile,
  ScriptNotPrepared,
  UnknownRoutine,
  BadReference,
  DuplicateKey,
  MissingLanguageKey,
};

struct FindingKindInfo {
  FindingKind kind;
  const char* id;       // in JSON
  const char* heading;  // in text
};

// Every kind, in report order.
const std::vector<FindingKindInfo>& findingKinds();

// The element a finding belongs to (UTF-8 texts).
struct ElementPlace {
  int32_t key = 0;
  std::string id;
  std::string className;
  std::vector<std::string> path;  // Ids from the root down to the element
};

struct Finding {
  FindingKind kind;
  ElementPlace element;
  std::string message;  // UTF-8, one line
};

// Grouped by kind in report order, then by path, key and message.
void sortFindings(std::vector<Finding>& findings);

void writeFindingsText(std::ostream& out, const std::string& game,
                       const std::vector<Finding>& sorted);
void writeFindingsJson(std::ostream& out, const std::string& game,
                       const std::vector<Finding>& sorted);

}  // namespace lum
