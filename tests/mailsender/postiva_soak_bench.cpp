// A long Postiva run: 10,000 recipients in one list, sent over the real
// socket to a scripted server on loopback. Prints the resident memory after
// 10 messages and after the last; the goal is growth under 1 MB. The
// figures are printed, not judged.

#include <chrono>
#include <cstdio>
#include <string>

#include "scripted_smtp_server.h"
#include "session_harness.h"
#include "support/process_memory.h"

using namespace orvis::testing;

namespace {

constexpr int kMessages = 10000;
const char* const kAddress = "127.0.0.61";

}  // namespace

int main() {
  ensureQtApplication();
  ScriptedSmtpServer server(kAddress);
  if (!server.listening()) {
    std::printf("cannot listen on %s:25; skipped\n", kAddress);
    return 0;
  }
  SessionHarness h(kAddress);
  std::vector<std::string> list;
  for (int i = 0; i < kMessages; ++i) list.push_back("r" + std::to_string(i) + "@rcpt.test,0");
  h.writeList(list);
  h.writeMessage("0", "件名", {"本文の一行目", "二行目"});
  if (!h.start()) {
    std::printf("Postiva did not start\n");
    return 1;
  }
  const auto began = std::chrono::steady_clock::now();
  long delivered = 0, at10 = 0;
  h.session().passTimer().fire();
  // The server's own records are the test's, not Postiva's: counted and let go.
  runEventsUntil(
      [&] {
        delivered += static_cast<long>(server.messages.size());
        server.messages.clear();
        server.received.clear();
        server.commands.clear();
        h.view.statuses.clear();
        h.view.messages.clear();
        h.view.busy.clear();
        if (at10 == 0 && delivered >= 10) at10 = processMemoryKb("VmRSS");
        return h.ended();
      },
      600000);
  const long atEnd = processMemoryKb("VmRSS");
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  std::printf("%ld of %d messages accepted in %.1f s (%.2f ms each)\n", delivered, kMessages,
              seconds, seconds * 1000 / kMessages);
  std::printf("resident memory: %ld kB after 10 messages, %ld kB after the last, growth %ld kB\n",
              at10, atEnd, atEnd - at10);
  return delivered == kMessages ? 0 : 1;
}
