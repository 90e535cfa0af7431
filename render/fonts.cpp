#include "render/fonts.h"

#include <cstdio>
#include <map>
#include <tuple>

#include "render/archive.h"

namespace lum {

namespace {
bool equalsAsciiNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = char(x - 32);
    if (y >= 'a' && y <= 'z') y = char(y - 32);
    if (x != y) return false;
  }
  return true;
}
}  // namespace

TAsphyreFonts::~TAsphyreFonts() { Clear(); }

void TAsphyreFonts::Clear() {
  fonts_.clear();
  textureBytes_ = 0;
}

TAsphyreFont* TAsphyreFonts::Add() {
  auto font = std::make_unique<TAsphyreFont>(this);
  char name[24];
  std::snprintf(name, sizeof name, "Font%02d", counter_++);
  font->Name = name;
  fonts_.push_back(std::move(font));
  return fonts_.back().get();
}

TAsphyreFont* TAsphyreFonts::Find(std::string_view name) const {
  for (const auto& f : fonts_)
    if (equalsAsciiNoCase(f->Name, name)) return f.get();
  return nullptr;
}

TAsphyreFont* TAsphyreFonts::Item(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return fonts_[size_t(index)].get();
}

bool TAsphyreFonts::LoadFromASDb(TASDb& archive) {
  if (!archive.ensureOpen()) return false;
  // The font loaded first from each record (by where the record lies and
  // how it was loaded), for the later entries that name the same record.
  std::map<std::tuple<uint32_t, TAsphyreQuality, TAlphaLevel>, const TAsphyreFont*> loaded;
  for (int i = 0; i < archive.recordCount(); ++i) {
    if (archive.recordType(i) != kArchiveFontRecordType) continue;
    bool accept = true;
    TAsphyreQuality quality = TAsphyreQuality::aqHigh;
    TAlphaLevel alpha = TAlphaLevel::alFull;
    const std::string key = archive.recordKey(i);
    std::string name = key;
    if (OnASDbLoad) OnASDbLoad(name, accept, quality, alpha);
    if (!accept) continue;
    TAsphyreFont* font = Add();
    // A font is loaded by its key, which names the first entry of that key.
    const int index = archive.indexOf(key);
    if (index < 0 || archive.recordType(index) != kArchiveFontRecordType) return false;
    const auto record = std::make_tuple(archive.entries()[size_t(index)].offset, quality, alpha);
    const auto same = loaded.find(record);
    if (same != loaded.end() ? !font->ShareFace(*same->second)
                             : !loadRecord(*font, archive, index, quality, alpha))
      return false;
    loaded.emplace(record, font);
    font->Name = name;
  }
  return true;
}

bool TAsphyreFonts::loadRecord(TAsphyreFont& font, TASDb& archive, int index,
                               TAsphyreQuality quality, TAlphaLevel alpha) {
  auto body = archive.readRecordAt(index);
  if (!body) return false;
  auto record = decodeFontRecord(*body);
  if (!record) return false;
  const uint64_t bytes = archiveImageTextureBytes(record->sheet);
  if (bytes > TextureBudget || textureBytes_ > TextureBudget - bytes) return false;
  if (!font.LoadFromRecord(*record, quality, alpha)) return false;
  textureBytes_ += font.Face()->textureBytes();
  return true;
}

bool TAsphyreFonts::HandleNotice(int32_t code) {
  if (code == NoticeFinalize) Clear();
  return true;
}

}  // namespace lum
