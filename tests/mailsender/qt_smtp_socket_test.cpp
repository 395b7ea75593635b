// The socket adapter: texts go out whole and in order, our own close is
// reported at once and only once, data is never held back.

#include "mailsender/qt/qt_smtp_socket.h"

#include <gtest/gtest.h>

#include "scripted_smtp_server.h"
#include "session_harness.h"

using namespace orvis::testing;
using orvis::postiva::QtSmtpSocket;

namespace {

class Recorder : public orvis::postiva::SmtpSocketEvents {
 public:
  explicit Recorder(QtSmtpSocket& socket) : socket_(socket) {}
  void onConnected() override { events.push_back("connect"); }
  void onDataReceived() override {
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    events.push_back("read:" + socket_.readAll());
    if (onRead) onRead();
    --depth;
  }
  void onDisconnected() override { events.push_back("disconnect"); }
  void onSocketError() override { events.push_back("error"); }

  std::vector<std::string> events;
  std::function<void()> onRead;
  int depth = 0, maxDepth = 0;

 private:
  QtSmtpSocket& socket_;
};

}  // namespace

TEST(QtSmtpSocket, LargeTextsGoOutWholeAndInOrderAndCloseIsReportedAtOnce) {
  ensureQtApplication();
  ScriptedSmtpServer server("127.0.0.26");
  server.greeting = {};
  QtSmtpSocket socket;
  Recorder events(socket);
  socket.setListener(&events);
  socket.open("127.0.0.26", 25);
  ASSERT_TRUE(runEventsUntil([&] { return !events.events.empty(); }));
  ASSERT_EQ(events.events, (std::vector<std::string>{"connect"}));

  // Far more than the socket buffers hold at once.
  std::string first(4 << 20, 'a'), second(4 << 20, 'b');
  socket.send(first);
  socket.send(second);
  socket.send("\r\nQUIT\r\n");
  socket.close();
  EXPECT_EQ(events.events.back(), "disconnect");
  ASSERT_TRUE(
      runEventsUntil([&] { return server.received.size() >= 2 * first.size() + 8; }, 20000));
  EXPECT_EQ(server.received, first + second + "\r\nQUIT\r\n");
  runEventsUntil([] { return false; }, 100);
  EXPECT_EQ(events.events.size(), 2u);  // nothing after our own close
}

TEST(QtSmtpSocket, DataArrivingWhileAHandlerLetsEventsRunIsDeliveredThen) {
  ensureQtApplication();
  ScriptedSmtpServer server("127.0.0.27");
  server.greeting = {{"220 one\r\n"}, {"250 two\r\n", 50}};
  QtSmtpSocket socket;
  Recorder events(socket);
  bool pumped = false;
  events.onRead = [&] {
    // As a handler that lets the window's messages run while the second
    // reply comes in; it must not be held back until more data arrives.
    if (pumped) return;
    pumped = true;
    runEventsUntil([&] { return events.events.size() >= 3; }, 2000);
  };
  socket.setListener(&events);
  socket.open("127.0.0.27", 25);
  ASSERT_TRUE(runEventsUntil([&] { return events.events.size() >= 3; }));
  EXPECT_EQ(events.events,
            (std::vector<std::string>{"connect", "read:220 one\r\n", "read:250 two\r\n"}));
  EXPECT_EQ(events.maxDepth, 2);
}

TEST(QtSmtpSocket, ServerCloseIsADisconnectNotAnError) {
  ensureQtApplication();
  ScriptedSmtpServer server("127.0.0.28");
  server.greeting = {{"220 bye\r\n"}, {"", 0, true}};
  QtSmtpSocket socket;
  Recorder events(socket);
  socket.setListener(&events);
  socket.open("127.0.0.28", 25);
  ASSERT_TRUE(runEventsUntil([&] { return events.events.size() >= 3; }));
  runEventsUntil([] { return false; }, 100);
  EXPECT_EQ(events.events, (std::vector<std::string>{"connect", "read:220 bye\r\n", "disconnect"}));
  socket.close();  // already ended: not reported again
  EXPECT_EQ(events.events.size(), 3u);
  socket.send("QUIT\r\n");  // nothing to send on: ignored
}
