#include "render/images.h"

namespace lum {

TAsphyreImages::~TAsphyreImages() { Clear(); }

TAsphyreImage* TAsphyreImages::Add() {
  auto image = std::make_unique<TAsphyreImage>(Device());
  image->SetMipMapping(mipMappping_);
  images_.push_back(std::move(image));
  return images_.back().get();
}

int TAsphyreImages::IndexOf(const TAsphyreImage* image) const {
  for (size_t i = 0; i < images_.size(); ++i)
    if (images_[i].get() == image) return int(i);
  return -1;
}

void TAsphyreImages::RemoveAt(int index) {
  if (index < 0 || index >= Count()) return;
  images_.erase(images_.begin() + index);
}

void TAsphyreImages::Clear() { images_.clear(); }

TAsphyreImage* TAsphyreImages::Item(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return images_[size_t(index)].get();
}

bool TAsphyreImages::HandleNotice(int32_t code) {
  switch (code) {
    case NoticeFinalize: Clear(); break;
    case NoticeLost:
      for (auto& image : images_) image->HandleLoss();
      break;
    case NoticeRecovered:
      for (auto& image : images_) image->HandleRestore();
      break;
    default: break;
  }
  return true;
}

}  // namespace lum
