#include "render/backend_gl_program.h"

namespace lum {

namespace {

// Pixel centres sit on integer coordinates in the vertex data, half a pixel
// off from OpenGL's, hence the + 0.5. Row 0 of the back buffer is the top.
// An edge through a pixel centre belongs to the shape on its top and left
// sides only; OpenGL, with its y axis upwards, would decide the other way on
// horizontal edges, so everything moves up and left by one subpixel step,
// which settles such ties the same way without moving anything visibly.
const char* kVertexSource = R"(#version 330 core
layout(location = 0) in vec2 position;
layout(location = 1) in vec4 color;
layout(location = 2) in vec2 texCoord;
uniform vec2 targetSize;
out vec4 vColor;
out vec2 vTexCoord;
void main() {
  vec2 p = (position + 0.5 - 1.0 / 256.0) / targetSize * 2.0 - 1.0;
  gl_Position = vec4(p.x, -p.y, 0.0, 1.0);
  vColor = color;
  vTexCoord = texCoord;
}
)";

const char* kFragmentSource = R"(#version 330 core
in vec4 vColor;
in vec2 vTexCoord;
uniform int stageMode;
uniform int alphaTest;
uniform sampler2D image;
out vec4 fragColor;
void main() {
  vec4 c = vColor;
  if (stageMode == 1) c = texture(image, vTexCoord);
  else if (stageMode == 2) c = texture(image, vTexCoord) * vColor;
  if (alphaTest != 0 && c.a * 255.0 < 0.5) discard;
  fragColor = c;
}
)";

GLuint compile(GLenum kind, const char* source) {
  const GLuint shader = glCreateShader(kind);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

}  // namespace

bool buildGlProgram(GlProgram& out) {
  const GLuint vs = compile(GL_VERTEX_SHADER, kVertexSource);
  const GLuint fs = compile(GL_FRAGMENT_SHADER, kFragmentSource);
  if (!vs || !fs) {
    if (vs) glDeleteShader(vs);
    if (fs) glDeleteShader(fs);
    return false;
  }
  out.program = glCreateProgram();
  glAttachShader(out.program, vs);
  glAttachShader(out.program, fs);
  glLinkProgram(out.program);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(out.program, GL_LINK_STATUS, &ok);
  if (!ok) {
    glDeleteProgram(out.program);
    out.program = 0;
    return false;
  }
  out.targetSize = glGetUniformLocation(out.program, "targetSize");
  out.stageMode = glGetUniformLocation(out.program, "stageMode");
  out.alphaTest = glGetUniformLocation(out.program, "alphaTest");
  out.sampler = glGetUniformLocation(out.program, "image");
  return true;
}

}  // namespace lum
