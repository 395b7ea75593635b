#include "monitor/engine/comparison/byte_cursor.h"

namespace orvis {

bool ByteCursor::fetch() {
  const std::string_view piece = source_.next();
  begin_ = at_ = piece.data();
  end_ = piece.data() + piece.size();
  return at_ != end_;
}

}  // namespace orvis
