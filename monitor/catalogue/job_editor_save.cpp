// The job editor's validation, save ("追加・更新") and delete ("削除").

#include "job_editor.h"
#include "job_paths.h"
#include "monitor/shell/general_errors.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {

using C = EditorControl;

void JobEditor::refuse(const std::string& message, EditorControl focus) {
  boxes_.show(message, "OrvisWatch", mb::OK);
  view_.focus(focus);
}

bool JobEditor::validate() {
  if (view_.text(C::Number).empty()) {
    refuse(SJIS("NOを指定してください。（任意の番号）"), C::Number);
    return false;
  }
  const std::string target = view_.text(C::Target);
  if (target.empty()) {
    refuse(SJIS("URIを指定してください。"), C::Target);
    return false;
  }
  if (view_.type() == JobType::Drive) {
    auto items = platform::splitCommaList(platform::replaceAll(target, ":", ","));
    if (items.size() != 2) {
      refuse(SJIS("Drive:残量閾値（GB）と正しく指定してください。"), C::Target);
      return false;
    }
    // On Linux a drive is the mount path of a file system.
    if (items[0].empty() || items[0][0] != '/') {
      refuse(SJIS("Driveレターを正しく指定してください。"), C::Target);
      return false;
    }
    auto threshold = platform::parseInt(items[1]);
    if (!threshold || *threshold == 0) {
      refuse(SJIS("残量閾値（GB）を正しく指定してください。"), C::Target);
      return false;
    }
  }
  if (view_.text(C::Name).empty()) {
    refuse(SJIS("名称を指定してください。"), C::Name);
    return false;
  }
  if (view_.checked(C::OwnMail) && view_.text(C::Subject).empty()) {
    refuse(SJIS("ユーザーメールが指定されていますが、件名が指定されていません。"), C::Subject);
    return false;
  }
  if (view_.checked(C::OwnMail) && view_.bodyLines().empty()) {
    refuse(SJIS("ユーザーメールが指定されていますが、本文が指定されていません。"), C::Body);
    return false;
  }
  if (view_.checked(C::WordCheck) && view_.text(C::Word).empty()) {
    refuse(SJIS("ワードチェックが指定されていますが、チェックする文字が指定されていません。"),
           C::Word);
    return false;
  }
  return true;
}

JobRecord JobEditor::fromFields() const {
  auto stored = [this](C box) { return view_.checked(box) ? Switch::On : Switch::Off; };
  JobRecord j;
  j.number = platform::trim(view_.text(C::Number));
  j.target = platform::trim(view_.text(C::Target));
  j.name = platform::trim(view_.text(C::Name));
  j.word = platform::trim(view_.text(C::Word));
  j.useProxy = stored(C::UseProxy);
  j.ownMail = stored(C::OwnMail);
  j.htmlMail = stored(C::HtmlMail);
  j.mailGroup = std::to_string(view_.mailGroupIndex());
  j.ownCompareRules = stored(C::OwnCompareRules);
  j.compareContent = stored(C::CompareContent);
  j.ignoreScript = stored(C::IgnoreScript);
  j.ignoreComment = stored(C::IgnoreComment);
  j.ignoreLinks = stored(C::IgnoreLinks);
  j.ignoreSrc = stored(C::IgnoreSrc);
  j.ignoreAlt = stored(C::IgnoreAlt);
  j.ignoreHead = stored(C::IgnoreHead);
  j.wordCheck = stored(C::WordCheck);
  j.includeSubfolders = stored(C::IncludeSubfolders);
  j.type = view_.type();
  return j;
}

void JobEditor::reloadList() { list_.reload(); }

void JobEditor::saveJob() {
  if (!validate()) return;
  const JobRecord job = fromFields();
  const JobMail mail{view_.text(C::Subject), view_.bodyLines()};
  const std::string file = files_.jobFile(job.number);
  const bool exists = !file.empty() && platform::fileExists(file);
  const std::string question =
      exists ? SJIS("更新してもよろしいですか？") : SJIS("新規登録してもよろしいですか？");
  if (boxes_.show(question, "OrvisWatch", mb::OKCancel) != mb::IdOk) return;
  // A write the editor cannot handle ends the operation: what was written
  // stays, the list is not reloaded.
  WriteError error = exists ? files_.update(job, mail) : files_.create(job);
  if (error.empty() && !exists) error = files_.writeMailFiles(job.number, mail);
  if (!error.empty()) {
    showGeneralError(boxes_, error);
    return;
  }
  reloadList();
  boxes_.show(SJIS("設定完了しました。"), "OrvisWatch", mb::OK);
}

void JobEditor::deleteJob() {
  const std::string typed = view_.text(C::Number);
  if (typed.empty()) {
    refuse(SJIS("NOを指定してください。"), C::Number);
    return;
  }
  const std::string no = platform::trim(typed);
  if (!usableAsFileName(no)) {
    showGeneralError(boxes_, "Cannot delete file \"" + no +
                                 ".ini\". A job number must not be blank and cannot hold \"/\".");
    return;
  }
  if (!platform::fileExists(files_.jobFile(no))) {
    boxes_.show(SJIS("削除対象がありません。"), "OrvisWatch", mb::OK);
    reloadList();
    return;
  }
  if (boxes_.show(SJIS("削除してもよろしいですか？"), "OrvisWatch", mb::OKCancel) != mb::IdOk)
    return;
  files_.remove(no);
  reloadList();
  boxes_.show(SJIS("削除しました。"), "OrvisWatch", mb::OK);
}

}  // namespace orvis
