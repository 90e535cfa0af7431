#include "shell/input_script.h"

#include <algorithm>
#include <sstream>

namespace lum {
namespace {

Error lineError(size_t line, const std::string& what) {
  return Error{"input line " + std::to_string(line) + ": " + what};
}

}  // namespace

Result<std::vector<InputEvent>> parseInputScript(const std::string& text) {
  std::vector<InputEvent> events;
  std::istringstream lines(text);
  std::string line;
  for (size_t number = 1; std::getline(lines, line); ++number) {
    if (size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    InputEvent e;
    std::string kind;
    if (!(words >> e.tick)) {
      std::string rest;
      if (std::istringstream(line) >> rest) return lineError(number, "expected a tick number");
      continue;  // blank or comment
    }
    if (!(words >> kind)) return lineError(number, "expected an event after the tick");
    if (kind == "mousemove" || kind == "mousedown" || kind == "mouseup") {
      e.kind = kind == "mousemove" ? InputEvent::Kind::MouseMove
               : kind == "mousedown" ? InputEvent::Kind::MouseDown
                                     : InputEvent::Kind::MouseUp;
      if (!(words >> e.x >> e.y)) return lineError(number, kind + " needs X and Y");
    } else if (kind == "key" || kind == "char") {
      e.kind = kind == "key" ? InputEvent::Kind::Key : InputEvent::Kind::Char;
      if (!(words >> e.x) || e.x < 0) return lineError(number, kind + " needs a code");
      std::string flag;
      if (words >> flag) {
        if (kind != "key" || flag != "alt") return lineError(number, "unexpected " + flag);
        e.alt = true;
      }
    } else if (kind == "deactivate" || kind == "activate") {
      e.kind = kind == "deactivate" ? InputEvent::Kind::Deactivate : InputEvent::Kind::Activate;
    } else {
      return lineError(number, "unknown event " + kind);
    }
    std::string extra;
    if (words >> extra) return lineError(number, "unexpected " + extra);
    events.push_back(e);
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const InputEvent& a, const InputEvent& b) { return a.tick < b.tick; });
  return events;
}

}  // namespace lum
