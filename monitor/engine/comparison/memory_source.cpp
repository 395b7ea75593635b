#include "monitor/engine/comparison/memory_source.h"

#include <algorithm>

namespace orvis {

MemorySource::MemorySource(std::string_view bytes, std::size_t pieceSize)
    : bytes_(bytes), pieceSize_(pieceSize == 0 ? bytes.size() : pieceSize) {}

std::string_view MemorySource::next() {
  const std::size_t n = std::min(pieceSize_, bytes_.size() - offset_);
  std::string_view piece = bytes_.substr(offset_, n);
  offset_ += n;
  return piece;
}

}  // namespace orvis
