#include "tools/lumf/check_findings.h"

#include <algorithm>
#include <tuple>

#include <nlohmann/json.hpp>

namespace lum {

const std::vector<FindingKindInfo>& findingKinds() {
  static const std::vector<FindingKindInfo> kinds = {
      {FindingKind::MissingFile, "missing-file", "missing files"},
      {FindingKind::ScriptNotPrepared, "script-not-prepared", "scripts that do not prepare"},
      {FindingKind::UnknownRoutine, "unknown-routine", "calls of unknown routines"},
      {FindingKind::BadReference, "bad-reference", "references to no element or the wrong kind"},
      {FindingKind::DuplicateKey, "duplicate-key", "duplicate keys"},
      {FindingKind::MissingLanguageKey, "missing-language-key", "language keys missing"},
  };
  return kinds;
}

namespace {

const FindingKindInfo& infoOf(FindingKind kind) {
  for (const FindingKindInfo& info : findingKinds()) {
    if (info.kind == kind) return info;
  }
  return findingKinds().front();
}

std::string joinedPath(const ElementPlace& place) {
  std::string out;
  for (const std::string& id : place.path) out += (out.empty() ? "" : "/") + id;
  return out;
}

}  // namespace

void sortFindings(std::vector<Finding>& findings) {
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    return std::tie(a.kind, a.element.path, a.element.key, a.message) <
           std::tie(b.kind, b.element.path, b.element.key, b.message);
  });
}

void writeFindingsText(std::ostream& out, const std::string& game,
                       const std::vector<Finding>& sorted) {
  if (sorted.empty()) {
    out << game << ": no findings\n";
    return;
  }
  for (const FindingKindInfo& info : findingKinds()) {
    const auto count = std::count_if(sorted.begin(), sorted.end(),
                                     [&](const Finding& f) { return f.kind == info.kind; });
    if (count == 0) continue;
    out << info.heading << " (" << count << "):\n";
    for (const Finding& f : sorted) {
      if (f.kind != info.kind) continue;
      out << "  " << f.message << "\n    at key " << f.element.key << " \"" << f.element.id
          << "\" " << f.element.className << " " << joinedPath(f.element) << '\n';
    }
  }
  out << game << ": " << sorted.size() << (sorted.size() == 1 ? " finding\n" : " findings\n");
}

void writeFindingsJson(std::ostream& out, const std::string& game,
                       const std::vector<Finding>& sorted) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const Finding& f : sorted) {
    list.push_back({{"kind", infoOf(f.kind).id},
                    {"key", f.element.key},
                    {"id", f.element.id},
                    {"class", f.element.className},
                    {"path", f.element.path},
                    {"message", f.message}});
  }
  nlohmann::ordered_json doc = {{"game", game}, {"findings", list}};
  out << doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

}  // namespace lum
