#include "render/fonts.h"

#include <cstdio>

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

void TAsphyreFonts::Clear() { fonts_.clear(); }

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
    if (!font->LoadFromASDb(archive, key, quality, alpha)) return false;
    font->Name = name;
  }
  return true;
}

bool TAsphyreFonts::HandleNotice(int32_t code) {
  if (code == NoticeFinalize) Clear();
  return true;
}

}  // namespace lum
