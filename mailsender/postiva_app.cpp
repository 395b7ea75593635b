#include "postiva_app.h"

#include "platform/codec.h"
#include "send_list.h"

namespace orvis::postiva {

PostivaApp::PostivaApp(std::string programFolder, std::vector<std::string> args,
                       platform::Clock& clock, SessionPorts ports, platform::TimerDriver* timers)
    : programFolder_(std::move(programFolder)),
      args_(std::move(args)),
      clock_(clock),
      ports_(ports),
      timers_(timers) {}

PostivaApp::~PostivaApp() = default;

const std::string& PostivaApp::versionText() { return SJIS("　（Ver1.2.0.3）"); }

bool PostivaApp::fail(const std::string& reason) {
  logs_->WriteMailLog(reason);
  logs_->WriteMailLog("EXIT");
  exitCode_ = 1;
  return false;
}

bool PostivaApp::FormCreate() {
  // Not exactly one argument: no work folder to log into, so not a trace.
  if (args_.size() != 1) {
    exitCode_ = 2;
    return false;
  }
  const std::string& argument = args_.front();
  fields_.job = platform::toCp932(argument);
  ports_.view.setJob(fields_.job);
  ports_.view.setCaption("Postiva");
  logs_ = std::make_unique<MailLogs>(programFolder_, argument, clock_);
  std::string workFolder = programFolder_ + argument;

  auto settings = readPostivaSettings(workFolder);
  if (!settings) return fail(SJIS("初期化ファイルが見つかりません(") + fields_.job + ")");
  settings_ = *settings;
  fields_.URL = settings_.server;
  fields_.Edit2 = settings_.clientName;
  fields_.Edit4 = settings_.senderName;
  fields_.Edit3 = settings_.senderAddress;
  for (const auto& line : settings_.rejected) logs_->WriteMailLog(line);

  std::string caption = "Postiva" + versionText();
  ports_.view.setCaption(caption);
  fields_.Edit1.clear();
  fields_.Memo4.clear();
  fields_.Memo5.clear();

  SendList list = loadSendList(workFolder);
  if (list.badLine) {
    logs_->WriteMailLog(SJIS("送信対象リストフォーマットエラー(") + *list.badLine + ")");
  }
  if (!list.ok) return fail(SJIS("宛先リストファイル”list.txt”異常です。(") + fields_.job + ")");
  fields_.Memo5 = std::move(list.lines);
  std::string count = std::to_string(list.count);
  ports_.view.setCountText(count + SJIS(" 件です。"));
  logs_->WriteMailLog(SJIS("送信対象リスト(") + count + SJIS(")件です。"));

  logs_->WriteMailLog(SJIS("起動完了(") + fields_.job + ") ver." + versionText());
  logs_->WriteMailLog(caption);

  session_ = std::make_unique<SmtpSession>(fields_, settings_, workFolder, *logs_, ports_);
  if (timers_) {
    session_->execTimer().attach(timers_);
    session_->ST1().attach(timers_);
  }
  session_->start();
  return true;
}

}  // namespace orvis::postiva
