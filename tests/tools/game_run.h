#pragma once
// Small games for end-to-end checks: built from JSON with lumf, played
// headless by lumrun or run by lumscript --game, and read back from the
// state dump.
#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include <nlohmann/json.hpp>

#include "tool_runner.h"

namespace lum::test {

using Json = nlohmann::ordered_json;

// Writes dir/game.json and builds dir/game.lumf from it; the tool's
// result (status 0 when built).
inline ToolResult buildGame(const std::filesystem::path& dir, const std::string& json) {
  writeFile(dir / "game.json", json);
  return runTool(lumfPath() + " build " + quoted(dir / "game.json") + " -o " +
                 quoted(dir / "game.lumf"));
}

// Plays the game of `dir` headless for `ticks` ticks with the user data
// folder `saveDir`, dumping the state to dir/state.json; `extra` holds
// further options.
inline ToolResult playHeadless(const std::filesystem::path& dir, int ticks,
                               const std::filesystem::path& saveDir,
                               const std::string& extra = "") {
  return runTool(lumrunPath() + " --headless --ticks " + std::to_string(ticks) + " --save-dir " +
                 quoted(saveDir) + " --dump-state " + quoted(dir / "state.json") + " " + extra +
                 " " + quoted(dir));
}

// The variables of the element with the key, as NAME -> [KIND, VALUE].
inline std::map<std::string, std::pair<std::string, std::string>> varsOf(const Json& node,
                                                                          int key) {
  std::map<std::string, std::pair<std::string, std::string>> out;
  if (node["properties"]["Key"] == key) {
    if (node.contains("vars")) {
      for (const Json& v : node["vars"]) out[v[0]] = {v[1], v[2]};
    }
    return out;
  }
  for (const Json& c : node["children"]) {
    auto found = varsOf(c, key);
    if (!found.empty()) return found;
  }
  return out;
}

// Every file below a folder (links not followed) with its contents, to
// show that nothing there changed.
inline std::map<std::string, std::string> folderContents(const std::filesystem::path& folder) {
  std::map<std::string, std::string> out;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_symlink()) {
      out[entry.path().lexically_relative(folder).string()] =
          "-> " + std::filesystem::read_symlink(entry.path()).string();
    } else if (entry.is_regular_file()) {
      out[entry.path().lexically_relative(folder).string()] = readFile(entry.path());
    }
  }
  return out;
}

inline std::map<std::string, std::pair<std::string, std::string>> varsAfterPlay(
    const std::filesystem::path& dir, int key) {
  return varsOf(Json::parse(readFile(dir / "state.json")), key);
}

}  // namespace lum::test
