#pragma once
// SMTP over libcurl: implicit TLS on port 465, STARTTLS whenever the server
// offers it, certificates verified against the system's authorities (and a
// CA file when one is named), SMTP-AUTH only over TLS. Every wait is
// bounded, so the program always ends.

#include <string>

#include "smtp_transport.h"

namespace orvis::alertmail {

struct TransportLimits {
  long connectTimeoutMs = 30000;  // TCP connect up to the server's greeting
  long messageTimeoutMs = 60000;  // one message, connection set-up included
  std::string caFile;             // extra CA bundle (empty: system only)
};

class CurlSmtpTransport : public SmtpTransport {
 public:
  CurlSmtpTransport(const AlertSettings& settings, const TransportLimits& limits);
  ~CurlSmtpTransport() override;  // QUIT, bounded by the reply time-out
  CurlSmtpTransport(const CurlSmtpTransport&) = delete;
  CurlSmtpTransport& operator=(const CurlSmtpTransport&) = delete;

  SendOutcome send(const std::string& from, const std::string& to,
                   const std::string& message) override;

  // Where the transport connects, for the log: "smtp://host:port/ehlo".
  const std::string& url() const { return url_; }

  // Filled from libcurl's dialogue callback while a message goes out.
  struct Dialogue {
    std::string lastReply;      // last reply line of the server
    int lastCode = 0;           // its code
    bool mailFromSent = false;  // this message's own commands have begun
    bool quitSent = false;      // replies from here on are the farewell
    bool encrypted = false;     // the current connection runs over TLS
  };

 private:
  void* curl_ = nullptr;  // CURL*, kept out of the header
  AlertSettings settings_;
  std::string url_;
  Dialogue dialogue_;
};

}  // namespace orvis::alertmail
