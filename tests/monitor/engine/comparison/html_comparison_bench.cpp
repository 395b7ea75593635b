// How long the page comparison takes over two 100 MB pages read from files,
// beside `cmp` reading the same amount: equal pages with no region passed
// over (goal: at most twice cmp's time), and pages full of scripts,
// comments, anchors, src and alt values and heads that differ inside those
// regions, with every skip on (goal: at most four times cmp's time). The
// figures are printed, not judged.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "monitor/engine/comparison/html_source_comparison.h"
#include "monitor/engine/comparison/stream_source.h"
#include "support/temp_dir.h"

namespace {

using namespace orvis;

// The machine is shared, so the processor time spent (by this process or
// by the child it runs) is the fairer figure; the wall time is shown too.
struct Timing {
  double wallMs = 1e300, cpuMs = 1e300;
};

double cpuMs(int who) {
  rusage usage{};
  ::getrusage(who, &usage);
  auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

template <typename F>
Timing bestOfThree(int who, F f) {
  Timing best;
  for (int i = 0; i < 3; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = cpuMs(who);
    f();
    best.cpuMs = std::min(best.cpuMs, cpuMs(who) - cpuStart);
    best.wallMs =
        std::min(best.wallMs,
                 std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count());
  }
  return best;
}

// One item of a page; `visit` changes only what lies inside the regions
// that can be passed over.
std::string item(long n, int visit) {
  const std::string i = std::to_string(n), v = std::to_string(visit);
  const std::string stamp = visit ? "12:00:0" + v : "11:59:59";
  return "<head><title>Page " + i + " visit " + v + "</title><meta name=\"t\" content=\"" + i +
         "\"></head>\r\n<div class=\"item\" id=\"n" + i +
         "\">\r\n<script type=\"text/javascript\">var stamp = " + std::to_string(n * 7 + visit) +
         "; track('" + std::string(visit + 1, 'a') + "');</script>\r\n<!-- served " + stamp +
         " by node " + v + " -->\r\n<p>Text of item " + i +
         " that stays the same from one visit to the next.</p>\r\n<a href=\"/item/" + i +
         "?s=" + v + "\">Item " + i + "</a>\r\n<img src=\"/img/" + i + ".gif?" + v +
         "\" alt=\"Picture " + i + " " + v + "\"> <img src='/s/" + i + ".png' alt='x" + v +
         "'>\r\n</div>\r\n";
}

// Writes items until the page has `bytes` bytes, or `items` items when
// that is given; returns the number of items.
long writePage(const std::string& path, std::size_t bytes, int visit, long items = -1) {
  std::ofstream out(path, std::ios::binary);
  std::string chunk;
  std::size_t written = 0;
  long n = 0;
  for (; items < 0 ? written + chunk.size() < bytes : n < items; ++n) {
    chunk += item(n, visit);
    if (chunk.size() >= (1 << 20)) {
      out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
      written += chunk.size();
      chunk.clear();
    }
  }
  out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
  return n;
}

struct Discard : ComparisonSink {
  void writeLog(std::string_view) override { ++lines; }
  void progress(std::uint64_t, std::optional<std::uint64_t>) override { ++reports; }
  long lines = 0, reports = 0;
};

ComparisonResult compareFiles(const std::string& a, const std::string& b, const SkipSwitches& on,
                              Discard& sink) {
  std::ifstream baseline(a, std::ios::binary), snapshot(b, std::ios::binary);
  StreamSource bs(baseline), ss(snapshot);
  return HtmlSourceComparison(on, sink).compare(bs, ss);
}

Timing cmpTiming(const std::string& a, const std::string& b) {
  const std::string command = "cmp -s '" + a + "' '" + b + "'";
  int status = 0;
  const Timing t = bestOfThree(RUSAGE_CHILDREN, [&] { status = std::system(command.c_str()); });
  if (status != 0) std::fprintf(stderr, "cmp found the files different: %d\n", status);
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  const std::size_t bytes = megabytes << 20;
  testing::TempDir dir;
  const std::string first = dir / "first.html", copy = dir / "copy.html",
                    second = dir / "second.html";
  // The same items on both visits: the second visit's regions are longer.
  const long items = writePage(first, bytes, 0);
  writePage(copy, bytes, 0, items);
  writePage(second, bytes, 1, items);

  const Timing cmp = cmpTiming(first, copy);
  std::printf("page size: %zu MB; times are the best of three, processor (wall)\n", megabytes);
  std::printf("%-34s%7.1f ms (%6.1f ms)\n", "cmp, equal pages:", cmp.cpuMs, cmp.wallMs);

  auto run = [&](const char* label, const std::string& other, const SkipSwitches& on, double goal) {
    Discard sink;
    ComparisonResult result;
    const Timing t =
        bestOfThree(RUSAGE_SELF, [&] { result = compareFiles(first, other, on, sink); });
    std::printf("%-34s%7.1f ms (%6.1f ms), %.2f x cmp", label, t.cpuMs, t.wallMs,
                t.cpuMs / cmp.cpuMs);
    if (goal > 0) std::printf(" (goal: at most %.0f)", goal);
    // Two log lines per region passed over.
    const long regions = sink.lines / 3 / 2;
    std::printf("; result %d, %llu pairs compared", result.code(),
                static_cast<unsigned long long>(result.counter));
    if (regions > 0) std::printf(", a region every %ld bytes", static_cast<long>(bytes) / regions);
    std::printf("\n");
  };
  run("comparison, equal, no skips:", copy, SkipSwitches(), 2);
  run("comparison, equal, all skips:", copy, SkipSwitches::all(), 0);
  run("comparison, regions differ, all:", second, SkipSwitches::all(), 4);
  return 0;
}
