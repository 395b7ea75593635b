#pragma once
// Finds, in the baseline's bytes, the next byte that may begin a start or
// that no window takes in: a zero byte; a '<' followed by the second byte
// of an enabled tag start; a quote after "=" or a blank, for the attribute
// starts. Every other byte can be compared without a look at the windows.
// Many bytes at a time where the processor can.

#include <array>
#include <cstddef>
#include <string_view>

namespace orvis {

class StartFinder {
 public:
  // `seconds`: the bytes that may follow the '<' of an enabled tag start
  // (empty when none is enabled); `quotes`: whether attribute starts are.
  StartFinder(std::string_view seconds, bool quotes);

  // The first such byte in [from, n), or n. The byte before `region` is not
  // one the windows took in just before, so a quote there always counts;
  // bytes up to p + readable (at least n) may be read.
  std::size_t find(const char* p, std::size_t from, std::size_t n, std::size_t readable,
                   std::size_t region) const;

 private:
  bool stopsAt(const char* p, std::size_t at, std::size_t readable, std::size_t region) const;

  bool any_;
  bool quotes_;
  std::array<bool, 256> second_{};
  unsigned char seconds_[8] = {};
  int secondCount_ = 0;
  bool wide_ = false;  // the processor searches 32 bytes at a time
};

}  // namespace orvis
