#pragma once
// SMTP over libcurl: implicit TLS on port 465, STARTTLS whenever the server
// offers it, certificates verified against the system's authorities (and a
// CA file when one is named), SMTP-AUTH only over TLS. libcurl opens the
// session (greeting, EHLO, STARTTLS, AUTH); the messages go over it as
// SmtpExchange says, so that a refused recipient costs the session nothing.
// Every wait is bounded, so the program always ends.

#include <string>

#include "mail/mailer_limits.h"
#include "smtp_channel.h"
#include "smtp_exchange.h"
#include "smtp_transport.h"

namespace orvis::alertmail {

struct TransportLimits {
  long connectTimeoutMs = mail::kAlertConnectTimeoutMs;
  long messageTimeoutMs = mail::kAlertMessageTimeoutMs;
  long quitTimeoutMs = mail::kAlertQuitTimeoutMs;
  std::string caFile;  // extra CA bundle (empty: system only)
};

class CurlSmtpTransport : public SmtpTransport, private SmtpChannel {
 public:
  CurlSmtpTransport(const AlertSettings& settings, const TransportLimits& limits);
  ~CurlSmtpTransport() override;  // QUIT on a session that still stands
  CurlSmtpTransport(const CurlSmtpTransport&) = delete;
  CurlSmtpTransport& operator=(const CurlSmtpTransport&) = delete;

  SendOutcome send(const std::string& from, const std::string& to,
                   const std::string& message) override;

  // Where the transport connects, for the log: "smtp://host:port/ehlo".
  const std::string& url() const { return url_; }

  // Filled from libcurl's dialogue callback while the session is opened.
  struct Dialogue {
    std::string lastReply;   // last reply line of the server
    int lastCode = 0;        // its code
    bool encrypted = false;  // the connection runs over TLS
  };

 private:
  // Opens the session; an outcome other than Accepted when it cannot be had.
  SendOutcome open(long long deadlineMs);
  Io write(std::string_view bytes, long long deadlineMs) override;
  Io read(std::string& into, long long deadlineMs) override;
  // Waits until the socket is ready for `events` (poll flags).
  Io waitFor(short events, long long deadlineMs);

  void* curl_ = nullptr;  // CURL*, kept out of the header
  AlertSettings settings_;
  TransportLimits limits_;
  std::string url_;
  Dialogue dialogue_;
  bool opened_ = false;
  SmtpExchange exchange_{*this};
};

}  // namespace orvis::alertmail
