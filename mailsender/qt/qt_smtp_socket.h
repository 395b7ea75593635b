#pragma once
// SmtpSocket over QTcpSocket. Qt reports some events from inside the call
// that caused them (a refused connect, a close); they are posted to the
// event loop instead, so that a handler of the session never starts inside
// another one's call, as with the asynchronous socket the program was built
// on. Handlers do run inside one another where a handler lets the event
// loop run, as they always did. Data is handed over as soon as it arrives:
// a run is a long chain of small round trips.
//
// Qt reports a connection reset by the peer, and a write that fails, with
// the same error as an orderly close by the peer. They are told apart by the
// state of the connection: the adapter keeps a second descriptor of the
// connected socket, so the connection stays there to be looked at after Qt
// has let go of its own.

#include <QTcpSocket>
#include <cstdint>

#include "mailsender/smtp_socket.h"

namespace orvis::postiva {

class QtSmtpSocket : public SmtpSocket {
 public:
  QtSmtpSocket();
  ~QtSmtpSocket() override;

  void setListener(SmtpSocketEvents* listener) override { listener_ = listener; }
  void open(const std::string& host, int port) override;
  void send(const std::string& text) override;
  std::string readAll() override;
  void close() override;

  // At the program's end: lets what is still queued go out (waiting at most
  // `timeoutMs`), then drops the connection without reporting anything.
  void finish(int timeoutMs);

 private:
  // Runs `event` from the event loop, unless the connection it belongs to
  // has been closed or replaced by then.
  template <typename Event>
  void post(Event event);
  void deliverRead();
  // True when the connection ended by a reset rather than the peer's close.
  bool wasReset() const;
  void releaseWitness();

  QTcpSocket socket_;
  SmtpSocketEvents* listener_ = nullptr;
  uint64_t connection_ = 0;   // which open() the pending events belong to
  bool closedByUs_ = true;    // nothing is reported after our own close
  bool established_ = false;  // connected, and its end not reported yet
  int delivering_ = 0;        // a handler of ours is running
  int witness_ = -1;          // our own descriptor of the connected socket
};

}  // namespace orvis::postiva
