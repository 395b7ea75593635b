#include "job_editor.h"

#include <algorithm>

#include "job_paths.h"
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

bool JobEditor::fillMailGroups(const std::string& count) {
  const MailGroupsOffered groups = mailGroupsOffered(count);
  view_.setMailGroupItems(groups.count);
  view_.setMailGroupIndex(-1);
  view_.setMailGroupName("");
  return groups.asStored;
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

}  // namespace orvis
