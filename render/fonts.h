#pragma once
// The font list: owns the fonts, names new ones, finds them by name, and
// loads every font record of an archive. Table entries that name the same
// record give fonts that share one face, and the glyph sheets of the whole
// list stay within a memory budget, so a small archive cannot make it hold
// gigabytes of texels.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "render/device.h"
#include "render/font.h"

namespace lum {

class TAsphyreCanvas;
class TASDb;

class TAsphyreFonts : public TAsphyreDeviceSubscriber {
 public:
  // Called per font record before it loads; may refuse it or change how and
  // under which name it loads. Unused by the runner.
  using TFontASDbLoadEvent = std::function<void(std::string& name, bool& accept,
                                                TAsphyreQuality& quality, TAlphaLevel& alpha)>;

  // Texel bytes that the faces of all fonts in the list may occupy together;
  // a font that would pass it fails to load.
  static constexpr uint64_t kDefaultTextureBudget = uint64_t{256} << 20;

  ~TAsphyreFonts() override;
  TAsphyreCanvas* Canvas = nullptr;
  TFontASDbLoadEvent OnASDbLoad;
  uint64_t TextureBudget = kDefaultTextureBudget;
  uint64_t TextureBytes() const { return textureBytes_; }

  void Clear();
  TAsphyreFont* Add();  // named Font00, Font01, ...
  TAsphyreFont* Find(std::string_view name) const;
  int Count() const { return int(fonts_.size()); }
  TAsphyreFont* Item(int index) const;
  // Loads every font record in table order; stops at the first that fails.
  // The table is read once, however many fonts there are.
  bool LoadFromASDb(TASDb& archive);

  bool HandleNotice(int32_t code) override;

 private:
  bool loadRecord(TAsphyreFont& font, TASDb& archive, int index, TAsphyreQuality quality,
                  TAlphaLevel alpha);

  std::vector<std::unique_ptr<TAsphyreFont>> fonts_;
  int counter_ = 0;
  uint64_t textureBytes_ = 0;  // of the distinct faces in the list
};

}  // namespace lum
