#pragma once
// The draw calls of a frame, recorded as they come and drawn when the back
// buffer is next needed, in horizontal strips shared out among threads.
// Every strip draws every call in order, limited to its own rows, so the
// picture is the same whatever the number of threads.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "render/backend_soft_raster.h"

namespace lum {

class SoftFrameQueue {
 public:
  // The number of threads that draw at once (the "bands" of the frame
  // being drawn together); below 1, one per processor core.
  explicit SoftFrameQueue(int bands);
  ~SoftFrameQueue();
  SoftFrameQueue(const SoftFrameQueue&) = delete;
  SoftFrameQueue& operator=(const SoftFrameQueue&) = delete;

  int bands() const { return bands_; }
  // The band count asked for by LUMRUN_SOFT_BANDS, or 0 for the default.
  static int bandsFromEnvironment();

  // Records one draw call; the vertices and the texture view are copied,
  // the texels are read when the call is drawn.
  void add(SoftSurface target, const SoftRasterState& state, PrimitiveKind kind,
           const Vertex* vertices, const uint16_t* indices, int primitiveCount);
  // Draws everything recorded.
  void flush();
  // Forgets everything recorded.
  void discard();
  bool empty() const { return calls_.empty(); }

 private:
  enum class Shape : uint8_t { Line, Triangle, Quad };
  struct Primitive {
    Shape shape;
    Vertex v[4];
  };
  struct Call {
    SoftSurface target;
    SoftRasterState state;
    SoftTextureView texture;
    size_t first, count;  // primitives
  };
  void drawStrips();
  void drawStrip(SoftBand strip);
  void workerLoop();

  int bands_;
  std::vector<Call> calls_;
  std::vector<Primitive> primitives_;
  int64_t pendingArea_ = 0;

  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  uint64_t generation_ = 0;
  int running_ = 0;
  bool stopping_ = false;
  std::atomic<int> nextStrip_{0};
  int targetHeight_ = 0;
};

}  // namespace lum
