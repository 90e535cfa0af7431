#pragma once
// The texture list: owns the images made on the device and follows the
// device's notices.
#include <functional>
#include <memory>
#include <vector>

#include "render/device.h"
#include "render/image.h"

namespace lum {

class TAsphyreImages : public TAsphyreDeviceSubscriber {
 public:
  // Unused by the runner; kept for the authoring side's hooks.
  using TImageASDbLoadEvent = std::function<void(const std::string& key, bool& accept)>;

  ~TAsphyreImages() override;
  bool MipMappping() const { return mipMappping_; }
  void SetMipMappping(bool value) { mipMappping_ = value; }
  TImageASDbLoadEvent OnASDbLoad;

  TAsphyreImage* Add();
  int IndexOf(const TAsphyreImage* image) const;
  void RemoveAt(int index);  // out of range is ignored
  void Clear();
  int Count() const { return int(images_.size()); }
  TAsphyreImage* Item(int index) const;

  bool HandleNotice(int32_t code) override;

 private:
  bool mipMappping_ = true;
  std::vector<std::unique_ptr<TAsphyreImage>> images_;
};

}  // namespace lum
