// The alarm player's RIFF reader on any file: it opens exactly the files
// whose chunks lead to a "data" chunk before the end, and then reads every
// byte from the first one of that chunk to the end of the file, in pieces
// of any size, then nothing more.
//
// Input: the file; the last byte also sets the size of the pieces read.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "fuzz_check.h"
#include "monitor/alerting/riff_reader.h"

namespace {

std::uint64_t littleEndian(const std::uint8_t* b) {
  return b[0] | b[1] << 8 | b[2] << 16 | std::uint64_t(b[3]) << 24;
}

// Where the samples start, by walking the chunks of the form.
std::optional<std::size_t> dataStart(const std::uint8_t* file, std::size_t size) {
  if (size < 12 || std::memcmp(file, "RIFF", 4) != 0 || std::memcmp(file + 8, "WAVE", 4) != 0)
    return std::nullopt;
  std::uint64_t at = 12;
  while (at + 8 <= size) {
    if (std::memcmp(file + at, "data", 4) == 0) return at + 8;
    const std::uint64_t length = littleEndian(file + at + 4);
    at += 8 + length + (length & 1);
  }
  return std::nullopt;
}

// One file in memory for the whole run, rewritten for every input.
const std::string& memoryFile() {
  static const std::string path = [] {
    const int fd = memfd_create("riff", 0);
    FUZZ_REQUIRE(fd >= 0);
    return "/proc/self/fd/" + std::to_string(fd);
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = memoryFile();
  const int fd = std::stoi(path.substr(path.rfind('/') + 1));
  FUZZ_REQUIRE(ftruncate(fd, 0) == 0);
  FUZZ_REQUIRE(pwrite(fd, data, size, 0) == static_cast<ssize_t>(size));

  orvis::RiffReader reader;
  const std::optional<std::size_t> start = dataStart(data, size);
  FUZZ_REQUIRE(reader.open(path) == start.has_value());
  FUZZ_REQUIRE(reader.isOpen() == start.has_value());
  std::string samples;
  const std::size_t piece = size == 0 ? 1 : 1 + data[size - 1] % 64;
  std::byte buffer[64];
  for (std::size_t got; (got = reader.read(buffer, piece)) > 0;) {
    FUZZ_REQUIRE(got == piece || reader.read(buffer, piece) == 0);
    samples.append(reinterpret_cast<const char*>(buffer), got);
  }
  if (start) {
    FUZZ_REQUIRE(samples ==
                 std::string(reinterpret_cast<const char*>(data) + *start, size - *start));
  }
  reader.close();
  FUZZ_REQUIRE(reader.read(buffer, piece) == 0);
  return 0;
}
