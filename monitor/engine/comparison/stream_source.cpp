#include "monitor/engine/comparison/stream_source.h"

#include <algorithm>

namespace orvis {

StreamSource::StreamSource(std::istream& stream, std::size_t bufferSize)
    : stream_(stream), buffer_(std::max<std::size_t>(bufferSize, 1)) {
  failed_ = !stream_.good();
  if (failed_) return;
  const auto start = stream_.tellg();
  if (start == std::streampos(-1)) return;
  if (stream_.seekg(0, std::ios::end)) {
    const auto end = stream_.tellg();
    if (end != std::streampos(-1) && end >= start) size_ = static_cast<std::uint64_t>(end - start);
  }
  stream_.clear();
  stream_.seekg(start);
  failed_ = !stream_.good();
}

std::string_view StreamSource::next() {
  if (failed_ || ended_) return {};
  stream_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  const auto got = static_cast<std::size_t>(stream_.gcount());
  if (!stream_) {
    // A short read sets failbit together with eofbit; badbit alone is a
    // read that went wrong.
    if (stream_.bad())
      failed_ = true;
    else
      ended_ = true;
  }
  // Bytes read before a failure still count; the failure shows at the next
  // call.
  return {buffer_.data(), got};
}

}  // namespace orvis
