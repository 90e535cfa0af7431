#pragma once
// The image cache: the one place where element pictures become textures.
// Elements ask for an entry by file name and keep the entry; the cache finds
// the file on disk or in the game archive, pairs colour pictures with alpha
// masks, cuts them into frames, counts references and releases textures on
// screen changes and when the memory budget is exceeded.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/frame_state.h"

namespace lum {

class GameFolder;
class TASDb;
class TAsphyreImage;
class TAsphyreImages;
struct Picture;

struct TLumIm {
  uint32_t LastUse = 0;
  uint32_t MemSize = 0;
  TAsphyreImage* Texture = nullptr;
  std::string Name;  // the key: upper-cased, with a leading "*" kept
  int32_t RefCount = 0;
  bool Failed = false;
  bool Keep = false;
};

class ImageCache {
 public:
  // The archive may be null (a game without one). All references must
  // outlive the cache.
  ImageCache(TAsphyreImages& textures, const GameFolder& folder, TASDb* archive,
             FrameState& frame);
  ~ImageCache();

  // Settings of the game's root, read when they matter.
  std::function<int32_t()> maxMem = [] { return 0; };
  std::function<bool()> alwaysLoad = [] { return false; };
  // Runs between two loads of a loading phase, to show progress.
  std::function<void()> loadProgressStep;
  // The folder prefix stripped from and added to names; empty in practice.
  std::string baseFolder;

  TLumIm* ImRequest(const std::string& fileName, bool keep);
  TAsphyreImage* ImTexture(TLumIm* entry);
  void ImResetRefs();
  void ImFreeUnused();
  void ImFitMemory();
  void ImReloadAll();

  int32_t ImForLoadCount = 0;
  int32_t ImForLoadPos = 0;
  uint32_t ImMemTotal = 0;
  const std::vector<std::unique_ptr<TLumIm>>& entries() const { return ImList_; }

 private:
  struct Source;
  void load(TLumIm& entry, std::string fileName, const std::string& key, bool starred);
  void pairAlpha(Picture& picture, const std::string& located, bool starred,
                 const Source& source);
  void release(TLumIm& entry);

  TAsphyreImages& textures_;
  const GameFolder& folder_;
  TASDb* archive_;
  FrameState& frame_;
  std::vector<std::unique_ptr<TLumIm>> ImList_;
};

}  // namespace lum
