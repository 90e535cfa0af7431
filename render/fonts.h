#pragma once
// The font list: owns the fonts, names new ones, finds them by name, and
// loads every font record of an archive.
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

  ~TAsphyreFonts() override;
  TAsphyreCanvas* Canvas = nullptr;
  TFontASDbLoadEvent OnASDbLoad;

  void Clear();
  TAsphyreFont* Add();  // named Font00, Font01, ...
  TAsphyreFont* Find(std::string_view name) const;
  int Count() const { return int(fonts_.size()); }
  TAsphyreFont* Item(int index) const;
  // Loads every font record in table order; stops at the first that fails.
  bool LoadFromASDb(TASDb& archive);

  bool HandleNotice(int32_t code) override;

 private:
  std::vector<std::unique_ptr<TAsphyreFont>> fonts_;
  int counter_ = 0;
};

}  // namespace lum
