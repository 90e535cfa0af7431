#include "render/backend_gl.h"
#include "render/texel_store.h"

#include <SDL.h>

#include <algorithm>

#include "render/backend_gl_api.h"
#include "render/backend_gl_program.h"
#include "render/letterbox.h"
#include "render/pixel_format.h"

namespace lum {

struct GlContext {
  SDL_Window* window = nullptr;
  SDL_GLContext context = nullptr;
  GlProgram program;
  GLuint framebuffer = 0, colorBuffer = 0, sampler = 0;
  int width = 0, height = 0;
  GpuTexture* boundTexture = nullptr;
  BlendState blend;
  bool videoStarted = false;
};

namespace {

GLenum glFactor(BlendFactor f) {
  switch (f) {
    case BlendFactor::Zero: return GL_ZERO;
    case BlendFactor::One: return GL_ONE;
    case BlendFactor::SrcColor: return GL_SRC_COLOR;
    case BlendFactor::InvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
    case BlendFactor::SrcAlpha: return GL_SRC_ALPHA;
    case BlendFactor::InvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    case BlendFactor::DestAlpha: return GL_DST_ALPHA;
    case BlendFactor::InvDestAlpha: return GL_ONE_MINUS_DST_ALPHA;
    case BlendFactor::DestColor: return GL_DST_COLOR;
    case BlendFactor::InvDestColor: return GL_ONE_MINUS_DST_COLOR;
    case BlendFactor::SrcAlphaSat: return GL_SRC_ALPHA_SATURATE;
  }
  return GL_ONE;
}

GLenum glEquation(BlendOp op) {
  switch (op) {
    case BlendOp::Add: return GL_FUNC_ADD;
    case BlendOp::RevSubtract: return GL_FUNC_REVERSE_SUBTRACT;
    case BlendOp::Subtract: return GL_FUNC_SUBTRACT;
    case BlendOp::Min: return GL_MIN;
    case BlendOp::Max: return GL_MAX;
  }
  return GL_FUNC_ADD;
}

// Texels in their own format for locking (kept in memory, so they survive
// anything that happens to the context), uploaded as 32-bit on unlock.
class GlTexture final : public TexelStoreTexture {
 public:
  GlTexture(int width, int height, PixelFormat format) : TexelStoreTexture(width, height, format) {
    glGenTextures(1, &name_);
    glBindTexture(GL_TEXTURE_2D, name_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    texelsChanged();
  }
  ~GlTexture() override { glDeleteTextures(1, &name_); }
  GLuint name() const { return name_; }

 private:
  void texelsChanged() override {
    std::vector<uint32_t> argb(size_t(width()) * height());
    toArgb(argb.data());
    glBindTexture(GL_TEXTURE_2D, name_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width(), height(), 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, argb.data());
  }
  GLuint name_ = 0;
};

class GlBatchBuffers final : public GpuBatchBuffers {
 public:
  GlBatchBuffers(int vertices, int indices) : vertexCapacity_(vertices), indexCapacity_(indices) {
    glGenVertexArrays(1, &vao_);
    glGenBuffers(1, &vbo_);
    glGenBuffers(1, &ibo_);
    glBindVertexArray(vao_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices) * sizeof(Vertex), nullptr, GL_STREAM_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices) * 2, nullptr, GL_STREAM_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, color)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, u)));
    glBindVertexArray(0);
  }
  ~GlBatchBuffers() override {
    glDeleteBuffers(1, &vbo_);
    glDeleteBuffers(1, &ibo_);
    glDeleteVertexArrays(1, &vao_);
  }
  bool write(const Vertex* v, int vertexCount, const uint16_t* i, int indexCount) override {
    if (vertexCount > vertexCapacity_ || indexCount > indexCapacity_) return false;
    glBindVertexArray(vao_);
    // Orphan the old storage (a discard lock) before writing the used length.
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertexCapacity_) * sizeof(Vertex), nullptr,
                 GL_STREAM_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(vertexCount) * sizeof(Vertex), v);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indexCapacity_) * 2, nullptr, GL_STREAM_DRAW);
    glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, GLsizeiptr(indexCount) * 2, i);
    return true;
  }
  GLuint vao() const { return vao_; }

 private:
  int vertexCapacity_, indexCapacity_;
  GLuint vao_ = 0, vbo_ = 0, ibo_ = 0;
};

}  // namespace

GlGraphicsDevice::GlGraphicsDevice(const BackendOptions& options) : options_(options) {}

GlGraphicsDevice::~GlGraphicsDevice() { release(); }

bool GlGraphicsDevice::create(const PresentParams& params) {
  if (gl_ || params.width <= 0 || params.height <= 0) return false;
  auto gl = std::make_unique<GlContext>();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  gl->videoStarted = true;
  gl_ = std::move(gl);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE;
  if (options_.headless) flags |= SDL_WINDOW_HIDDEN;
  gl_->window = SDL_CreateWindow(options_.title.c_str(), SDL_WINDOWPOS_CENTERED,
                                 SDL_WINDOWPOS_CENTERED, params.width, params.height, flags);
  if (!gl_->window) return release(), false;
  gl_->context = SDL_GL_CreateContext(gl_->window);
  if (!gl_->context || SDL_GL_MakeCurrent(gl_->window, gl_->context) != 0) return release(), false;
  SDL_GL_SetSwapInterval(params.vsync ? 1 : 0);  // may fail on some drivers; harmless
  if (!buildGlProgram(gl_->program)) return release(), false;
  glGenSamplers(1, &gl_->sampler);
  glSamplerParameteri(gl_->sampler, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glSamplerParameteri(gl_->sampler, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glBindSampler(0, gl_->sampler);
  setLinearFilter(false);
  if (!makeTarget(params.width, params.height)) return release(), false;
  params_ = params;
  if (!params.windowed) SDL_SetWindowFullscreen(gl_->window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  glUseProgram(gl_->program.program);
  glUniform1i(gl_->program.sampler, 0);
  glEnable(GL_SCISSOR_TEST);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  setViewport({0, 0, params.width, params.height});
  setBlendState(BlendState{});
  return true;
}

bool GlGraphicsDevice::makeTarget(int width, int height) {
  if (gl_->framebuffer) {
    glDeleteFramebuffers(1, &gl_->framebuffer);
    glDeleteRenderbuffers(1, &gl_->colorBuffer);
  }
  glGenFramebuffers(1, &gl_->framebuffer);
  glGenRenderbuffers(1, &gl_->colorBuffer);
  glBindRenderbuffer(GL_RENDERBUFFER, gl_->colorBuffer);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  glBindFramebuffer(GL_FRAMEBUFFER, gl_->framebuffer);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                            gl_->colorBuffer);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
  gl_->width = width;
  gl_->height = height;
  glViewport(0, 0, width, height);
  glUseProgram(gl_->program.program);
  glUniform2f(gl_->program.targetSize, float(width), float(height));
  return true;
}

void GlGraphicsDevice::release() {
  if (!gl_) return;
  if (gl_->context) {
    if (gl_->framebuffer) glDeleteFramebuffers(1, &gl_->framebuffer);
    if (gl_->colorBuffer) glDeleteRenderbuffers(1, &gl_->colorBuffer);
    if (gl_->sampler) glDeleteSamplers(1, &gl_->sampler);
    if (gl_->program.program) glDeleteProgram(gl_->program.program);
    SDL_GL_DeleteContext(gl_->context);
  }
  if (gl_->window) SDL_DestroyWindow(gl_->window);
  if (gl_->videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  gl_.reset();
}

bool GlGraphicsDevice::reset(const PresentParams& params) {
  if (!gl_ || params.width <= 0 || params.height <= 0) return false;
  SDL_SetWindowFullscreen(gl_->window, params.windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  if ((params.width != gl_->width || params.height != gl_->height) &&
      !makeTarget(params.width, params.height))
    return false;
  params_ = params;
  SDL_GL_SetSwapInterval(params.vsync ? 1 : 0);
  return setViewport({0, 0, params.width, params.height});
}

bool GlGraphicsDevice::clear(uint32_t argb) {
  if (!gl_) return false;
  glBindFramebuffer(GL_FRAMEBUFFER, gl_->framebuffer);
  glDisable(GL_SCISSOR_TEST);
  glClearColor(((argb >> 16) & 255) / 255.0f, ((argb >> 8) & 255) / 255.0f, (argb & 255) / 255.0f,
               (argb >> 24) / 255.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
  return true;
}

bool GlGraphicsDevice::beginScene() {
  if (!gl_ || inScene_) return false;
  glBindFramebuffer(GL_FRAMEBUFFER, gl_->framebuffer);
  inScene_ = true;
  return true;
}

bool GlGraphicsDevice::endScene() {
  if (!inScene_) return false;
  inScene_ = false;
  return true;
}

DeviceStatus GlGraphicsDevice::present() {
  if (!gl_) return DeviceStatus::Lost;
  int ww = 0, wh = 0;
  SDL_GL_GetDrawableSize(gl_->window, &ww, &wh);
  const Letterbox box = fitLetterbox(gl_->width, gl_->height, ww, wh);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, gl_->framebuffer);
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glBlitFramebuffer(0, 0, gl_->width, gl_->height, box.x, wh - box.y - box.height,
                    box.x + box.width, wh - box.y, GL_COLOR_BUFFER_BIT, GL_LINEAR);
  SDL_GL_SwapWindow(gl_->window);
  glBindFramebuffer(GL_FRAMEBUFFER, gl_->framebuffer);
  glEnable(GL_SCISSOR_TEST);
  return glGetError() == GL_NO_ERROR ? DeviceStatus::Ok : DeviceStatus::DriverError;
}

bool GlGraphicsDevice::supportsTextureFormat(PixelFormat format) const {
  return format != PixelFormat::None && pixelBytes(format) > 0;
}

std::unique_ptr<GpuTexture> GlGraphicsDevice::createTexture(int width, int height, PixelFormat format,
                                                            bool) {
  GLint maxSize = 0;
  if (gl_) glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  if (!gl_ || width <= 0 || height <= 0 || width > maxSize || height > maxSize ||
      !supportsTextureFormat(format))
    return nullptr;
  while (glGetError() != GL_NO_ERROR) {
  }
  auto texture = std::make_unique<GlTexture>(width, height, format);
  if (glGetError() != GL_NO_ERROR) return nullptr;
  return texture;
}

std::unique_ptr<GpuBatchBuffers> GlGraphicsDevice::createBatchBuffers(int vertices, int indices) {
  if (!gl_ || vertices <= 0 || indices <= 0) return nullptr;
  return std::make_unique<GlBatchBuffers>(vertices, indices);
}

void GlGraphicsDevice::setBlendState(const BlendState& s) {
  if (!gl_) return;
  gl_->blend = s;
  if (s.blending) {
    glEnable(GL_BLEND);
    const GLenum src = glFactor(s.source), dst = glFactor(s.dest);
    glBlendFunc(src, dst);
    glBlendEquation(glEquation(s.op));
  } else {
    glDisable(GL_BLEND);
  }
  glUniform1i(gl_->program.alphaTest, s.alphaTest ? 1 : 0);
}

void GlGraphicsDevice::setLinearFilter(bool linear) {
  if (!gl_) return;
  const GLint f = linear ? GL_LINEAR : GL_NEAREST;
  glSamplerParameteri(gl_->sampler, GL_TEXTURE_MIN_FILTER, f);
  glSamplerParameteri(gl_->sampler, GL_TEXTURE_MAG_FILTER, f);
}

void GlGraphicsDevice::bindTexture(GpuTexture* texture) {
  if (!gl_) return;
  gl_->boundTexture = texture;
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, texture ? static_cast<GlTexture*>(texture)->name() : 0);
}

bool GlGraphicsDevice::drawIndexed(GpuBatchBuffers& buffers, PrimitiveKind kind, int vertexCount,
                                   int primitiveCount) {
  if (!gl_ || kind == PrimitiveKind::None || vertexCount <= 0) return false;
  const int mode = !gl_->boundTexture ? 0 : gl_->blend.modulate ? 2 : 1;
  glUniform1i(gl_->program.stageMode, mode);
  glBindVertexArray(static_cast<GlBatchBuffers&>(buffers).vao());
  const bool lines = kind == PrimitiveKind::Lines;
  glDrawElements(lines ? GL_LINES : GL_TRIANGLES, primitiveCount * (lines ? 2 : 3),
                 GL_UNSIGNED_SHORT, nullptr);
  glBindVertexArray(0);
  return glGetError() == GL_NO_ERROR;
}

bool GlGraphicsDevice::setViewport(const Viewport& v) {
  if (!gl_ || v.width < 0 || v.height < 0) return false;
  viewport_ = v;
  // Vertices are already in pixels, so the viewport only clips.
  glScissor(v.x, gl_->height - (v.y + v.height), v.width, v.height);
  return true;
}

std::optional<Viewport> GlGraphicsDevice::viewport() const {
  if (!gl_) return std::nullopt;
  return viewport_;
}

bool GlGraphicsDevice::readBackBuffer(std::vector<uint32_t>& pixels) {
  if (!gl_) return false;
  const int w = gl_->width, h = gl_->height;
  std::vector<uint32_t> flipped(size_t(w) * h);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, gl_->framebuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, flipped.data());
  if (glGetError() != GL_NO_ERROR) return false;
  pixels.resize(flipped.size());
  for (int y = 0; y < h; ++y)
    std::copy_n(flipped.begin() + size_t(h - 1 - y) * w, w, pixels.begin() + size_t(y) * w);
  return true;
}

bool GlGraphicsDevice::windowToScene(int wx, int wy, int& sx, int& sy) const {
  if (!gl_) return false;
  int ww = 0, wh = 0;
  SDL_GetWindowSize(gl_->window, &ww, &wh);
  return letterboxToScene(fitLetterbox(gl_->width, gl_->height, ww, wh), gl_->width, gl_->height,
                          wx, wy, sx, sy);
}

void GlGraphicsDevice::setTitle(const std::string& utf8) {
  if (gl_) SDL_SetWindowTitle(gl_->window, utf8.c_str());
}

void GlGraphicsDevice::setWindowSize(int width, int height) {
  if (gl_) SDL_SetWindowSize(gl_->window, width, height);
}

}  // namespace lum
