#pragma once
// One input of the comparison, read front to back in pieces of any size.
// Files, streams and memory all look alike to the comparison through it.

#include <cstdint>
#include <optional>
#include <string_view>

namespace orvis {

class ByteSource {
 public:
  virtual ~ByteSource() = default;

  // The next bytes, valid until the next call; empty at the end of the input
  // and after a failed read.
  virtual std::string_view next() = 0;

  // True once a read has failed (as opposed to reaching the end).
  virtual bool failed() const = 0;

  // The whole size in bytes when it is known beforehand.
  virtual std::optional<std::uint64_t> size() const = 0;
};

}  // namespace orvis
