#pragma once
// An open file as an input of the comparison, read through a buffer of its
// own. A file that did not open reads as one that failed at once.

#include <cstddef>
#include <vector>

#include "monitor/engine/comparison/byte_source.h"
#include "platform/open_file.h"

namespace orvis {

class FileSource : public ByteSource {
 public:
  explicit FileSource(const platform::OpenFile& file, std::size_t bufferSize = 256 * 1024);

  std::string_view next() override;
  bool failed() const override { return failed_; }
  std::optional<std::uint64_t> size() const override { return size_; }

 private:
  int fd_;
  std::vector<char> buffer_;
  std::optional<std::uint64_t> size_;
  bool failed_ = false;
  bool ended_ = false;
};

}  // namespace orvis
