#pragma once
// A standard input stream (an open file, usually) as a source, read through
// a buffer of its own.

#include <cstddef>
#include <istream>
#include <vector>

#include "monitor/engine/comparison/byte_source.h"

namespace orvis {

class StreamSource : public ByteSource {
 public:
  // The stream must outlive the source. Its size is taken by seeking to its
  // end and back, where the stream allows it.
  explicit StreamSource(std::istream& stream, std::size_t bufferSize = 256 * 1024);

  std::string_view next() override;
  bool failed() const override { return failed_; }
  std::optional<std::uint64_t> size() const override { return size_; }

 private:
  std::istream& stream_;
  std::vector<char> buffer_;
  std::optional<std::uint64_t> size_;
  bool failed_ = false;
  bool ended_ = false;
};

}  // namespace orvis
