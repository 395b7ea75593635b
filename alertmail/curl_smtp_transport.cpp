#include "curl_smtp_transport.h"

#include <curl/curl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/bytes.h"
#include "platform/codec.h"

namespace orvis::alertmail {

namespace {

constexpr int kImplicitTlsPort = 465;

struct Upload {
  const std::string& message;
  size_t offset = 0;
};

size_t readMessage(char* buffer, size_t size, size_t count, void* userdata) {
  auto* upload = static_cast<Upload*>(userdata);
  size_t n = std::min(size * count, upload->message.size() - upload->offset);
  std::memcpy(buffer, upload->message.data() + upload->offset, n);
  upload->offset += n;
  return n;
}

// libcurl rewinds when it has to send the message again on a new
// connection.
int seekMessage(void* userdata, curl_off_t offset, int origin) {
  auto* upload = static_cast<Upload*>(userdata);
  if (origin != SEEK_SET || offset < 0 || static_cast<size_t>(offset) > upload->message.size()) {
    return CURL_SEEKFUNC_CANTSEEK;
  }
  upload->offset = static_cast<size_t>(offset);
  return CURL_SEEKFUNC_OK;
}

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// Control characters would break the one-line logs the cause goes into; a
// server's or library's text in UTF-8 becomes the log's CP932.
std::string oneLine(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return platform::peerTextToCp932(platform::trim(out));
}

// Watches the dialogue without keeping what goes out: AUTH lines carry the
// password.
int watchDialogue(CURL*, curl_infotype type, char* data, size_t size, void* userdata) {
  auto* d = static_cast<CurlSmtpTransport::Dialogue*>(userdata);
  std::string_view text(data, size);
  switch (type) {
    case CURLINFO_TEXT:
      if (startsWith(text, "Connected to")) d->encrypted = false;
      if (startsWith(text, "SSL connection using")) d->encrypted = true;
      break;
    case CURLINFO_HEADER_OUT: {
      std::string command = platform::asciiUpper(text.substr(0, 10));
      if (startsWith(command, "MAIL FROM:")) d->mailFromSent = true;
      // libcurl says QUIT after a refusal; its 221 must not hide the refusal.
      if (startsWith(command, "QUIT")) d->quitSent = true;
      break;
    }
    case CURLINFO_HEADER_IN:
      if (d->quitSent) break;
      for (const std::string& line : platform::splitLines(text)) {
        std::string reply = platform::trim(line);
        if (reply.size() < 3) continue;
        auto code = platform::parseInt(reply.substr(0, 3));
        if (!code) continue;
        d->lastReply = reply;
        d->lastCode = *code;
      }
      break;
    default:
      break;
  }
  return 0;
}

std::string ehloName(const std::string& configured) {
  if (!configured.empty()) return configured;
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) == 0 && host[0]) return host;
  return "localhost";
}

std::string angleAddress(const std::string& address) {
  if (!address.empty() && address.front() == '<') return address;
  return "<" + address + ">";
}

}  // namespace

CurlSmtpTransport::CurlSmtpTransport(const AlertSettings& settings, const TransportLimits& limits)
    : settings_(settings) {
  CURL* curl = curl_easy_init();
  curl_ = curl;
  if (!curl) return;

  std::string host = settings.server;
  if (host.find(':') != std::string::npos && host.front() != '[') host = "[" + host + "]";
  std::string scheme = settings.port == kImplicitTlsPort ? "smtps" : "smtp";
  std::string ehlo = ehloName(settings.clientName);
  char* escaped = curl_easy_escape(curl, ehlo.c_str(), static_cast<int>(ehlo.size()));
  url_ =
      scheme + "://" + host + ":" + std::to_string(settings.port) + "/" + (escaped ? escaped : "");
  curl_free(escaped);

  curl_easy_setopt(curl, CURLOPT_URL, url_.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.messageTimeoutMs);
  // Also bounds the wait for the reply to QUIT when the handle is closed.
  curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                   std::max(1L, (limits.messageTimeoutMs + 999) / 1000));
  // Credentials only ever go over TLS, to a server whose certificate
  // verifies: with SMTP-AUTH a server that does not offer STARTTLS is
  // refused before AUTH is sent. Without credentials TLS is taken whenever
  // offered, whatever the certificate, as mail servers relay to each other:
  // a local server with its own certificate must not cost the alerts.
  curl_easy_setopt(curl, CURLOPT_USE_SSL, settings.useAuth ? CURLUSESSL_ALL : CURLUSESSL_TRY);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, settings.useAuth ? 1L : 0L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, settings.useAuth ? 2L : 0L);
  // The default CA path (the system's authorities) stays in use beside it.
  if (!limits.caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, limits.caFile.c_str());
  if (settings.useAuth) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, settings.user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, settings.password.c_str());
  }
  curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(curl, CURLOPT_READFUNCTION, readMessage);
  curl_easy_setopt(curl, CURLOPT_SEEKFUNCTION, seekMessage);
  curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, watchDialogue);
  curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &dialogue_);
  curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);  // feeds watchDialogue; nothing is printed
}

CurlSmtpTransport::~CurlSmtpTransport() {
  if (curl_) curl_easy_cleanup(static_cast<CURL*>(curl_));
}

SendOutcome CurlSmtpTransport::send(const std::string& from, const std::string& to,
                                    const std::string& message) {
  SendOutcome outcome;
  CURL* curl = static_cast<CURL*>(curl_);
  if (!curl) {
    outcome.kind = SendOutcome::Kind::Broken;
    outcome.cause = "libcurl could not be initialised";
    return outcome;
  }

  // libcurl dot-stuffs the upload and adds the end mark itself; the message
  // goes in as it is.
  Upload upload{message};
  std::string mailFrom = angleAddress(from);
  curl_slist* rcpt = curl_slist_append(nullptr, angleAddress(to).c_str());
  char error[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(curl, CURLOPT_MAIL_FROM, mailFrom.c_str());
  curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, rcpt);
  curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
  curl_easy_setopt(curl, CURLOPT_SEEKDATA, &upload);
  curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message.size()));
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
  dialogue_.lastReply.clear();
  dialogue_.lastCode = 0;
  dialogue_.mailFromSent = false;
  dialogue_.quitSent = false;

  CURLcode rc = curl_easy_perform(curl);
  curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, nullptr);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
  curl_slist_free_all(rcpt);

  outcome.encrypted = dialogue_.encrypted || settings_.port == kImplicitTlsPort;
  outcome.verified = outcome.encrypted && settings_.useAuth;
  if (rc == CURLE_OK) {
    outcome.cause = oneLine(dialogue_.lastReply);
    return outcome;
  }

  bool serverRefused = dialogue_.lastCode >= 400 && !dialogue_.lastReply.empty();
  // 421 closes the session by definition; a connection closed or reset
  // under us ends it as well.
  bool sessionEnded = dialogue_.lastCode == 421 || rc == CURLE_SEND_ERROR ||
                      rc == CURLE_RECV_ERROR || rc == CURLE_GOT_NOTHING;
  if (sessionEnded) {
    outcome.kind = SendOutcome::Kind::Dropped;
  } else if (serverRefused && dialogue_.mailFromSent) {
    outcome.kind = SendOutcome::Kind::Refused;
  } else {
    outcome.kind = SendOutcome::Kind::Broken;
  }
  if (rc == CURLE_USE_SSL_FAILED && settings_.useAuth) {
    outcome.cause =
        "STARTTLS not offered by the server: SMTP-AUTH password not sent over an "
        "unencrypted connection";
  } else if (serverRefused) {
    outcome.cause = oneLine(dialogue_.lastReply);
  } else {
    outcome.cause = oneLine(error[0] ? error : curl_easy_strerror(rc));
  }
  return outcome;
}

}  // namespace orvis::alertmail
