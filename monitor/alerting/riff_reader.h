#pragma once
// Reads the samples of a RIFF/WAVE file: opens it, descends into the RIFF
// form "WAVE", finds the chunk "data" and then reads on from its first byte
// to the end of the file, so that whatever follows the data chunk sounds
// too. The format chunk is never looked at. Plain system calls: reading
// allocates nothing.

#include <cstddef>
#include <string>

namespace orvis {

class RiffReader {
 public:
  RiffReader() = default;
  ~RiffReader() { close(); }
  RiffReader(const RiffReader&) = delete;
  RiffReader& operator=(const RiffReader&) = delete;

  // True when the file is open at the first byte of its data chunk; false
  // (and closed) when it cannot be read or is no RIFF/WAVE file with one.
  bool open(const std::string& path);
  // Up to `max` bytes; fewer only at the end of the file; 0 when closed.
  std::size_t read(std::byte* into, std::size_t max);
  void close();
  bool isOpen() const { return fd_ >= 0; }

 private:
  bool readExactly(void* into, std::size_t bytes);
  bool findDataChunk();

  int fd_ = -1;
};

}  // namespace orvis
