#include "stop_request.h"

namespace orvis {

void StopRequest::runAction(const std::function<void()>& action) {
  if (flag_.raised()) return;
  ++depth_;
  try {
    action();
  } catch (...) {
    // For the general error handling further up; the count stays right.
    --depth_;
    throw;
  }
  --depth_;
  if (flag_.raised()) stopIfIdle();
}

void StopRequest::request() {
  if (!flag_.raised()) {
    flag_.raise();
    boxes_.interrupt();
  }
  stopIfIdle();
}

void StopRequest::stopIfIdle() {
  if (depth_ > 0 || stopped_) return;
  stopped_ = true;
  if (sequence_) sequence_();
}

}  // namespace orvis
