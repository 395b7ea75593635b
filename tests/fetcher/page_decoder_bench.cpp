// How long urlcheck takes to turn a downloaded page into Shift-JIS, for
// pages made of one kind of character each, from 4 MiB up to the largest
// page it takes. Prints figures; never fails on a time.

#include <chrono>
#include <cstdio>
#include <string>

#include "fetcher/page_decoder.h"

namespace {

struct Sample {
  const char* name;
  const char* character;  // UTF-8
  const char* contentType;
};

std::string pageOf(const char* character, size_t bytes) {
  std::string page;
  page.reserve(bytes);
  while (page.size() < bytes) page += character;
  return page;
}

}  // namespace

int main() {
  const Sample samples[] = {
      {"Japanese (all in Shift-JIS)", "\xE6\x97\xA5", "text/html; charset=utf-8"},
      {"Korean (none in Shift-JIS)", "\xED\x95\x9C", "text/html; charset=utf-8"},
      {"emoji (none in Shift-JIS)", "\xF0\x9F\x98\x80", "text/html"},
      {"ASCII", "a", "text/html; charset=utf-8"},
  };
  std::printf("%-30s %8s %10s %10s\n", "page", "MiB", "seconds", "MiB/s");
  for (size_t mib : {4, 64}) {
    for (const Sample& sample : samples) {
      std::string body = pageOf(sample.character, mib << 20);
      auto start = std::chrono::steady_clock::now();
      orvis::fetcher::DecodedPage page = orvis::fetcher::decodePage(body, sample.contentType);
      double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      std::printf("%-30s %8zu %10.3f %10.1f  (%zu bytes out, %s)\n", sample.name, mib, seconds,
                  mib / seconds, page.bytes.size(), page.source.c_str());
    }
  }
  return 0;
}
