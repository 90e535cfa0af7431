#include "media/particle_manager.h"

#include "media/image_cache.h"

namespace lum {

void TXParticleManager::RequestSheet() { sheet_ = images_.ImRequest(kSheetName, true); }

TAsphyreImage* TXParticleManager::Sheet() const {
  return sheet_ ? images_.ImTexture(sheet_) : nullptr;
}

}  // namespace lum
