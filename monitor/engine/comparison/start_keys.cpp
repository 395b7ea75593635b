#include "monitor/engine/comparison/start_keys.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvis {

StartKeys::StartKeys(unsigned enabled) {
  static_assert(kStartTestCount == 8, "one byte of the mask per window");
  const auto& tests = startTests();
  for (std::size_t k = 0; k < kStartTestCount; ++k) {
    if (!(enabled & (1u << k))) continue;
    const StartTest& test = tests[k];
    const std::size_t length = test.start.size();
    const bool tag = test.form != StartForm::Attribute;
    // A '<' at most length - 2 bytes before the newest; a quote with room
    // for the length - 1 bytes of the start before it in the window.
    const std::size_t from = tag ? StartWindow::kCapacity + 1 - length
                                 : StartWindow::kCapacity - test.window + length - 1;
    for (std::size_t j = 0; j < StartWindow::kCapacity; ++j) {
      keys_[8 * k + j] = static_cast<unsigned char>(tag ? '<' : test.quote);
      if (j >= from) places_ |= std::uint64_t{1} << (8 * k + j);
    }
  }
}

std::uint64_t StartKeys::in(const std::array<StartWindow, kStartTestCount>& windows) const {
  std::uint64_t found = 0;
#if defined(__SSE2__)
  for (std::size_t pair = 0; pair < kStartTestCount / 2; ++pair) {
    const __m128i words = _mm_set_epi64x(static_cast<long long>(windows[2 * pair + 1].word()),
                                         static_cast<long long>(windows[2 * pair].word()));
    const __m128i keys = _mm_load_si128(reinterpret_cast<const __m128i*>(keys_.data() + 16 * pair));
    found |= static_cast<std::uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(words, keys)))
             << (16 * pair);
  }
#else
  for (std::size_t k = 0; k < kStartTestCount; ++k) {
    // The top bit of each equal byte, gathered into the window's byte of
    // the mask.
    const std::uint64_t equal =
        StartWindow::equalBytes(windows[k].word(), static_cast<char>(keys_[8 * k]));
    found |= (((equal >> 7) * 0x0102040810204080ull) >> 56) << (8 * k);
  }
#endif
  return found & places_;
}

}  // namespace orvis
