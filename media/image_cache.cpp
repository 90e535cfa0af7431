#include "media/image_cache.h"

#include <algorithm>
#include <optional>
#include <sstream>

#include "media/alpha_pairing.h"
#include "platform/ascii_case.h"
#include "platform/game_folder.h"
#include "platform/windows_path.h"
#include "render/archive.h"
#include "render/images.h"
#include "render/picture_loaders.h"

namespace lum {

// Where a picture was found: the game folder, or the archive. Files that
// belong together (the counts file, the alpha-mask pair) are looked for in
// the same place.
struct ImageCache::Source {
  const GameFolder& folder;
  TASDb* archive;
  bool fromArchive = false;

  bool exists(const std::string& name) const {
    if (fromArchive) return archive && archive->indexOf(upperAscii(name)) >= 0;
    return folder.exists(name);
  }
  std::optional<std::string> read(const std::string& name) const {
    if (!fromArchive) return folder.readFile(name);
    std::vector<uint8_t> bytes;
    if (!archive || !archive->readRecord(upperAscii(name), bytes)) return std::nullopt;
    return std::string(bytes.begin(), bytes.end());
  }
  std::optional<Picture> decode(const std::string& name) const {
    std::optional<std::string> bytes = read(name);
    if (!bytes) return std::nullopt;
    ByteSpan span(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size());
    Result<Picture> pic = loadPictureNamed(span, name);
    if (!pic) return std::nullopt;
    return std::move(pic.value());
  }
};

namespace {

// Everything but the last four characters (the extension with its dot).
std::string withoutExtension(const std::string& name) {
  return name.size() >= 4 ? name.substr(0, name.size() - 4) : std::string();
}

// The frame layout file: columns on the first line, rows on the second. A
// missing or unreadable file, or a 0, means one.
std::pair<int64_t, int64_t> readCounts(const std::optional<std::string>& text) {
  int64_t columns = 1, rows = 1;
  if (text) {
    std::istringstream in(*text);
    int64_t c = 0, r = 0;
    if (in >> c) columns = c;
    if (in >> r) rows = r;
  }
  if (columns == 0) columns = 1;
  if (rows == 0) rows = 1;
  return {columns, rows};
}

int32_t roundUpToEven(int64_t v) { return static_cast<int32_t>(v + (v & 1)); }

}  // namespace

ImageCache::ImageCache(TAsphyreImages& textures, const GameFolder& folder, TASDb* archive,
                       FrameState& frame)
    : textures_(textures), folder_(folder), archive_(archive), frame_(frame) {}

ImageCache::~ImageCache() = default;

TLumIm* ImageCache::ImRequest(const std::string& fileName, bool keep) {
  std::string key = upperAscii(fileName);
  if (!baseFolder.empty() && key.rfind(baseFolder, 0) == 0) key.erase(0, baseFolder.size());
  auto found = std::find_if(ImList_.begin(), ImList_.end(),
                            [&](const auto& e) { return e->Name == key; });
  TLumIm* entry;
  if (found != ImList_.end()) {
    entry = found->get();
  } else {
    ImList_.push_back(std::make_unique<TLumIm>());
    entry = ImList_.back().get();
    entry->Name = key;
    entry->Keep = keep;
  }
  std::string name = fileName;
  bool starred = false;
  if (!key.empty() && key[0] == '*') {
    key.erase(0, 1);
    if (!name.empty()) name.erase(0, 1);
    starred = true;
  }
  ++entry->RefCount;
  if (entry->Texture || entry->Failed) return entry;
  if (!frame_.ImLoadEnabled && !keep) {
    if (entry->RefCount == 1) ++ImForLoadCount;
    return entry;
  }
  load(*entry, name, key, starred);
  return entry;
}

void ImageCache::load(TLumIm& entry, std::string name, const std::string& key, bool starred) {
  ++ImForLoadPos;
  TAsphyreImage* texture = textures_.Add();
  entry.Texture = texture;

  Source source{folder_, archive_};
  std::string located;
  if (folder_.exists(name)) {
    located = name;
  } else if (folder_.exists(baseFolder + name)) {
    located = baseFolder + name;
  } else if (archive_ && archive_->ensureOpen() && archive_->indexOf(key) >= 0) {
    source.fromArchive = true;
    located = key;
  } else {
    release(entry);
    entry.Failed = true;
    return;
  }
  texture->Name = key;

  auto [columns, rows] = readCounts(source.read(withoutExtension(located) + ".an"));
  texture->SetQuality(TAsphyreQuality::aqHigh);
  texture->SetAlphaLevel(TAlphaLevel::alFull);
  texture->SetMipMapping(textures_.MipMappping());

  std::optional<Picture> picture = source.decode(located);
  int64_t width = picture ? picture->width : 0;
  int64_t height = picture ? picture->height : 0;
  bool built = picture && columns > 0 && rows > 0 && columns <= width && rows <= height;
  if (built) {
    SizeI pattern{static_cast<int>(width / columns), static_cast<int>(height / rows)};
    texture->SetPatternSize(pattern);
    texture->SetVisibleSize(pattern);
    texture->SetTextureSize(SizeI{roundUpToEven(pattern.width + 2),
                                  roundUpToEven(pattern.height + 2)});
    texture->SetPatternCount(static_cast<int32_t>(columns * rows));
    texture->SetTextureCount(static_cast<int>(columns * rows));
    pairAlpha(*picture, located, starred, source);
    built = texture->UploadBitmap(*picture, false, 0.0, 0);
  }
  if (!built) {
    release(entry);
    entry.Failed = true;
  }
  entry.MemSize = static_cast<uint32_t>(width * height * 4);
  ImMemTotal += entry.MemSize;
  entry.LastUse = frame_.ProcessTick;

  int32_t budget = maxMem ? maxMem() : 0;
  if (budget > 25000000 && static_cast<double>(ImMemTotal) / budget > 1.1) ImFitMemory();
  if (frame_.LoadingPhase && loadProgressStep) loadProgressStep();
}

void ImageCache::pairAlpha(Picture& picture, const std::string& located, bool starred,
                           const Source& source) {
  std::string folderPart(windowsFolderPart(located));
  std::string fileOnly(windowsFileName(located));
  std::string extension = upperAscii(located.size() >= 4 ? located.substr(located.size() - 4) : "");
  size_t underscore = fileOnly.find('_');
  std::string beforeUnderscore = underscore == std::string::npos ? "" : fileOnly.substr(0, underscore);

  if (extension == ".BMP") {
    if (!beforeUnderscore.empty() && source.exists(folderPart + beforeUnderscore + ".jpg")) {
      if (auto colour = source.decode(folderPart + beforeUnderscore + ".jpg")) {
        picture = combineColourAndMask(*colour, picture);
      }
    }
    if (starred) alphaToGrey(picture);
    std::string pair = withoutExtension(located) + "_" + ".jpg";
    if (source.exists(pair)) {
      if (auto colour = source.decode(pair)) picture = combineColourAndMask(*colour, picture);
    }
  } else if (extension == ".JPG") {
    if (!beforeUnderscore.empty() && source.exists(folderPart + beforeUnderscore + ".bmp")) {
      if (auto mask = source.decode(folderPart + beforeUnderscore + ".bmp")) {
        picture = combineColourAndMask(picture, *mask);
      }
    }
  }
}

void ImageCache::release(TLumIm& entry) {
  if (!entry.Texture) return;
  textures_.RemoveAt(textures_.IndexOf(entry.Texture));
  entry.Texture = nullptr;
}

TAsphyreImage* ImageCache::ImTexture(TLumIm* entry) {
  if (!entry) return nullptr;
  if (alwaysLoad && alwaysLoad() && !entry->Texture && !entry->Failed) {
    ImRequest(entry->Name, entry->Keep);
  }
  entry->LastUse = frame_.ProcessTick;
  return entry->Texture;
}

void ImageCache::ImResetRefs() {
  for (auto& e : ImList_) e->RefCount = 0;
}

void ImageCache::ImFreeUnused() {
  for (auto& e : ImList_) {
    if (e->RefCount == 0 && !e->Keep && e->Texture) release(*e);
  }
}

void ImageCache::ImFitMemory() {
  const int32_t budget = maxMem ? maxMem() : 0;
  // The first entry ever made is never evicted; kept entries neither.
  auto evictable = [](const TLumIm& e) { return e.Texture && !e.Keep; };
  for (;;) {
    bool any = false;
    uint32_t oldest = 0;
    uint32_t sum = 0;
    for (size_t i = 1; i < ImList_.size(); ++i) {
      const TLumIm& e = *ImList_[i];
      if (!evictable(e)) continue;
      if (!any || e.LastUse < oldest) oldest = e.LastUse;
      any = true;
      sum += e.MemSize;
    }
    if (!any) return;
    for (size_t i = 1; i < ImList_.size(); ++i) {
      TLumIm& e = *ImList_[i];
      if (!evictable(e) || e.LastUse != oldest) continue;
      release(e);
      sum -= e.MemSize;
      if (budget >= 0 && sum < static_cast<uint32_t>(budget)) {
        ImMemTotal = sum;
        return;
      }
    }
  }
}

void ImageCache::ImReloadAll() {
  ImMemTotal = 0;
  const uint32_t tick = frame_.ProcessTick;
  for (size_t i = 0; i < ImList_.size(); ++i) {
    TLumIm& e = *ImList_[i];
    if (!e.Texture) continue;
    release(e);
    frame_.ProcessTick = e.LastUse;
    ImRequest(e.Name, false);
  }
  frame_.ProcessTick = tick;
}

}  // namespace lum
