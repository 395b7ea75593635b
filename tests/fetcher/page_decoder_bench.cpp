// How long urlcheck takes to turn a downloaded page into Shift-JIS, for pages
// of one kind of character each, from 4 MiB up to the largest page it takes.
// Prints figures; never fails on a time.

#include <chrono>
#include <cstdio>
#include <string>

#include "fetcher/page_decoder.h"

int main() {
  struct Sample {
    const char* name;
    const char* character;  // UTF-8
    const char* contentType;
  };
  const Sample samples[] = {
      {"Japanese (all in Shift-JIS)", "\xE6\x97\xA5", "text/html; charset=utf-8"},
      {"Korean (none in Shift-JIS)", "\xED\x95\x9C", "text/html; charset=utf-8"},
      {"emoji (none in Shift-JIS)", "\xF0\x9F\x98\x80", "text/html"},
      {"ASCII", "a", "text/html; charset=utf-8"},
  };
  std::printf("%-30s %8s %10s %10s\n", "page", "MiB", "seconds", "MiB/s");
  for (size_t mib : {4, 64}) {
    for (const Sample& sample : samples) {
      std::string body;
      while (body.size() < (mib << 20)) body += sample.character;
      auto start = std::chrono::steady_clock::now();
      auto page = orvis::fetcher::decodePage(body, sample.contentType);
      double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      std::printf("%-30s %8zu %10.3f %10.1f  (%zu bytes out)\n", sample.name, mib, s, mib / s,
                  page.bytes.size());
    }
  }
  return 0;
}
