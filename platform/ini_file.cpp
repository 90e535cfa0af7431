#include "platform/ini_file.h"

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <algorithm>
#include <system_error>

#include "platform/file_ops.h"
#include "platform/game_folder.h"
#include "platform/ini_text.h"
#include "platform/utf.h"

namespace lum {

struct IniFile::Document {
  // Duplicate keys are all kept so that look-ups can take the first one.
  CSimpleIniA ini{false, true, false};
  std::string trailer;  // comments after the last entry, kept on rewriting

  Document() {
    ini.SetSpaces(false);
    ini.SetQuotes(false);
  }
};

IniFile::IniFile(std::optional<std::filesystem::path> path, CodePage codePage)
    : path_(std::move(path)),
      codePage_(std::move(codePage)),
      document_(std::make_unique<Document>()) {}

IniFile::IniFile(IniFile&&) noexcept = default;
IniFile& IniFile::operator=(IniFile&&) noexcept = default;
IniFile::~IniFile() = default;

IniFile IniFile::open(std::filesystem::path path, CodePage codePage) {
  IniFile file(std::move(path), std::move(codePage));
  file.load();
  return file;
}

IniFile IniFile::fromBytes(std::string_view bytes, CodePage codePage) {
  IniFile file(std::nullopt, std::move(codePage));
  file.parse(bytes);
  return file;
}

IniFile::Snapshot IniFile::snapshot() const {
  Snapshot state;
  std::error_code error;
  state.exists = std::filesystem::exists(*path_, error);
  if (state.exists) {
    state.size = std::filesystem::file_size(*path_, error);
    state.modified = std::filesystem::last_write_time(*path_, error);
  }
  return state;
}

void IniFile::load() const {
  seen_ = snapshot();
  notWritable_.reset();
  if (!seen_.exists) {
    parse({});
    return;
  }
  auto bytes = readFileBytes(*path_, kMaxFileBytes);
  if (!bytes) {
    notWritable_ = bytes.error().text();
    parse({});
    return;
  }
  parse(bytes.value());
}

void IniFile::reloadIfChanged() const {
  if (path_ && snapshot() != seen_) load();
}

void IniFile::parse(std::string_view bytes) const {
  DecodedIniText text = decodeIniText(bytes);
  encoding_ = text.encoding;
  if (text.bytes.find('\0') != std::string::npos) {
    // The parser stops at the first NUL; rewriting would drop the rest.
    if (path_) notWritable_ = "\"" + path_->string() + "\" is not a text file";
  }
  document_ = std::make_unique<Document>();
  document_->ini.LoadData(text.bytes.data(), text.bytes.size());
  document_->trailer = trailingComments(text.bytes);
}

std::string IniFile::toStored(std::string_view bytes) const {
  return encoding_ == IniEncoding::CodePage ? std::string(bytes) : codePage_.toUtf8(bytes);
}

std::string IniFile::fromStored(std::string_view stored) const {
  return encoding_ == IniEncoding::CodePage ? std::string(stored) : codePage_.fromUtf8(stored);
}

std::optional<std::string> IniFile::findStored(std::string_view section,
                                               std::string_view key) const {
  reloadIfChanged();
  const std::string storedSection = toStored(section);
  const std::string storedKey = toStored(key);
  const char* value = document_->ini.GetValue(storedSection.c_str(), storedKey.c_str(), nullptr);
  if (!value) return std::nullopt;
  return std::string(stripProfileQuotes(value));
}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const {
  auto stored = findStored(section, key);
  if (!stored) return std::nullopt;
  return fromStored(*stored);
}

std::vector<IniEntry> IniFile::entries() const {
  reloadIfChanged();
  std::vector<IniEntry> out;
  CSimpleIniA::TNamesDepend sections;
  document_->ini.GetAllSections(sections);
  sections.sort(CSimpleIniA::Entry::LoadOrder());
  for (const auto& section : sections) {
    CSimpleIniA::TNamesDepend keys;
    document_->ini.GetAllKeys(section.pItem, keys);
    keys.sort(CSimpleIniA::Entry::LoadOrder());
    for (const auto& key : keys) {
      const char* value = document_->ini.GetValue(section.pItem, key.pItem, nullptr);
      if (!value) continue;
      out.push_back(IniEntry{fromStored(section.pItem), fromStored(key.pItem),
                             fromStored(std::string(stripProfileQuotes(value)))});
    }
  }
  return out;
}

std::string IniFile::getString(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
  auto value = find(section, key);
  return value ? *value : std::string(fallback);
}

int32_t IniFile::getInt(std::string_view section, std::string_view key, int32_t fallback) const {
  auto value = findStored(section, key);
  if (!value || value->empty()) return fallback;
  return parseProfileInt(*value);
}

std::u16string IniFile::getWide(std::string_view section, std::string_view key,
                                std::u16string_view fallback) const {
  auto stored = findStored(section, key);
  if (!stored) return std::u16string(fallback);
  return encoding_ == IniEncoding::CodePage ? codePage_.toUtf16(*stored) : utf8ToUtf16(*stored);
}

Status IniFile::setString(std::string_view section, std::string_view key, std::string_view value) {
  if (path_) reloadIfChanged();
  return store(section, key, toStored(value));
}

Status IniFile::setWide(std::string_view section, std::string_view key, std::u16string_view value) {
  if (path_) reloadIfChanged();
  return store(
      section, key,
      encoding_ == IniEncoding::CodePage ? codePage_.fromUtf16(value) : utf16ToUtf8(value));
}

Status IniFile::store(std::string_view section, std::string_view key, std::string storedValue) {
  if (auto problem = checkProfileName(section, key)) return Error{*problem};
  const std::string storedSection = toStored(section);
  const std::string storedKey = toStored(key);
  const std::string value = flattenProfileValue(storedValue);
  if (notWritable_) return Error{"not writing settings: " + *notWritable_};
  if (document_->ini.SetValue(storedSection.c_str(), storedKey.c_str(), value.c_str(), nullptr,
                              true) < 0) {
    return Error{"out of memory while changing settings"};
  }
  if (!path_) return {};
  std::string text;
  if (document_->ini.Save(text, false) < 0) return Error{"cannot format settings"};
  if (!document_->trailer.empty()) text += "\n" + document_->trailer;
  Status written = writeFileAtomically(*path_, encodeIniText(text, encoding_));
  // Even when the disk refused, the new value stays in memory for this run.
  if (written) seen_ = snapshot();
  return written;
}

std::optional<std::filesystem::path> locateIniFile(
    std::string_view name, const std::vector<std::filesystem::path>& folders,
    const CodePage& codePage) {
  for (const auto& folder : folders) {
    GameFolder candidates(folder, codePage);
    if (candidates.exists(name)) return candidates.resolve(name);
  }
  return std::nullopt;
}

}  // namespace lum
