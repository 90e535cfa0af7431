#include "tools/lumf/game_check.h"

#include <unistd.h>

#include <map>
#include <set>

#include "library/engine/game_routines.h"
#include "platform/ascii_case.h"
#include "platform/ini_file.h"
#include "render/archive.h"
#include "render/fonts.h"
#include "scene/db.h"
#include "scene/game_file.h"
#include "scene/game_host.h"
#include "script/pool.h"
#include "script/scanner.h"
#include "script/tokens.h"
#include "shell/game_discovery.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

// Properties that name another element by its key, and the class it must
// be.
struct KeyReference {
  const char* className;
  const char* property;
  const char* target;
};
constexpr KeyReference kKeyReferences[] = {
    {"TLumDB", "InitScreen", "TLumScreen"},
    {"TLumDB", "LoadingScreen", "TLumScreen"},
    {"TLumExScreen", "obScreen", "TLumScreen"},
    {"TLumExAnim", "obAnim", "TLumAnim"},
};

// Routines whose one argument is a language or sound-list key; a key
// written as a literal is checked like a TextId.
enum class KeyKind { Language, Sound };
struct KeyRoutine {
  const char* upperName;
  KeyKind kind;
};
constexpr KeyRoutine kKeyRoutines[] = {
    {"GETTEXT", KeyKind::Language},
    {"PLAYSND", KeyKind::Sound},
    {"PLAYMUZ", KeyKind::Sound},
};

// The files of the Unicode font set: when the glyph table is there, the
// runner also reads the sheet and the texts.
constexpr const char* kUnicodeTable = "unicode\\unicode.fnt";
constexpr const char* kUnicodeNeeds[] = {"unicode\\unicode.png", "unicode\\unicode.lng"};
constexpr const char* kParticleSheet = "particles.bmp";
constexpr const char* kSoundFolder = "sounds\\";

// A folder that lives as long as the check: the game's save folder and
// error log go there, so checking writes nothing beside the game or in the
// player's data.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string name = (fs::temp_directory_path() / "lumf-check-XXXXXX").string();
    if (::mkdtemp(name.data())) path_ = name;
  }
  ~ScratchFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::optional<PropertyValue> property(const TLumElement& e, std::string_view name) {
  for (const PropertyDef& p : e.classInfo().properties) {
    if (p.name == name) return p.get(e);
  }
  return std::nullopt;
}

class Checker {
 public:
  // `stored` is the same game read without a runtime: its properties are
  // the names as the game file spells them (a running picture answers
  // with its cache key, in upper case).
  Checker(GameHost& host, const TLumDB& stored, std::vector<Finding>& out)
      : host_(host), root_(host.root()), stored_(stored), out_(out), cp_(host.services().codePage) {}

  void run() {
    collectLanguageFiles();
    walk(root_, stored_, {});
    checkKeys();
    checkRootFiles();
  }

 private:
  GameHost& host_;
  TLumDB& root_;
  const TLumDB& stored_;
  std::vector<Finding>& out_;
  const CodePage& cp_;
  std::map<int32_t, std::vector<std::pair<TLumElement*, ElementPlace>>> byKey_;
  std::vector<std::pair<std::string, IniFile>> languages_;  // name, texts
  std::set<std::string> calledRoutines_;                     // upper case
  bool hasEffects_ = false;

  const GameFolder& folder() const { return host_.services().folder; }
  TASDb& archive() const { return host_.services().archive; }

  bool inGame(const std::string& name) const {
    if (name.empty()) return false;
    if (folder().exists(name)) return true;
    return archive().ensureOpen() && archive().indexOf(upperAscii(name)) >= 0;
  }

  std::string utf8(const std::string& text) const { return cp_.toUtf8(text); }

  ElementPlace placeOf(const TLumElement& e, const std::vector<std::string>& parentPath) const {
    ElementPlace place;
    place.key = e.Key;
    place.id = utf8(e.Id);
    place.className = e.className();
    place.path = parentPath;
    place.path.push_back(place.id);
    return place;
  }

  void add(FindingKind kind, const ElementPlace& place, std::string message) {
    out_.push_back(Finding{kind, place, std::move(message)});
  }

  void collectLanguageFiles() {
    for (const FolderEntry& entry : folder().list("", "*.lng")) {
      if (entry.isFolder) continue;
      std::optional<std::string> bytes = folder().readFile(entry.name, IniFile::kMaxFileBytes);
      if (bytes) languages_.emplace_back(entry.name, IniFile::fromBytes(*bytes, cp_));
    }
  }

  void walk(TLumElement& e, const TLumElement& stored, const std::vector<std::string>& parentPath) {
    const ElementPlace place = placeOf(e, parentPath);
    byKey_[e.Key].emplace_back(&e, place);
    if (e.className() == "TLumEffect") hasEffects_ = true;
    for (const PropertyDef& p : stored.classInfo().properties) {
      if (p.kind != PropKind::String) continue;
      const std::string value = stringOf(p.get(stored));
      if (value.empty()) continue;
      const std::string upper = upperAscii(p.name);
      if (upper.rfind("EX", 0) == 0) {
        checkScript(place, p.name, value);
      } else if (upper.rfind("IM", 0) == 0) {
        const std::string file = value[0] == '*' ? value.substr(1) : value;
        if (!inGame(file)) add(FindingKind::MissingFile, place, "picture \"" + utf8(file) + "\" (" + p.name + ")");
      } else if (upper == "EFFECTFN") {
        if (!inGame(value)) add(FindingKind::MissingFile, place, "effect file \"" + utf8(value) + "\" (EffectFN)");
      } else if (upper == "FONT" && e.className() == "TLumText") {
        if (!host_.services().fonts.Find(value)) {
          add(FindingKind::MissingFile, place,
              "font \"" + utf8(value) + "\" is not in the font archive \"" + utf8(root_.FileFonts()) + "\"");
        }
      } else if (upper == "TEXTID") {
        checkLanguageKey(place, value, "TextId");
      }
    }
    for (size_t i = 0; i < e.childCount() && i < stored.childCount(); ++i) {
      walk(*e.child(i), *stored.child(i), place.path);
    }
  }

  void checkLanguageKey(const ElementPlace& place, const std::string& key, const std::string& where) {
    std::string section, name;
    if (!splitTextKey(key, section, name)) return;
    for (const auto& [file, texts] : languages_) {
      if (!texts.find(section, name)) {
        add(FindingKind::MissingLanguageKey, place,
            "\"" + utf8(key) + "\" (" + where + ") is not in " + utf8(file));
      }
    }
  }

  void checkScript(const ElementPlace& place, const std::string& event, const std::string& source) {
    InterpreterPool& pool = host_.services().pool;
    ScriptEnvironment& env = pool.Environment();
    const auto readInclude = env.readInclude;
    std::vector<std::string> missing;
    env.readInclude = [&](std::string_view name) {
      IncludeRead read = readInclude ? readInclude(name) : IncludeRead{};
      if (!read.text) missing.emplace_back(name);
      return read;
    };
    TPasCalc& calc = pool.Current();
    const PreparedScript prepared = calc.PrepareScript(source);
    env.readInclude = readInclude;
    if (calc.ErrorCode() != 0) {
      if (!missing.empty()) {
        add(FindingKind::MissingFile, place, "include file \"" + utf8(missing.back()) + "\" (" + event + ")");
      } else {
        add(FindingKind::ScriptNotPrepared, place, event + ": " + utf8(calc.ErrorMessage()));
      }
      return;
    }
    std::set<std::string> reported;
    auto scan = [&](const std::string& encoded) {
      const std::vector<Token> tokens = DecodeTokens(encoded);
      for (size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (tokens[i].code == tkLiteral) checkQuotedKey(place, event, tokens[i].text);
        if (tokens[i].code != tkIdentifier || tokens[i + 1].code != tkOpenParen) continue;
        const std::string name = upperAscii(tokens[i].text);
        calledRoutines_.insert(name);
        if (i + 3 < tokens.size() && tokens[i + 2].code == tkLiteral &&
            tokens[i + 3].code == tkCloseParen) {
          checkKeyArgument(place, event, name, tokens[i + 2].text);
        }
        const bool own = std::any_of(prepared.procedures.begin(), prepared.procedures.end(),
                                     [&](const auto& p) { return p->Name == name; });
        if (own || calc.Functions().Contains(name) || !reported.insert(name).second) continue;
        add(FindingKind::UnknownRoutine, place, event + ": " + utf8(tokens[i].text));
      }
      if (!tokens.empty() && tokens.back().code == tkLiteral) {
        checkQuotedKey(place, event, tokens.back().text);
      }
    };
    scan(prepared.mainText);
    for (const auto& proc : prepared.procedures) scan(proc->Body);
  }

  void checkKeyArgument(const ElementPlace& place, const std::string& event, const std::string& routine,
                        const std::string& literal) {
    if (literal.size() < 2 || literal.front() != literal.back() ||
        (literal.front() != '\'' && literal.front() != '"')) {
      return;
    }
    const std::string key = literal.substr(1, literal.size() - 2);
    for (const KeyRoutine& r : kKeyRoutines) {
      if (routine != r.upperName) continue;
      if (r.kind == KeyKind::Language) {
        checkLanguageKey(place, key, event + ", " + routine);
        continue;
      }
      std::string file;
      int32_t volume = 0;
      root_.SoundByKey(key, file, volume);
      if (!file.empty()) continue;
      add(FindingKind::MissingFile, place,
          "sound key \"" + utf8(key) + "\" (" + event + ", " + routine + ") " +
              (root_.SoundFile().empty() ? std::string("without a sound list")
                                         : "is not in the sound list " + utf8(root_.SoundFile())));
    }
  }

  // A text in double quotes is a language key: the interpreter replaces it
  // by the language text when there is one.
  void checkQuotedKey(const ElementPlace& place, const std::string& event, const std::string& literal) {
    if (literal.size() < 3 || literal.front() != '"' || literal.back() != '"') return;
    checkLanguageKey(place, literal.substr(1, literal.size() - 2), event);
  }

  void checkKeys() {
    for (const auto& [key, elements] : byKey_) {
      for (size_t i = 1; i < elements.size(); ++i) {
        add(FindingKind::DuplicateKey, elements[i].second,
            "key " + std::to_string(key) + " is also the key of " + elements[0].second.className +
                " \"" + elements[0].second.id + "\"");
      }
    }
    for (const auto& [key, elements] : byKey_) {
      for (const auto& [element, place] : elements) checkReferences(*element, place);
    }
  }

  void checkReferences(const TLumElement& e, const ElementPlace& place) {
    for (const KeyReference& ref : kKeyReferences) {
      if (e.className() != ref.className) continue;
      std::optional<PropertyValue> value = property(e, ref.property);
      if (!value) continue;
      const int64_t key = ordinalOf(*value);
      // No loading screen and no embedded screen or animation are choices.
      if (key == 0 && std::string_view(ref.property) != "InitScreen") continue;
      auto found = byKey_.find(static_cast<int32_t>(key));
      if (found == byKey_.end()) {
        add(FindingKind::BadReference, place,
            std::string(ref.property) + " " + std::to_string(key) + " names no element");
      } else if (found->second.front().second.className != ref.target) {
        const ElementPlace& target = found->second.front().second;
        add(FindingKind::BadReference, place,
            std::string(ref.property) + " " + std::to_string(key) + " names " + target.className +
                " \"" + target.id + "\", not a " + ref.target);
      }
    }
  }

  void checkRootFiles() {
    const ElementPlace root = placeOf(root_, {});
    auto need = [&](const std::string& name, const std::string& what) {
      if (!name.empty() && !inGame(name)) {
        add(FindingKind::MissingFile, root, what + " \"" + utf8(name) + "\"");
      }
    };
    // Language files, the sound list and the font archive are read from the
    // game folder only.
    auto needInFolder = [&](const std::string& name, const std::string& what) {
      if (name.empty() || folder().exists(name)) return true;
      add(FindingKind::MissingFile, root, what + " \"" + utf8(name) + "\"");
      return false;
    };
    needInFolder(root_.Lang(), "language file (Lang)");
    needInFolder(root_.DefLang(), "language file (DefLang)");
    needInFolder(root_.FileFonts(), "font archive (FileFonts)");
    if (!root_.SoundFile().empty() && needInFolder(root_.SoundFile(), "sound list (SoundFile)")) {
      checkSoundList(root);
    }
    if (folder().exists(kUnicodeTable)) {
      for (const char* file : kUnicodeNeeds) need(file, std::string("Unicode font set file"));
    }
    if (hasEffects_ || calledRoutines_.count("ADDSTAR")) need(kParticleSheet, "particle sheet");
  }

  void checkSoundList(const ElementPlace& root) {
    std::optional<std::string> bytes = folder().readFile(root_.SoundFile(), IniFile::kMaxFileBytes);
    if (!bytes) return;
    for (const IniEntry& entry : IniFile::fromBytes(*bytes, cp_).entries()) {
      std::string fileName;
      int32_t volume = 0;
      root_.SoundByKey(entry.section + "." + entry.key, fileName, volume);
      if (fileName.empty()) continue;
      const std::string path = kSoundFolder + fileName;
      const std::string upper = upperAscii(path);
      // The sound module also takes an Ogg Vorbis file of the same name.
      const std::string ogg = upper.substr(0, upper.size() >= 3 ? upper.size() - 3 : 0) + "OGG";
      if (inGame(path) || inGame(ogg)) continue;
      add(FindingKind::MissingFile, root,
          "sound \"" + utf8(path) + "\" (sound list " + utf8(root_.SoundFile()) + ", [" +
              utf8(entry.section) + "] " + utf8(entry.key) + ")");
    }
  }
};

}  // namespace

Result<std::vector<Finding>> checkGame(const fs::path& game, const CodePage& codePage) {
  Result<GameLocation> where = locateGameArgument(game, codePage);
  if (!where) return where.error();
  ScratchFolder scratch;
  if (scratch.path().empty()) return Error{"cannot make a temporary folder"};

  HostOptions options;
  options.folder = where->folder;
  options.codePage = codePage;
  options.userDataFolder = scratch.path();
  options.errorLogPath = (scratch.path() / "lumware.err").string();
  Result<std::unique_ptr<GameHost>> host = GameHost::Create(std::move(options), makeGameRoutines);
  if (!host) return host.error();
  if (Status loaded = (*host)->LoadGame(where->fileName); !loaded) return loaded.error();

  TLumDB stored;
  if (Status read = loadGameFile(stored, where->folder / where->fileName); !read) return read.error();
  std::vector<Finding> findings;
  Checker(**host, stored, findings).run();
  sortFindings(findings);
  return findings;
}

}  // namespace lum
