#pragma once
// Draw-effect codes: the 32-bit word that elements carry in hxDrawFx and that
// every canvas operation takes, split into blend factors and operation.
#include <cstdint>

namespace lum {

enum class BlendFactor : uint8_t {
  Zero, One, SrcColor, InvSrcColor, SrcAlpha, InvSrcAlpha,
  DestAlpha, InvDestAlpha, DestColor, InvDestColor, SrcAlphaSat,
};

enum class BlendOp : uint8_t { Add, RevSubtract, Subtract, Min, Max };

inline constexpr int kBlendFactorCount = 11;
inline constexpr int kBlendOpCount = 5;
inline constexpr uint32_t kModulateBit = 1u << 28;

// Effect codes the system itself draws with.
inline constexpr uint32_t kEffectOpaque = 1;
inline constexpr uint32_t kEffectAlphaBlend = 0x504;
inline constexpr uint32_t kEffectAdditive = 0x104;

// What a backend needs to know to blend one primitive.
struct BlendState {
  bool blending = false;
  BlendFactor source = BlendFactor::One;
  BlendFactor dest = BlendFactor::Zero;
  BlendOp op = BlendOp::Add;
  bool alphaTest = false;   // discard fragments with alpha below 1 (of 255)
  bool modulate = false;    // texture colour times vertex colour
  bool operator==(const BlendState&) const = default;
};

// Decodes an effect code. Factor or operation indices beyond the tables have
// no meaning in any game data; they fall back to one / zero / add so that a
// stray code still draws something predictable.
BlendState decodeEffect(uint32_t code, bool alphaTesting);

}  // namespace lum
