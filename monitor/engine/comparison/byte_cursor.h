#pragma once
// The read position in one input of the comparison, over the pieces its
// source hands out.

#include <cstddef>
#include <cstdint>

#include "monitor/engine/comparison/byte_source.h"

namespace orvis {

// The most bytes handled in one go between two looks at the clock.
inline constexpr std::size_t kWorkPiece = 64 * 1024;

class ByteCursor {
 public:
  explicit ByteCursor(ByteSource& source) : source_(source) {}

  // True when bytes are at hand, fetching the next piece when the current
  // one is used up; false at the end of the input or after a failed read.
  bool fill() { return at_ != end_ || fetch(); }

  const char* data() const { return at_; }
  std::size_t available() const { return static_cast<std::size_t>(end_ - at_); }
  // How many bytes of the current piece lie before data(): they may still
  // be read.
  std::size_t behind() const { return static_cast<std::size_t>(at_ - begin_); }
  void advance(std::size_t n) {
    at_ += n;
    consumed_ += n;
  }

  std::uint64_t consumed() const { return consumed_; }
  bool failed() const { return source_.failed(); }
  std::optional<std::uint64_t> size() const { return source_.size(); }

 private:
  bool fetch();

  ByteSource& source_;
  const char* begin_ = nullptr;
  const char* at_ = nullptr;
  const char* end_ = nullptr;
  std::uint64_t consumed_ = 0;
};

}  // namespace orvis
