#include "curl_smtp_transport.h"

#include <curl/curl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "platform/bytes.h"
#include "platform/codec.h"

namespace orvis::alertmail {

namespace {

constexpr int kImplicitTlsPort = 465;

long long steadyNowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// Watches the opening of the session without keeping what goes out: AUTH
// lines carry the password.
int watchDialogue(CURL*, curl_infotype type, char* data, size_t size, void* userdata) {
  auto* d = static_cast<CurlSmtpTransport::Dialogue*>(userdata);
  std::string_view text(data, size);
  switch (type) {
    case CURLINFO_TEXT:
      if (startsWith(text, "Connected to")) d->encrypted = false;
      if (startsWith(text, "SSL connection using")) d->encrypted = true;
      break;
    case CURLINFO_HEADER_IN:
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

}  // namespace

CurlSmtpTransport::CurlSmtpTransport(const AlertSettings& settings, const TransportLimits& limits)
    : settings_(settings), limits_(limits) {
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
  // libcurl opens the session and stops there; the messages are ours.
  curl_easy_setopt(curl, CURLOPT_CONNECT_ONLY, 1L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
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
  curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, watchDialogue);
  curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &dialogue_);
  curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);  // feeds watchDialogue; nothing is printed
}

CurlSmtpTransport::~CurlSmtpTransport() {
  if (opened_) exchange_.quit(steadyNowMs() + limits_.quitTimeoutMs);
  if (curl_) curl_easy_cleanup(static_cast<CURL*>(curl_));
}

SendOutcome CurlSmtpTransport::open(long long deadlineMs) {
  SendOutcome outcome;
  CURL* curl = static_cast<CURL*>(curl_);
  if (!curl) {
    outcome.kind = SendOutcome::Kind::Broken;
    outcome.cause = "libcurl could not be initialised";
    return outcome;
  }
  char error[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, std::max(1LL, deadlineMs - steadyNowMs()));
  CURLcode rc = curl_easy_perform(curl);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
  if (rc == CURLE_OK) {
    opened_ = true;
    return outcome;
  }

  bool serverRefused = dialogue_.lastCode >= 400 && !dialogue_.lastReply.empty();
  // 421 closes the session by definition; a connection closed or reset
  // under us ends it as well.
  bool sessionEnded = dialogue_.lastCode == 421 || rc == CURLE_SEND_ERROR ||
                      rc == CURLE_RECV_ERROR || rc == CURLE_GOT_NOTHING;
  outcome.kind = sessionEnded ? SendOutcome::Kind::Dropped : SendOutcome::Kind::Broken;
  if (rc == CURLE_USE_SSL_FAILED && settings_.useAuth) {
    outcome.cause =
        "STARTTLS not offered by the server: SMTP-AUTH password not sent over an "
        "unencrypted connection";
  } else if (serverRefused) {
    outcome.cause = causeText(dialogue_.lastReply);
  } else {
    outcome.cause = causeText(error[0] ? error : curl_easy_strerror(rc));
  }
  return outcome;
}

SendOutcome CurlSmtpTransport::send(const std::string& from, const std::string& to,
                                    const std::string& message) {
  const long long deadline = steadyNowMs() + limits_.messageTimeoutMs;
  if (!opened_) {
    SendOutcome failure = open(deadline);
    if (!opened_) return failure;
  }
  SendOutcome outcome = exchange_.sendMessage(from, to, message, deadline);
  outcome.encrypted = dialogue_.encrypted || settings_.port == kImplicitTlsPort;
  outcome.verified = outcome.encrypted && settings_.useAuth;
  // A session that is lost gets no QUIT: nobody would answer it.
  if (!exchange_.usable()) opened_ = false;
  return outcome;
}

CurlSmtpTransport::Io CurlSmtpTransport::waitFor(short events, long long deadlineMs) {
  curl_socket_t socket = CURL_SOCKET_BAD;
  if (curl_easy_getinfo(static_cast<CURL*>(curl_), CURLINFO_ACTIVESOCKET, &socket) != CURLE_OK ||
      socket == CURL_SOCKET_BAD)
    return Io::Closed;
  while (true) {
    long long left = deadlineMs - steadyNowMs();
    if (left <= 0) return Io::TimedOut;
    pollfd p{static_cast<int>(socket), events, 0};
    int n = ::poll(&p, 1, static_cast<int>(std::min(left, 60'000LL)));
    if (n > 0) return Io::Ok;  // ready, or an error the next call reports
    if (n < 0 && errno != EINTR) return Io::Closed;
  }
}

CurlSmtpTransport::Io CurlSmtpTransport::write(std::string_view bytes, long long deadlineMs) {
  CURL* curl = static_cast<CURL*>(curl_);
  while (!bytes.empty()) {
    size_t sent = 0;
    CURLcode rc = curl_easy_send(curl, bytes.data(), bytes.size(), &sent);
    if (rc == CURLE_AGAIN) {
      if (Io io = waitFor(POLLOUT, deadlineMs); io != Io::Ok) return io;
      continue;
    }
    if (rc != CURLE_OK) return Io::Closed;
    bytes.remove_prefix(sent);
  }
  return Io::Ok;
}

CurlSmtpTransport::Io CurlSmtpTransport::read(std::string& into, long long deadlineMs) {
  CURL* curl = static_cast<CURL*>(curl_);
  char buffer[4096];
  while (true) {
    size_t got = 0;
    // TLS may hold bytes the socket no longer shows: ask first, then wait.
    CURLcode rc = curl_easy_recv(curl, buffer, sizeof buffer, &got);
    if (rc == CURLE_AGAIN) {
      if (Io io = waitFor(POLLIN, deadlineMs); io != Io::Ok) return io;
      continue;
    }
    if (rc != CURLE_OK || got == 0) return Io::Closed;
    into.append(buffer, got);
    return Io::Ok;
  }
}

}  // namespace orvis::alertmail
