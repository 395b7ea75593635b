#pragma once
// The client connection Postiva talks SMTP over. Every event reaches the
// listener later, from the host's event loop, never from inside a call of
// the socket; the one exception is close(), which reports the end of an
// open connection at once, as the program's own close always did.

#include <string>

namespace orvis::postiva {

class SmtpSocketEvents {
 public:
  virtual ~SmtpSocketEvents() = default;
  virtual void onConnected() = 0;
  // New data to read.
  virtual void onDataReceived() = 0;
  // The connection ended: closed by the server, or by close().
  virtual void onDisconnected() = 0;
  // Name lookup, connect or transfer failure.
  virtual void onSocketError() = 0;
};

class SmtpSocket {
 public:
  virtual ~SmtpSocket() = default;
  virtual void setListener(SmtpSocketEvents* listener) = 0;
  // Starts connecting without blocking; an open connection is dropped first.
  virtual void open(const std::string& host, int port) = 0;
  // Queues the text; every text goes out whole and in order. Ignored when
  // there is no connection.
  virtual void send(const std::string& text) = 0;
  // Everything that has arrived and was not read yet.
  virtual std::string readAll() = 0;
  // Hands what is queued to the network, then ends the connection.
  virtual void close() = 0;
};

}  // namespace orvis::postiva
