#include "monitor/engine/comparison/byte_cursor.h"

namespace orvis {

bool ByteCursor::fill() {
  if (at_ != end_) return true;
  const std::string_view piece = source_.next();
  at_ = piece.data();
  end_ = piece.data() + piece.size();
  return at_ != end_;
}

}  // namespace orvis
