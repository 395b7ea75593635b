#pragma once
// Bytes already in memory as a source, handed out whole or in pieces of a
// given size (small pieces let tests cross every piece boundary).

#include <cstddef>

#include "monitor/engine/comparison/byte_source.h"

namespace orvis {

class MemorySource : public ByteSource {
 public:
  // The bytes must outlive the source. A piece size of 0 hands them out whole.
  explicit MemorySource(std::string_view bytes, std::size_t pieceSize = 0);

  std::string_view next() override;
  bool failed() const override { return false; }
  std::optional<std::uint64_t> size() const override { return bytes_.size(); }

 private:
  std::string_view bytes_;
  std::size_t pieceSize_;
  std::size_t offset_ = 0;
};

}  // namespace orvis
