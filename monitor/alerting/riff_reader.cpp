#include "riff_reader.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/open_file.h"

namespace orvis {

namespace {

std::uint32_t littleEndian(const unsigned char* b) {
  return b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
}

}  // namespace

bool RiffReader::open(const std::string& path) {
  close();
  // A pipe or a device in place of the sound would hold the window thread.
  fd_ = platform::openFile(path, platform::OpenFor::Reading).release();
  if (fd_ < 0) return false;
  unsigned char riff[12];
  if (!readExactly(riff, sizeof riff) || std::memcmp(riff, "RIFF", 4) != 0 ||
      std::memcmp(riff + 8, "WAVE", 4) != 0 || !findDataChunk()) {
    close();
    return false;
  }
  return true;
}

// Walks the chunks inside the form, each padded to an even length, up to
// the one named "data". The form's own length is not trusted as a bound:
// the end of the file is.
bool RiffReader::findDataChunk() {
  while (true) {
    unsigned char header[8];
    if (!readExactly(header, sizeof header)) return false;
    if (std::memcmp(header, "data", 4) == 0) return true;
    const off_t skip = off_t(littleEndian(header + 4)) + (header[4] & 1);
    if (::lseek(fd_, skip, SEEK_CUR) < 0) return false;
  }
}

bool RiffReader::readExactly(void* into, std::size_t bytes) {
  return read(static_cast<std::byte*>(into), bytes) == bytes;
}

std::size_t RiffReader::read(std::byte* into, std::size_t max) {
  std::size_t got = 0;
  while (fd_ >= 0 && got < max) {
    const ssize_t n = ::read(fd_, into + got, max - got);
    if (n > 0) {
      got += std::size_t(n);
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  return got;
}

void RiffReader::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace orvis
