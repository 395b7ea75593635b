#pragma once
// What the fuzz targets share: a check that stops the run with the
// condition that failed, so that libFuzzer keeps the input that broke it.

#include <cstdio>
#include <cstdlib>

namespace orvis::fuzzing {

[[noreturn]] inline void failed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: does not hold: %s\n", file, line, condition);
  std::abort();
}

}  // namespace orvis::fuzzing

#define FUZZ_REQUIRE(condition) \
  ((condition) ? void() : ::orvis::fuzzing::failed(#condition, __FILE__, __LINE__))
