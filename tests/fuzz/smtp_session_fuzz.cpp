// Postiva's SMTP session against a server that may send anything, in any
// pieces, at any moment: through a socket that follows the rules of the
// program's own (events come from the event loop; close() reports the end
// of an open connection at once) and timers that fire when the input says,
// also while the session lets queued events run.
//
// Whatever the server does, the session ends the program at most once and
// touches the connection no more after that, never leaves the program
// waiting on nothing (while it runs, a timer is on or a connection is being
// made), never records a recipient's message as sent twice, and ends with
// success only when every recipient of the list has been sent the message.
// The test send is only driven: its retry is a pass over the list, so what
// it ends with says nothing about the list.
//
// Input: a byte of set-up (which list lines, the retry count, the pause,
// a test send), then events: one byte each (connected, server bytes, server
// bytes repeated, one of the usual replies, the server's close, a socket
// error, the watchdog, the pass timer, an abort), with their bytes after
// them. Each time the session lets events run, a byte says whether one more
// event comes in there.

#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "mailsender/mail_logs.h"
#include "mailsender/smtp_session.h"
#include "platform/bytes.h"
#include "platform/files.h"

using namespace orvis;
using namespace orvis::postiva;

namespace {

// The work folder with the message files of mail types 0 and 1; type 2 has
// a subject but no body.
struct WorkFolder {
  std::string program;
  std::string work;

  WorkFolder() {
    std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = base + "/orvis-smtp-fuzz-XXXXXX";
    FUZZ_REQUIRE(mkdtemp(pattern.data()) != nullptr);
    program = pattern + "/";
    work = program + "mail";
    FUZZ_REQUIRE(platform::makeFolders(work));
    write("Subject-0.txt", "\x8c\x8f\x96\xbc\r\n");  // 件名
    write("Body-0.txt", "first\r\n.\r\n..two\r\n\r\n\x96\x7b\x95\xb6\r\n");
    write("Subject-1.txt", "s\r\n");
    write("Body-1.txt", "b");
    write("Subject-2.txt", "s\r\n");
  }
  ~WorkFolder() { std::system(("rm -rf '" + program + "'").c_str()); }

  void write(const std::string& name, const std::string& bytes) {
    FUZZ_REQUIRE(platform::writeFile(work + "/" + name, bytes));
  }
};

const WorkFolder& workFolder() {
  static const WorkFolder folder;
  return folder;
}

// Unique addresses, so that a second message to one of them shows.
const char* const kLines[] = {
    "a@rcpt.test,0", "", "b@rcpt.test,1", ",0", " c@rcpt.test,0 ", "d@rcpt.test,2", "e@rcpt.test,",
    "f@rcpt.test,1"};

const char* const kReplies[] = {
    "220 ready\r\n", "250 ok\r\n",   "354 go on\r\n",        "221 bye\r\n",     "550 no\r\n",
    "220-wait\r\n",  "250-more\r\n", "220 hi\r\n250 ok\r\n", "421 closing\r\n", "250 ok"};

class FixedClock : public platform::Clock {
 public:
  platform::LocalTime now() const override { return {2026, 12, 7, 9, 5, 3, 42}; }
  void sleepMs(int) override {}
};

class QuietView : public PostivaView {
 public:
  void setCaption(const std::string&) override {}
  void setWorkFolderName(const std::string&) override {}
  void setStatus(const std::string&) override {}
  void setCountText(const std::string&) override {}
  void setBusy(bool) override {}
  void showMessage(const std::string&, const std::string&) override {}
};

class RecordingEnd : public ProgramEnd {
 public:
  void endProgram(int code) override {
    FUZZ_REQUIRE(calls++ == 0);
    exitCode = code;
  }
  int calls = 0;
  int exitCode = -1;
};

// The connection as the program's own socket keeps it.
class ScriptedSocket : public SmtpSocket {
 public:
  enum class State { Closed, Connecting, Open, ClosedByPeer };

  explicit ScriptedSocket(const RecordingEnd& end) : end_(end) {}
  void setListener(SmtpSocketEvents* listener) override { listener_ = listener; }
  void open(const std::string&, int port) override {
    FUZZ_REQUIRE(end_.calls == 0 && port == 25);
    state = State::Connecting;
    unread.clear();
  }
  void send(const std::string& text) override {
    FUZZ_REQUIRE(end_.calls == 0);
    if (state == State::Open) sent += text;
  }
  std::string readAll() override { return std::exchange(unread, std::string()); }
  void close() override {
    const bool report = state == State::Open;
    state = State::Closed;
    if (report && listener_) listener_->onDisconnected();
  }

  State state = State::Closed;
  std::string unread;
  std::string sent;

 private:
  const RecordingEnd& end_;
  SmtpSocketEvents* listener_ = nullptr;
};

class Run : public platform::Pump {
 public:
  Run(FuzzedDataProvider& input, Outbox& outbox, const PostivaSettings& settings)
      : input_(input),
        logs_(workFolder().program, "run", clock_),
        socket_(end_),
        session_(outbox, settings, workFolder().work, logs_,
                 SessionPorts{socket_, view_, *this, clock_, end_, stamps_}) {}

  SmtpSession& session() { return session_; }
  const RecordingEnd& end() const { return end_; }

  // One event from the input, as the event loop would deliver it.
  void nextEvent() {
    switch (input_.ConsumeIntegralInRange(0, 15)) {
      case 0:
      case 1:
        if (socket_.state != ScriptedSocket::State::Connecting) return;
        socket_.state = ScriptedSocket::State::Open;
        session_.onConnected();
        return;
      case 2:
      case 3:
        serverSends(input_.ConsumeRandomLengthString(300));
        return;
      case 4: {
        // A long read: a piece repeated, up to beyond the longest reply.
        const std::string piece = input_.ConsumeRandomLengthString(300);
        std::string bytes;
        for (int n = 1 + input_.ConsumeIntegral<std::uint8_t>(); n > 0; --n) bytes += piece;
        serverSends(bytes);
        return;
      }
      case 5:
      case 6:
      case 7:
      case 8:
      case 9:
        serverSends(input_.PickValueInArray(kReplies));
        return;
      case 10:
        if (socket_.state != ScriptedSocket::State::Open) return;
        socket_.state = ScriptedSocket::State::ClosedByPeer;
        session_.onDisconnected();
        return;
      case 11:
        if (socket_.state != ScriptedSocket::State::Connecting &&
            socket_.state != ScriptedSocket::State::Open)
          return;
        socket_.state = ScriptedSocket::State::Closed;
        session_.onSocketError();
        return;
      case 12:
        session_.watchdog().fire();
        return;
      case 13:
      case 14:
        session_.passTimer().fire();
        return;
      default:
        session_.abortOnRequest("SIGTERM");
        return;
    }
  }

  // The session lets queued events run: perhaps one comes in here.
  void processEvents() override {
    if (depth_ >= 3 || !input_.ConsumeBool()) return;
    ++depth_;
    nextEvent();
    --depth_;
  }

  // Whether the program, left alone now, would wait for ever.
  bool waitsOnNothing() {
    return !session_.ended() && !session_.passTimer().enabled() && !session_.watchdog().enabled() &&
           socket_.state != ScriptedSocket::State::Connecting;
  }

 private:
  void serverSends(const std::string& bytes) {
    if (socket_.state != ScriptedSocket::State::Open || bytes.empty()) return;
    socket_.unread += bytes;
    session_.onDataReceived();
  }

  FuzzedDataProvider& input_;
  FixedClock clock_;
  QuietView view_;
  RecordingEnd end_;
  mail::SystemMailStamps stamps_{"fuzz.invalid"};
  MailLogs logs_;
  ScriptedSocket socket_;
  SmtpSession session_;
  int depth_ = 0;
};

// The recipients the send log records a message for, by how many times.
std::map<std::string, int> sentTo(const std::string& sendLog) {
  std::map<std::string, int> sent;
  static const std::string kSent = "SEND OK   :";
  for (const std::string& line : platform::splitLines(sendLog)) {
    const std::size_t at = line.find(kSent);
    if (at != std::string::npos) ++sent[line.substr(at + kSent.size())];
  }
  return sent;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::uint8_t setup = input.ConsumeIntegral<std::uint8_t>();
  const std::uint8_t chosen = input.ConsumeIntegral<std::uint8_t>();
  const bool testSend = (setup & 0x80) != 0;

  Outbox outbox;
  std::set<std::string> recipients;
  for (std::size_t i = 0; i < std::size(kLines); ++i) {
    if ((chosen >> i & 1) == 0) continue;
    outbox.listLines.emplace_back(kLines[i]);
    const std::string line = platform::trim(kLines[i]);
    if (line.find(',') != 0 && !line.empty()) recipients.insert(line.substr(0, line.find(',')));
  }
  PostivaSettings settings;
  settings.server = "smtp.test";
  settings.clientName = "client.test";
  settings.senderName = "\x8a\xc4\x8e\x8b";  // 監視
  settings.senderAddress = "orvis@sender.test";
  settings.retry = setup & 3;
  settings.pauseInterval = setup >> 2 & 3;
  settings.pauseTime = 100;
  settings.pauseTimeText = "100";

  const std::string sendLog = workFolder().program + "sendlog/run/20261207.txt";
  const std::string sysLog = workFolder().program + "syslog/run/20261207.txt";
  {
    Run run(input, outbox, settings);
    if (testSend) {
      run.session().startTestSend();
    } else {
      run.session().start();
    }
    while (input.remaining_bytes() > 0 && !run.session().ended()) {
      run.nextEvent();
      FUZZ_REQUIRE(!run.waitsOnNothing());
    }
    if (run.session().ended()) {
      FUZZ_REQUIRE(!run.session().passTimer().enabled() && !run.session().watchdog().enabled());
    }

    const std::map<std::string, int> sent = sentTo(platform::readFile(sendLog).value_or(""));
    for (const auto& [address, times] : sent) FUZZ_REQUIRE(times == 1);
    // A test send that is retried goes on as a pass over the list, so only
    // a run that started with the list is known to have served it whole.
    if (!testSend && run.end().calls == 1 && run.end().exitCode == 0) {
      FUZZ_REQUIRE(sent.size() == recipients.size());
      for (const std::string& address : recipients) FUZZ_REQUIRE(sent.count(address) == 1);
    }
  }
  platform::removeFile(sendLog);
  platform::removeFile(sysLog);
  return 0;
}
