#include "render/backend_soft_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lum {

namespace {

// Below this many pixels (by bounding boxes) waking the workers costs more
// than it saves.
constexpr int64_t kThreadedArea = 1 << 15;
constexpr int kMaxBands = 8;
constexpr int kStripRows = 96;

int64_t boxArea(const Vertex* v, int count) {
  float x0 = v[0].x, x1 = v[0].x, y0 = v[0].y, y1 = v[0].y;
  for (int i = 1; i < count; ++i) {
    x0 = std::min(x0, v[i].x);
    x1 = std::max(x1, v[i].x);
    y0 = std::min(y0, v[i].y);
    y1 = std::max(y1, v[i].y);
  }
  const float area = (x1 - x0 + 1) * (y1 - y0 + 1);
  return area < 1e12f ? int64_t(area) : int64_t(1e12);  // NaN counts as nothing
}

}  // namespace

int SoftFrameQueue::bandsFromEnvironment() {
  const char* forced = std::getenv("LUMRUN_SOFT_BANDS");
  if (!forced) return 0;
  const int n = std::atoi(forced);
  return n > 0 ? std::min(n, kMaxBands) : 0;
}

SoftFrameQueue::SoftFrameQueue(int bands) {
  if (bands < 1) bands = int(std::min<unsigned>(std::thread::hardware_concurrency(), kMaxBands));
  bands_ = std::clamp(bands, 1, kMaxBands);
  for (int i = 1; i < bands_; ++i) workers_.emplace_back([this] { workerLoop(); });
}

SoftFrameQueue::~SoftFrameQueue() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& t : workers_) t.join();
}

void SoftFrameQueue::add(SoftSurface target, const SoftRasterState& state, PrimitiveKind kind,
                         const Vertex* vertices, const uint16_t* indices, int primitiveCount) {
  Call call{target, state, state.texture ? *state.texture : SoftTextureView{},
            primitives_.size(), 0};
  if (kind == PrimitiveKind::Lines) {
    for (int p = 0; p < primitiveCount; ++p) {
      const uint16_t* i = indices + 2 * p;
      primitives_.push_back(Primitive{Shape::Line, {vertices[i[0]], vertices[i[1]]}});
    }
  } else {
    for (int p = 0; p < primitiveCount; ++p) {
      const uint16_t* i = indices + 3 * p;
      // The canvas's quads come as (a, b, d) and (b, c, d).
      if (p + 1 < primitiveCount && i[3] == i[1] && i[5] == i[2]) {
        Primitive q{Shape::Quad, {vertices[i[0]], vertices[i[1]], vertices[i[4]], vertices[i[2]]}};
        pendingArea_ += boxArea(q.v, 4);
        primitives_.push_back(q);
        ++p;
        continue;
      }
      Primitive t{Shape::Triangle, {vertices[i[0]], vertices[i[1]], vertices[i[2]]}};
      pendingArea_ += boxArea(t.v, 3);
      primitives_.push_back(t);
    }
  }
  call.count = primitives_.size() - call.first;
  targetHeight_ = std::max(targetHeight_, target.height);
  calls_.push_back(call);
}

// Strips of rows small enough for their pixels to stay in the cache while
// every call passes over them; each thread takes the next strip not yet
// taken until none is left, so that no thread waits on one with more work.
void SoftFrameQueue::drawStrips() {
  const int strips = (targetHeight_ + kStripRows - 1) / kStripRows;
  for (int i = nextStrip_.fetch_add(1); i < strips; i = nextStrip_.fetch_add(1))
    drawStrip(SoftBand{i * kStripRows, std::min((i + 1) * kStripRows, targetHeight_)});
}

void SoftFrameQueue::drawStrip(SoftBand band) {
  for (Call& call : calls_) {
    SoftRasterState st = call.state;
    st.texture = call.state.texture ? &call.texture : nullptr;
    for (size_t p = call.first; p < call.first + call.count; ++p) {
      const Primitive& pr = primitives_[p];
      switch (pr.shape) {
        case Shape::Line: softDrawLine(call.target, st, pr.v[0], pr.v[1], band); break;
        case Shape::Triangle:
          softDrawTriangle(call.target, st, pr.v[0], pr.v[1], pr.v[2], band);
          break;
        case Shape::Quad: softDrawQuad(call.target, st, pr.v, band); break;
      }
    }
  }
}

void SoftFrameQueue::workerLoop() {
  uint64_t seen = 0;
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
      if (stopping_) return;
      seen = generation_;
    }
    drawStrips();
    {
      std::lock_guard lock(mutex_);
      if (--running_ == 0) done_.notify_one();
    }
  }
}

void SoftFrameQueue::flush() {
  if (calls_.empty()) return;
  nextStrip_ = 0;
  if (workers_.empty() || pendingArea_ < kThreadedArea) {
    drawStrips();
  } else {
    {
      std::lock_guard lock(mutex_);
      running_ = int(workers_.size());
      ++generation_;
    }
    wake_.notify_all();
    drawStrips();
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return running_ == 0; });
  }
  discard();
}

void SoftFrameQueue::discard() {
  calls_.clear();
  primitives_.clear();
  pendingArea_ = 0;
  targetHeight_ = 0;
}

}  // namespace lum
