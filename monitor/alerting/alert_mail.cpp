#include "alert_mail.h"

#include "alert_texts.h"
#include "mail_template.h"
#include "platform/codec.h"

namespace orvis {
namespace {

bool ownMail(const JobRecord& job) { return job.ownMail == Switch::On; }
bool htmlMail(const JobRecord& job) { return job.htmlMail == Switch::On; }

}  // namespace

std::optional<JobRecord> AlertMail::job(int jobIndex) const {
  const JobRecord* j = jobs_.atRow(jobIndex);
  if (!j) {
    log_.write(SJIS("アラートメールの対象行がありません:") + std::to_string(jobIndex));
    return std::nullopt;
  }
  return *j;
}

bool AlertMail::prepare(const JobRecord& job) {
  // A mailer still reading the files from an alert further up finishes first.
  if (!launcher_.waitForRunningMailer()) return false;
  std::string subject;
  if (ownMail(job)) {
    subject = files_.userSubject(job.number);
  } else {
    subject = alert_text::groupSubject(files_.groupName(job.mailGroup));
  }
  if (!files_.writeSubject(subject)) return false;
  return files_.recipientCount(job.mailGroup) > 0;
}

void AlertMail::sendAlert(int jobIndex, const std::string& target, const std::string& systemMessage,
                          const std::string& jobName, const std::string& differenceText) {
  std::optional<JobRecord> j = job(jobIndex);
  if (!j || !prepare(*j)) return;
  std::vector<std::string> body =
      ownMail(*j)
          ? fillTemplate(files_.userBody(j->number),
                         {target, jobName, systemMessage, differenceText, htmlMail(*j)}, clock_)
          : alert_text::systemMail(clock_, jobName, target, systemMessage, differenceText);
  if (!files_.writeBody(body)) return;
  launcher_.runMailer(j->mailGroup, alert_text::htmlFlag(ownMail(*j), htmlMail(*j)));
}

void AlertMail::sendResponseErrorAlert(int jobIndex) {
  std::optional<JobRecord> j = job(jobIndex);
  if (!j) return;
  log_.write(j->number + SJIS("->接続リトライオーバー"));
  if (!prepare(*j)) return;
  const std::string& message = alert_text::responseError();
  // No difference here: "%diff" stays as the user wrote it.
  std::vector<std::string> body =
      ownMail(*j) ? fillTemplate(files_.userBody(j->number),
                                 {j->target, j->name, message, std::nullopt, htmlMail(*j)}, clock_)
                  : alert_text::systemMail(clock_, std::nullopt, j->target, message, "");
  if (!files_.writeBody(body)) return;
  launcher_.runMailer(j->mailGroup, alert_text::htmlFlag(ownMail(*j), htmlMail(*j)));
}

}  // namespace orvis
