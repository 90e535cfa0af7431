#include "render/blend.h"

namespace lum {

BlendState decodeEffect(uint32_t code, bool alphaTesting) {
  const uint32_t src = code & 0xFF;
  const uint32_t dst = (code >> 8) & 0xFF;
  const uint32_t op = (code >> 16) & 0xFF;
  BlendState s;
  s.modulate = (code & kModulateBit) != 0;
  if (src == 1 && dst == 0 && op == 0) return s;  // plain copy: no blending, no test
  s.blending = true;
  s.alphaTest = alphaTesting;
  s.source = src < kBlendFactorCount ? static_cast<BlendFactor>(src) : BlendFactor::One;
  s.dest = dst < kBlendFactorCount ? static_cast<BlendFactor>(dst) : BlendFactor::Zero;
  s.op = op < kBlendOpCount ? static_cast<BlendOp>(op) : BlendOp::Add;
  return s;
}

}  // namespace lum
