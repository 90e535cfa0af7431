#pragma once
// Device notices: the device publishes, the canvas, the texture list and the
// font list subscribe, and each is told in the order it subscribed when the
// device is created, lost, restored, begins or ends a scene, or goes away.
#include <cstdint>
#include <vector>

namespace lum {

inline constexpr int32_t NoticeInitialize = 256;
inline constexpr int32_t NoticeFinalize = 257;
inline constexpr int32_t NoticeLost = 258;
inline constexpr int32_t NoticeRecovered = 259;
inline constexpr int32_t NoticeBeginScene = 260;
inline constexpr int32_t NoticeEndScene = 261;

class TAsphyreSubscriber;

class TAsphyrePublisher {
 public:
  TAsphyrePublisher() = default;
  TAsphyrePublisher(const TAsphyrePublisher&) = delete;
  TAsphyrePublisher& operator=(const TAsphyrePublisher&) = delete;
  virtual ~TAsphyrePublisher();

  void Subscribe(TAsphyreSubscriber* subscriber);
  void Unsubscribe(TAsphyreSubscriber* subscriber);
  // Tells every subscriber in order; stops at the first that refuses.
  bool Notify(int32_t code);
  int SubscriberCount() const { return static_cast<int>(subscribers_.size()); }

 private:
  std::vector<TAsphyreSubscriber*> subscribers_;
};

class TAsphyreSubscriber {
 public:
  TAsphyreSubscriber() = default;
  TAsphyreSubscriber(const TAsphyreSubscriber&) = delete;
  TAsphyreSubscriber& operator=(const TAsphyreSubscriber&) = delete;
  virtual ~TAsphyreSubscriber();

  TAsphyrePublisher* Publisher() const { return publisher_; }
  void SetPublisher(TAsphyrePublisher* publisher);
  virtual bool HandleNotice(int32_t) { return true; }

 private:
  friend class TAsphyrePublisher;
  TAsphyrePublisher* publisher_ = nullptr;
};

}  // namespace lum
