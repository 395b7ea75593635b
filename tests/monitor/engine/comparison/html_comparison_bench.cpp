// How long the page comparison takes over two 100 MB pages read from files,
// beside `cmp` reading the same amount: equal pages with no region passed
// over (goal: at most twice cmp's time), and pages full of scripts,
// comments, anchors, src and alt values and heads that differ inside those
// regions, with every skip on (goal: at most four times cmp's time). The
// figures are printed, not judged.
//
// Fair to cmp: every file is read once before any timing, so that all runs
// find them in the page cache; cmp is started directly (no shell), and the
// time it takes to start and stop on two empty files is taken off its
// figure, since the comparison runs inside this process. The runs take
// turns, three rounds, and each keeps its best round.

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "monitor/engine/comparison/html_source_comparison.h"
#include "monitor/engine/comparison/stream_source.h"
#include "support/temp_dir.h"

extern char** environ;

namespace {

using namespace orvis;

// The machine is shared, so the processor time spent (by this process or
// by the child it runs) is the fairer figure; the wall time is shown too.
struct Timing {
  double cpuMs = 1e300, wallMs = 1e300;
};

double cpuMs(int who) {
  rusage usage{};
  ::getrusage(who, &usage);
  auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Runs f once and keeps the better times in `best`.
void timeOnce(int who, Timing& best, const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = cpuMs(who);
  f();
  best.cpuMs = std::min(best.cpuMs, cpuMs(who) - cpuStart);
  best.wallMs = std::min(
      best.wallMs,
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
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

// cmp's exit status on the two files, started without a shell.
int runCmp(const std::string& a, const std::string& b) {
  std::string name = "cmp", quiet = "-s", first = a, second = b;
  char* argv[] = {name.data(), quiet.data(), first.data(), second.data(), nullptr};
  pid_t child = 0;
  if (::posix_spawnp(&child, "cmp", nullptr, nullptr, argv, environ) != 0) return -1;
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Reads the whole file, so that its pages are in the cache.
void warm(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> buffer(1 << 20);
  while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
  }
}

struct Case {
  Case(const char* label, const std::string& snapshot, SkipSwitches on, double goal)
      : label(label), snapshot(&snapshot), on(on), goal(goal) {}
  const char* label;
  const std::string* snapshot;
  SkipSwitches on;
  double goal;  // times cmp's work; 0 for none
  Timing time;
  ComparisonResult result;
  long regions = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  const std::size_t bytes = megabytes << 20;
  testing::TempDir dir;
  const std::string first = dir / "first.html", copy = dir / "copy.html",
                    second = dir / "second.html", empty = dir / "empty.html";
  // The same items on both visits: the second visit's regions are longer.
  const long items = writePage(first, bytes, 0);
  writePage(copy, bytes, 0, items);
  writePage(second, bytes, 1, items);
  std::ofstream{empty};
  for (const std::string* path : {&first, &copy, &second}) warm(*path);
  if (runCmp(first, copy) != 0) std::fprintf(stderr, "cmp found the copy different\n");

  std::vector<Case> cases = {
      {"equal, no skips", copy, SkipSwitches(), 2},
      {"equal, all skips", copy, SkipSwitches::all(), 0},
      {"regions differ, all skips", second, SkipSwitches::all(), 4},
  };
  Timing cmp, cmpStart;
  for (int round = 0; round < 3; ++round) {
    timeOnce(RUSAGE_CHILDREN, cmp, [&] { runCmp(first, copy); });
    timeOnce(RUSAGE_CHILDREN, cmpStart, [&] { runCmp(empty, empty); });
    for (Case& c : cases) {
      Discard sink;
      timeOnce(RUSAGE_SELF, c.time,
               [&] { c.result = compareFiles(first, *c.snapshot, c.on, sink); });
      // Two log lines per region passed over, and "Good code.".
      c.regions = (sink.lines - 1) / 2;
    }
  }
  const double cmpWork = cmp.cpuMs - cmpStart.cpuMs;

  std::printf("page size: %zu MB; processor time (wall time), best of three rounds\n", megabytes);
#if defined(__SANITIZE_ADDRESS__) || !defined(__OPTIMIZE__)
  std::printf("(a sanitizer or unoptimised build: these times say nothing of the goals)\n");
#endif
  std::printf("  %-27s %8.1f ms (%7.1f ms)\n", "cmp, equal pages", cmp.cpuMs, cmp.wallMs);
  std::printf("  %-27s %8.1f ms (%7.1f ms)\n", "cmp, start and stop only", cmpStart.cpuMs,
              cmpStart.wallMs);
  std::printf("  %-27s %8.1f ms: the measure below\n", "cmp's work", cmpWork);
  for (const Case& c : cases) {
    const double ratio = c.time.cpuMs / cmpWork;
    std::printf("  %-27s %8.1f ms (%7.1f ms) = %4.2f x cmp", c.label, c.time.cpuMs, c.time.wallMs,
                ratio);
    if (c.goal > 0)
      std::printf(" (goal: at most %.0f x, %s)", c.goal, ratio <= c.goal ? "met" : "NOT MET");
    std::printf("\n  %-27s result %d, %llu pairs compared", "", c.result.code(),
                static_cast<unsigned long long>(c.result.counter));
    if (c.regions > 0)
      std::printf(", %ld regions, one every %ld bytes", c.regions,
                  static_cast<long>(bytes) / c.regions);
    std::printf("\n");
  }
  return 0;
}
