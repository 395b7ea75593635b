#include "postiva_app.h"

#include "platform/codec.h"
#include "send_list.h"

namespace orvis::postiva {

PostivaApp::PostivaApp(std::string programFolder, std::vector<std::string> args, SessionPorts ports,
                       platform::TimerDriver* timers)
    : programFolder_(std::move(programFolder)),
      args_(std::move(args)),
      ports_(ports),
      timers_(timers) {}

PostivaApp::~PostivaApp() = default;

const std::string& PostivaApp::versionText() { return SJIS("　（Ver1.2.0.3）"); }

bool PostivaApp::fail(const std::string& reason) {
  logs_->writeSystemLog(reason);
  logs_->writeSystemLog("EXIT");
  exitCode_ = 1;
  return false;
}

bool PostivaApp::start() {
  // Not exactly one argument: no work folder to log into, so not a trace.
  if (args_.size() != 1) {
    exitCode_ = 2;
    return false;
  }
  const std::string& argument = args_.front();
  workFolderName_ = platform::toCp932(argument);
  ports_.view.setWorkFolderName(workFolderName_);
  ports_.view.setCaption("Postiva");
  logs_ = std::make_unique<MailLogs>(programFolder_, argument, ports_.clock);
  // Only folders below the program's own log folders are tidied: a work
  // folder named with ".." would point the clean-up elsewhere.
  if (argument.find("..") == std::string::npos) logs_->deleteOldFiles(programFolder_);
  if (!startNote_.empty()) logs_->writeSystemLog(startNote_);
  std::string workFolder = programFolder_ + argument;

  auto settings = readPostivaSettings(workFolder);
  if (!settings) return fail(SJIS("初期化ファイルが見つかりません(") + workFolderName_ + ")");
  settings_ = *settings;
  for (const auto& line : settings_.rejected) logs_->writeSystemLog(line);

  std::string caption = "Postiva" + versionText();
  ports_.view.setCaption(caption);
  outbox_ = Outbox{};

  SendList list = loadSendList(workFolder);
  if (list.badLine) {
    logs_->writeSystemLog(SJIS("送信対象リストフォーマットエラー(") + *list.badLine + ")");
  }
  if (!list.ok) {
    return fail(SJIS("宛先リストファイル”list.txt”異常です。(") + workFolderName_ + ")");
  }
  outbox_.listLines = std::move(list.lines);
  std::string count = std::to_string(list.count);
  ports_.view.setCountText(count + SJIS(" 件です。"));
  logs_->writeSystemLog(SJIS("送信対象リスト(") + count + SJIS(")件です。"));

  logs_->writeSystemLog(SJIS("起動完了(") + workFolderName_ + ") ver." + versionText());
  logs_->writeSystemLog(caption);

  session_ = std::make_unique<SmtpSession>(outbox_, settings_, workFolder, *logs_, ports_);
  if (timers_) {
    session_->passTimer().attach(timers_);
    session_->watchdog().attach(timers_);
  }
  session_->start();
  return true;
}

}  // namespace orvis::postiva
