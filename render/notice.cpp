#include "render/notice.h"

#include <algorithm>

namespace lum {

TAsphyrePublisher::~TAsphyrePublisher() {
  for (TAsphyreSubscriber* s : subscribers_) s->publisher_ = nullptr;
}

void TAsphyrePublisher::Subscribe(TAsphyreSubscriber* subscriber) {
  if (subscriber && std::find(subscribers_.begin(), subscribers_.end(), subscriber) ==
                        subscribers_.end())
    subscribers_.push_back(subscriber);
}

void TAsphyrePublisher::Unsubscribe(TAsphyreSubscriber* subscriber) {
  subscribers_.erase(std::remove(subscribers_.begin(), subscribers_.end(), subscriber),
                     subscribers_.end());
}

bool TAsphyrePublisher::Notify(int32_t code) {
  // A copy, so that a subscriber detaching itself while handling a notice
  // does not disturb the walk.
  const std::vector<TAsphyreSubscriber*> list = subscribers_;
  for (TAsphyreSubscriber* s : list)
    if (!s->HandleNotice(code)) return false;
  return true;
}

TAsphyreSubscriber::~TAsphyreSubscriber() { SetPublisher(nullptr); }

void TAsphyreSubscriber::SetPublisher(TAsphyrePublisher* publisher) {
  if (publisher_ == publisher) return;
  if (publisher_) publisher_->Unsubscribe(this);
  publisher_ = publisher;
  if (publisher_) publisher_->Subscribe(this);
}

}  // namespace lum
