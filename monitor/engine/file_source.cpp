#include "file_source.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace orvis {

FileSource::FileSource(const platform::OpenFile& file, std::size_t bufferSize)
    : fd_(file.fd()), buffer_(bufferSize ? bufferSize : 1) {
  struct stat st;
  failed_ = !file.ok() || ::fstat(fd_, &st) != 0;
  if (!failed_) size_ = static_cast<std::uint64_t>(st.st_size);
}

std::string_view FileSource::next() {
  if (failed_ || ended_) return {};
  while (true) {
    const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
    if (n > 0) return {buffer_.data(), static_cast<std::size_t>(n)};
    if (n < 0 && errno == EINTR) continue;
    (n == 0 ? ended_ : failed_) = true;
    return {};
  }
}

}  // namespace orvis
