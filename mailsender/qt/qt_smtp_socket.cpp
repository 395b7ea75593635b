#include "qt_smtp_socket.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QMetaObject>
#include <algorithm>

#include "platform/codec.h"

namespace orvis::postiva {

template <typename Event>
void QtSmtpSocket::post(Event event) {
  uint64_t connection = connection_;
  QMetaObject::invokeMethod(
      &socket_,
      [this, connection, event] {
        if (!listener_ || closedByUs_ || connection != connection_) return;
        ++delivering_;
        event(*listener_);
        --delivering_;
      },
      Qt::QueuedConnection);
}

QtSmtpSocket::QtSmtpSocket() {
  QObject::connect(&socket_, &QTcpSocket::connected, [this] {
    established_ = true;
    // Commands and replies alternate; never hold a command back for an ACK.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    releaseWitness();
    witness_ = ::fcntl(static_cast<int>(socket_.socketDescriptor()), F_DUPFD_CLOEXEC, 0);
    post([](SmtpSocketEvents& l) { l.onConnected(); });
  });
  // channelReadyRead, unlike readyRead, also reports data that arrives
  // while a handler lets events run; readyRead would keep it back until
  // more data came.
  QObject::connect(&socket_, &QTcpSocket::channelReadyRead, [this](int) {
    if (delivering_ == 0) {
      deliverRead();
    } else {
      post([this](SmtpSocketEvents&) { deliverRead(); });
    }
  });
  QObject::connect(&socket_, &QTcpSocket::disconnected, [this] {
    // Our descriptor would keep the connection half open; it goes once the
    // error that may come with this end has been looked at.
    uint64_t connection = connection_;
    QMetaObject::invokeMethod(
        &socket_,
        [this, connection] {
          if (connection == connection_) releaseWitness();
        },
        Qt::QueuedConnection);
    post([this](SmtpSocketEvents& l) {
      // Our own close may have reported this end already.
      if (!established_) return;
      established_ = false;
      l.onDisconnected();
    });
  });
  QObject::connect(&socket_, &QTcpSocket::errorOccurred, [this](QAbstractSocket::SocketError e) {
    bool reset = wasReset();
    releaseWitness();
    // The server's close is an ordinary end of the connection, reported
    // by `disconnected`; the dialogue's watchdog deals with it. A reset or
    // a failed write is a transfer error, and the connection it ended is
    // not reported again as closed.
    if (e == QAbstractSocket::RemoteHostClosedError && !reset) return;
    post([this](SmtpSocketEvents& l) {
      established_ = false;
      l.onSocketError();
    });
  });
}

QtSmtpSocket::~QtSmtpSocket() {
  closedByUs_ = true;
  listener_ = nullptr;
  releaseWitness();
  socket_.abort();
}

bool QtSmtpSocket::wasReset() const {
  if (witness_ < 0) return false;
  // After the peer's close the connection waits for ours (CLOSE_WAIT); a
  // reset, or a write the peer refused, has ended it altogether.
  tcp_info info{};
  socklen_t size = sizeof info;
  if (::getsockopt(witness_, IPPROTO_TCP, TCP_INFO, &info, &size) != 0) return false;
  return info.tcpi_state == TCP_CLOSE;
}

void QtSmtpSocket::releaseWitness() {
  if (witness_ >= 0) ::close(witness_);
  witness_ = -1;
}

void QtSmtpSocket::deliverRead() {
  // An earlier read may have taken these bytes already.
  if (!listener_ || closedByUs_ || socket_.bytesAvailable() == 0) return;
  ++delivering_;
  listener_->onDataReceived();
  --delivering_;
}

void QtSmtpSocket::open(const std::string& host, int port) {
  closedByUs_ = true;
  releaseWitness();
  if (socket_.state() != QAbstractSocket::UnconnectedState) socket_.abort();
  ++connection_;
  closedByUs_ = false;
  established_ = false;
  socket_.connectToHost(QString::fromStdString(platform::toUtf8(host)), static_cast<quint16>(port));
}

void QtSmtpSocket::send(const std::string& text) {
  if (closedByUs_ || socket_.state() != QAbstractSocket::ConnectedState) return;
  // QTcpSocket keeps whatever the network does not take at once and writes
  // it in order from the event loop, so no text is ever cut short.
  socket_.write(text.data(), static_cast<qint64>(text.size()));
  socket_.flush();
}

std::string QtSmtpSocket::readAll() {
  QByteArray bytes = socket_.readAll();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void QtSmtpSocket::close() {
  // Already closed by us: a close still writing out its last bytes goes on.
  if (closedByUs_) return;
  closedByUs_ = true;
  // The server may have closed first without that being reported yet; the
  // end is reported once, here, as the program's own close always was.
  bool report = established_;
  established_ = false;
  releaseWitness();
  if (socket_.state() == QAbstractSocket::ConnectedState) {
    socket_.flush();
    // Bytes the network did not take yet still go out before the FIN.
    socket_.disconnectFromHost();
  } else {
    socket_.abort();
  }
  if (report && listener_) listener_->onDisconnected();
}

void QtSmtpSocket::finish(int timeoutMs) {
  closedByUs_ = true;
  listener_ = nullptr;
  releaseWitness();
  QElapsedTimer clock;
  clock.start();
  while (socket_.bytesToWrite() > 0 && socket_.state() != QAbstractSocket::UnconnectedState) {
    qint64 left = timeoutMs - clock.elapsed();
    if (left <= 0 || !socket_.waitForBytesWritten(static_cast<int>(left))) break;
  }
  if (socket_.state() == QAbstractSocket::ConnectedState) socket_.disconnectFromHost();
  if (socket_.state() != QAbstractSocket::UnconnectedState) {
    socket_.waitForDisconnected(static_cast<int>(std::max<qint64>(0, timeoutMs - clock.elapsed())));
  }
  socket_.abort();
}

}  // namespace orvis::postiva
