#pragma once
// The one shader program of the gl backend: pretransformed vertices in
// back-buffer pixels, vertex colour, an optional texture stage that either
// replaces or multiplies the colour, and the alpha test.
#include "render/backend_gl_api.h"

namespace lum {

struct GlProgram {
  GLuint program = 0;
  GLint targetSize = -1;  // vec2: back-buffer size
  GLint stageMode = -1;   // int: 0 vertex colour, 1 texture, 2 texture x colour
  GLint alphaTest = -1;   // int: discard alpha below 1/255
  GLint sampler = -1;
};

bool buildGlProgram(GlProgram& out);

}  // namespace lum
