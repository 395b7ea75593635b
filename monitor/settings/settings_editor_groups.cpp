// The mail group buttons and list of the settings dialog.

#include "monitor/catalogue/mail_group_count.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "settings_editor.h"

namespace orvis {

using C = SettingsControl;

void SettingsEditor::fillMailGroups() {
  std::vector<std::string> items;
  for (int i = 1; i <= groupCount(); ++i) items.push_back(std::to_string(i));
  view_.setItems(C::MailGroup, items);
  view_.setSelectedIndex(C::MailGroup, 0);
  mailGroupChosen();
  view_.setText(C::NewGroupName, "");
}

void SettingsEditor::mailGroupChosen() {
  const int group = view_.selectedIndex(C::MailGroup);
  if (group < 0) return;
  view_.setText(C::GroupName, groups_.name(group));
  view_.setRecipientLines(groups_.recipients(group));
}

void SettingsEditor::addMailGroup() {
  const std::string name = view_.text(C::NewGroupName);
  if (name.empty()) {
    refuse(SJIS("メールグループとして追加できません。"), C::NewGroupName);
    return;
  }
  if (groupCount() >= kMaxMailGroups) {
    // One more would be a group that no list can offer.
    s_.boxes.show(SJIS("メールグループをこれ以上追加できません。"), "OrvisWatch",
                  mb::IconExclamation);
    return;
  }
  if (!ask(SJIS("「") + name + SJIS("」メールグループを追加します。よろしいですか？"))) return;
  const int count = groupCount() + 1;
  store_.setMailGroupCount(std::to_string(count));
  if (!groups_.writeName(count - 1, platform::trim(name)))
    s_.log.write(SJIS("メールグループファイルを書き込めません->") + std::to_string(count - 1));
  view_.addItem(C::MailGroup, std::to_string(count));
  main_.jobEditor.addMailGroupItem(std::to_string(count));
  tell(SJIS("メールグループを追加しました。"));
}

void SettingsEditor::deleteLastMailGroup() {
  const int count = groupCount();
  if (count <= 1) {
    s_.boxes.show(SJIS("メールグループをこれ以上削除できません。"), "OrvisWatch",
                  mb::IconExclamation);
    return;
  }
  const int last = count - 1;
  if (!ask(SJIS("一番最後のメールグループ「") + groups_.name(last) +
           SJIS("」を削除します。よろしいですか？")))
    return;
  store_.setMailGroupCount(std::to_string(count - 1));
  groups_.removeName(last);
  const bool lastWasChosen = view_.selectedIndex(C::MailGroup) == last;
  view_.removeLastItem(C::MailGroup);
  main_.jobEditor.removeLastMailGroupItem();
  // The list and the name shown belonged to the group just deleted; a store
  // now would have no group to go to. Show the first group instead.
  if (lastWasChosen) {
    view_.setSelectedIndex(C::MailGroup, 0);
    mailGroupChosen();
  }
  tell(SJIS("メールグループを削除しました。"));
}

void SettingsEditor::saveRecipients() {
  const int group = view_.selectedIndex(C::MailGroup);
  if (group < 0) return;
  const std::string name = view_.text(C::GroupName);
  if (!ask(SJIS("「") + name + SJIS("」メールグループとして保存します。よろしいですか？"))) return;
  if (!groups_.storeRecipients(group, view_.recipientLines())) {
    // The list as it was stays; saying it was saved would hide lost addresses.
    s_.log.write(SJIS("メール送信先リストを保存できません->mail/list.txt"));
    s_.boxes.show(SJIS("メール送信先リストを保存できませんでした。"), "OrvisWatch",
                  mb::IconExclamation);
    return;
  }
  tell(SJIS("メール送信先リストを「") + name + SJIS("」グループとして保存しました。"));
}

}  // namespace orvis
