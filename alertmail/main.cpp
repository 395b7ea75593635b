// alertmail D G H: mails the alert the monitor has just written to the
// recipients of mail group G. Started by the monitor, which waits for it.

#include <curl/curl.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "alertmail/alert_mail_job.h"
#include "alertmail/curl_smtp_transport.h"
#include "platform/bytes.h"
#include "platform/ca_file.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/data_folder.h"
#include "platform/day_log.h"
#include "platform/files.h"
#include "platform/log_cleanup.h"
#include "platform/open_file.h"

namespace {

using namespace orvis;

// Test-only overrides of the time-outs, in milliseconds, so that a test of a
// server that never answers need not wait the real 30 s and 60 s.
long timeoutFromEnvironment(const char* name, long fallback) {
  const char* value = std::getenv(name);
  if (!value) return fallback;
  auto n = platform::parseInt(value);
  return n && *n > 0 ? *n : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  // libcurl runs without signals (NOSIGNAL); a peer that closes its end must
  // not kill us in the middle of a write.
  std::signal(SIGPIPE, SIG_IGN);

  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  alertmail::ParsedArguments parsed = alertmail::parseArguments(args);

  // Logs go under the data folder given; when it is not usable, under the
  // data folder of the programs.
  std::string logRoot = platform::dataFolder();
  if (parsed.request && platform::folderExists(parsed.request->dataFolder)) {
    logRoot = parsed.request->dataFolder;
  }
  platform::SystemClock clock;
  platform::DayLog systemLog(logRoot + "syslog/alertmail/", "alertmail", clock);
  platform::DayLog sendLog(logRoot + "sendlog/alertmail/", "", clock);
  const platform::DataFolderGuard guard(
      logRoot, [&systemLog](const std::string& line) { systemLog.write(line); });

  platform::tidyLogFolders({systemLog.folder(), sendLog.folder()}, logRoot,
                           [&systemLog](const std::string& line) { systemLog.write(line); });
  for (const std::string& note : parsed.notes) systemLog.write(note);
  if (!parsed.request) {
    systemLog.write(parsed.error + ",EXIT");
    std::fprintf(stderr, "alertmail: %s\nusage: alertmail DATA_FOLDER GROUP [HTML]\n",
                 platform::toUtf8(parsed.error).c_str());
    return alertmail::kBadInput;
  }

  alertmail::TransportLimits limits;
  limits.connectTimeoutMs =
      timeoutFromEnvironment("ALERTMAIL_CONNECT_TIMEOUT_MS", limits.connectTimeoutMs);
  limits.messageTimeoutMs =
      timeoutFromEnvironment("ALERTMAIL_MESSAGE_TIMEOUT_MS", limits.messageTimeoutMs);
  platform::ExtraCaFile caFile = platform::extraCaFile(std::getenv("SSL_CERT_FILE"));
  if (!caFile.note.empty()) systemLog.write(caFile.note);
  limits.caFile = caFile.path;

  if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
    systemLog.write(SJIS("libcurlを初期化できません,EXIT"));
    return alertmail::kSomeFailed;
  }
  mail::SystemMailStamps stamps("alertmail.invalid");
  alertmail::AlertMailJob job(
      systemLog, sendLog, stamps, [&limits](const alertmail::AlertSettings& settings) {
        return std::make_unique<alertmail::CurlSmtpTransport>(settings, limits);
      });
  int status = job.run(*parsed.request);
  curl_global_cleanup();
  return status;
}
