#include "job_editor.h"

#include "job_paths.h"
#include "monitor/shell/general_errors.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {
namespace {

using C = EditorControl;

constexpr C kIgnoreBoxes[] = {C::IgnoreScript, C::IgnoreComment, C::IgnoreLinks,
                              C::IgnoreSrc,    C::IgnoreAlt,     C::IgnoreHead};

}  // namespace

JobEditor::TypeTexts JobEditor::typeTexts(JobType type) {
  switch (type) {
    case JobType::File:
      return {SJIS("FILE(DIR)"),
              SJIS("FILE(DIR)設定例）/opt/orvis/data/、/opt/orvis/data/ORVIS.ini"),
              SJIS("FILE(DIR)を画面でチェック")};
    case JobType::Proc:
      return {SJIS("ﾌﾟﾛｾｽ"), SJIS("ﾌﾟﾛｾｽ設定例）OrvisWatch"), SJIS("ﾌﾟﾛｾｽを画面でチェック")};
    case JobType::Drive:
      return {SJIS("ﾄﾞﾗｲﾌﾞ"), SJIS("ﾄﾞﾗｲﾌﾞ設定例）/:21　例では21GBになったらエラーと認識します。"),
              SJIS("ﾄﾞﾗｲﾌﾞ残量を画面でチェック")};
    case JobType::Url:
      break;
  }
  return {"URI", SJIS("URI設定例）https://www.example.co.jp/index.html"),
          SJIS("URIを画面でチェック")};
}

void JobEditor::showTypeTexts(JobType type) {
  TypeTexts t = typeTexts(type);
  view_.setTypeTexts(t.label, t.example, t.preview);
}

void JobEditor::setEmptyState() {
  for (C f : {C::Number, C::Target, C::Name, C::Subject, C::Word}) view_.setText(f, "");
  view_.setBodyLines({});
  for (C box : {C::UseProxy, C::OwnMail, C::HtmlMail, C::OwnCompareRules, C::CompareContent,
                C::WordCheck, C::IncludeSubfolders})
    view_.setChecked(box, false);
  for (C box : kIgnoreBoxes) {
    view_.setChecked(box, false);
    view_.setEnabled(box, false);
  }
  for (C off : {C::Subject, C::Body, C::HtmlMail, C::IncludeSubfolders, C::CompareContent})
    view_.setEnabled(off, false);
  for (C on : {C::OwnCompareRules, C::WordCheck, C::Word}) view_.setEnabled(on, true);
  view_.setMailGroupIndex(-1);
  view_.setMailGroupName("");
  view_.setType(JobType::Url);
  showTypeTexts(JobType::Url);
}

void JobEditor::fillMailGroups(const std::string& count) {
  view_.setMailGroupItems(platform::parseInt(count).value_or(0));
  view_.setMailGroupIndex(-1);
  view_.setMailGroupName("");
}

std::string JobEditor::groupName(const std::string& group) const {
  return platform::trim(platform::readFirstLine(mailGroupFile(dataFolder_, group)));
}

void JobEditor::loadSelectedJob() {
  const JobRecord* found = list_.table().atRow(list_.selectedRow());
  if (!found || found->number.empty()) return;
  const JobRecord& job = *found;
  auto on = [](const StoredValue<Switch>& value) { return value == Switch::On; };

  view_.setText(C::Number, job.number);
  view_.setText(C::Target, job.target);
  view_.setText(C::Name, job.name);
  view_.setChecked(C::UseProxy, on(job.useProxy));

  view_.setChecked(C::OwnMail, false);
  for (C f : {C::Subject, C::Body, C::HtmlMail}) view_.setEnabled(f, false);
  if (on(job.ownMail)) {
    view_.setChecked(C::OwnMail, true);
    for (C f : {C::Subject, C::Body, C::HtmlMail}) view_.setEnabled(f, true);
  }
  view_.setChecked(C::HtmlMail, on(job.htmlMail));

  view_.setMailGroupIndex(-1);
  view_.setMailGroupName("");
  if (!job.mailGroup.empty()) {
    view_.setMailGroupIndex(platform::parseInt(job.mailGroup).value_or(0));
    view_.setMailGroupName(groupName(job.mailGroup));
  }

  platform::makeFolders(dataFolder_ + kUserMailFolder);
  const std::string no = platform::trim(job.number);
  view_.setText(C::Subject, files_.readSubject(no));
  view_.setBodyLines(files_.readBody(no));

  view_.setChecked(C::OwnCompareRules, on(job.ownCompareRules));
  view_.setChecked(C::CompareContent, on(job.compareContent));
  const StoredValue<Switch>* ignores[] = {&job.ignoreScript, &job.ignoreComment, &job.ignoreLinks,
                                          &job.ignoreSrc,    &job.ignoreAlt,     &job.ignoreHead};
  for (int i = 0; i < 6; ++i) view_.setChecked(kIgnoreBoxes[i], on(*ignores[i]));
  view_.setEnabled(C::CompareContent, view_.checked(C::OwnCompareRules));
  const bool ranges = view_.enabled(C::CompareContent) && view_.checked(C::CompareContent);
  for (C box : kIgnoreBoxes) view_.setEnabled(box, ranges);

  view_.setChecked(C::WordCheck, on(job.wordCheck));
  view_.setEnabled(C::Word, view_.checked(C::WordCheck));
  view_.setText(C::Word, job.word);
  view_.setChecked(C::IncludeSubfolders, on(job.includeSubfolders));

  // A type outside the four leaves the editor's type as it was.
  if (std::optional<JobType> type = job.type.known()) {
    view_.setType(*type);
    showTypeTexts(*type);
  }
  arrangeForType();
}

void JobEditor::arrangeForType() {
  const JobType type = view_.type();
  const bool url = type == JobType::Url;
  view_.setEnabled(C::IncludeSubfolders, type == JobType::File);
  for (C c : {C::UseProxy, C::OwnCompareRules, C::WordCheck}) view_.setEnabled(c, url);
  view_.setEnabled(C::CompareContent, url && view_.checked(C::OwnCompareRules));
  const bool ranges = url && view_.checked(C::OwnCompareRules) && view_.checked(C::CompareContent);
  for (C box : kIgnoreBoxes) view_.setEnabled(box, ranges);
  view_.setEnabled(C::Word, url && view_.checked(C::WordCheck));
}

void JobEditor::typeChosen(JobType type) {
  showTypeTexts(type);
  arrangeForType();
}

void JobEditor::ownMailToggled() {
  const bool on = view_.checked(C::OwnMail);
  for (C f : {C::Subject, C::Body, C::HtmlMail}) view_.setEnabled(f, on);
}

void JobEditor::ownCompareRulesToggled() {
  if (!view_.checked(C::OwnCompareRules)) {
    view_.setEnabled(C::CompareContent, false);
    for (C box : kIgnoreBoxes) view_.setEnabled(box, false);
    return;
  }
  view_.setEnabled(C::CompareContent, true);
  for (C box : kIgnoreBoxes) view_.setEnabled(box, view_.checked(C::CompareContent));
}

void JobEditor::compareContentToggled() {
  for (C box : kIgnoreBoxes) view_.setEnabled(box, view_.checked(C::CompareContent));
}

void JobEditor::wordCheckToggled() { view_.setEnabled(C::Word, view_.checked(C::WordCheck)); }

void JobEditor::mailGroupChosen() {
  view_.setMailGroupName(groupName(std::to_string(view_.mailGroupIndex())));
}

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
