#include "settings_editor.h"

#include <cstdint>
#include <cstdio>

#include "ip_address.h"
#include "mail/sender_settings.h"
#include "monitor/catalogue/mail_group_count.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {
namespace {

using C = SettingsControl;

constexpr const char* kCommon = "COMMON";
constexpr const char* kSmtpAuth = "SMTP-AUTH";

// The standard comparison rules: each box with its key.
struct RuleBox {
  SettingsControl box;
  const char* key;
};
constexpr RuleBox kRuleBoxes[] = {
    {C::CompareContent, "SOURCE_CHECK"},  {C::IgnoreScript, "SCRIPT_IGNORE"},
    {C::IgnoreComment, "COMMENT_IGNORE"}, {C::IgnoreLinks, "HREF_IGNORE"},
    {C::IgnoreSrc, "SRC_IGNORE"},         {C::IgnoreAlt, "ALT_IGNORE"},
    {C::IgnoreHead, "HEAD_IGNORE"},
};

// A field's text as a whole number within [low, high].
bool numberWithin(const std::string& text, int low, int high) {
  const auto n = platform::parseInt(text);
  return n && *n >= low && *n <= high;
}

std::string decimal(const std::string& text) {
  return std::to_string(platform::parseInt(text).value_or(0));
}

}  // namespace

SettingsEditor::SettingsEditor(const Services& services, const StartInfo& start,
                               const ShellState& state, SettingsStore& store,
                               SettingsEditorView& view, MainWindowParts main, DeviceNames devices)
    : s_(services),
      start_(start),
      state_(state),
      store_(store),
      view_(view),
      main_(main),
      devices_(std::move(devices)),
      groups_(services.dataFolder),
      opener_(services),
      iniPath_(services.path("ORVIS.ini")),
      postivaPath_(services.path("mail/Postiva.ini")) {}

std::vector<std::string> SettingsEditor::initialDeviceItems() {
  return {SJIS("ｺﾝﾌｧｰﾑ（確認画面を表示します）"), SJIS("ﾊﾟｽｽﾙｰ（常にｽﾙｰします）")};
}

std::string SettingsEditor::readFor(SettingsControl control, const std::string& path,
                                    const std::string& section, const std::string& key) {
  std::optional<std::string> value = s_.ini.readOrFail(path, section, key);
  if (!value) unread_[control];
  return value.value_or(std::string());
}

std::string SettingsEditor::readCommon(SettingsControl control, const char* key) {
  return readFor(control, iniPath_, kCommon, key);
}

std::string SettingsEditor::shownState(SettingsControl control) const {
  for (const RuleBox& rule : kRuleBoxes)
    if (rule.box == control) return view_.checked(control) ? "1" : "0";
  return view_.text(control);
}

bool SettingsEditor::leftAsStored(SettingsControl control) const {
  const auto it = unread_.find(control);
  return it != unread_.end() && it->second == shownState(control);
}

int SettingsEditor::groupCount() const {
  // As the job editor's list counts them, so that an item is one group in both.
  return mailGroupsOffered(store_.current().mailGroupCount).count;
}

bool SettingsEditor::ask(const std::string& question) {
  return s_.boxes.show(question, "OrvisWatch",
                       mb::OKCancel | mb::IconExclamation | mb::DefButton2) == mb::IdOk;
}

void SettingsEditor::refuse(const std::string& message, SettingsControl focus) {
  s_.boxes.show(message, "OrvisWatch", mb::IconExclamation);
  view_.focus(focus);
}

void SettingsEditor::tell(const std::string& message) {
  s_.boxes.show(message, "OrvisWatch", mb::OK);
}

// ---- Showing ------------------------------------------------------------

void SettingsEditor::refill() {
  unread_.clear();
  std::vector<std::string> names;
  view_.setItems(C::BuzzerDevice, devices_(names) == 0 ? names : initialDeviceItems());
  fillOperationSettings();
  fillMailAccount();
  view_.setText(C::ProxyAddress, readCommon(C::ProxyAddress, "PROXYIP"));
  view_.setText(C::ProxyPort, readCommon(C::ProxyPort, "PROXYPORT"));
  fillMailGroups();
  fillComparisonRules();
  view_.setEnabled(C::SmtpUser, view_.text(C::SmtpType) == kSmtpAuth);
  view_.setEnabled(C::SmtpPassword, view_.text(C::SmtpType) == kSmtpAuth);
  for (auto& [control, shown] : unread_) shown = shownState(control);
}

void SettingsEditor::fillOperationSettings() {
  view_.setText(C::LogDays, readCommon(C::LogDays, "VALIDDAY"));
  view_.setText(C::CheckInterval, readCommon(C::CheckInterval, "CHECKINTERVAL"));
  const std::string time = readCommon(C::ReactivationHour, "REACTIVATION");
  if (unread_.count(C::ReactivationHour)) unread_[C::ReactivationMinute];
  view_.setText(C::ReactivationHour, time.substr(0, 2));
  view_.setText(C::ReactivationMinute, time.size() > 3 ? time.substr(3, 2) : std::string());

  const std::string device = readCommon(C::BuzzerDevice, "BUZZERDEVICE");
  const std::vector<std::string> devices = view_.items(C::BuzzerDevice);
  int chosen = -1;
  for (size_t i = 0; i < devices.size() && chosen < 0; ++i)
    if (devices[i] == device) chosen = static_cast<int>(i);
  view_.setSelectedIndex(C::BuzzerDevice, chosen);

  // "無限" (-1) at the top, then 0 to 10; anything else chooses nothing.
  const std::string count = readCommon(C::PlayCount, "PLAYCOUNTDISCON");
  const auto plays = platform::parseInt(count);
  if (!plays)
    view_.setSelectedIndex(C::PlayCount, 0);
  else
    view_.setSelectedIndex(C::PlayCount, (*plays >= -1 && *plays <= 10) ? *plays + 1 : -1);

  const std::string agent = readCommon(C::UserAgent, "USERAGENT");
  view_.setText(C::UserAgent, agent.empty() ? std::string(kDefaultUserAgent) : agent);
}

void SettingsEditor::fillMailAccount() {
  const std::string& section = mail::senderSection();
  auto read = [&](SettingsControl control, const std::string& key) {
    return readFor(control, postivaPath_, section, key);
  };
  view_.setText(C::SmtpServer, read(C::SmtpServer, "SMTPServer"));
  view_.setText(C::ClientName, read(C::ClientName, SJIS("クライアント名称")));
  view_.setText(C::SenderAddress, read(C::SenderAddress, SJIS("送信元メールアドレス")));
  const std::string type = read(C::SmtpType, "SMTP");
  const std::vector<std::string> types = view_.items(C::SmtpType);
  for (size_t i = 0; i < types.size(); ++i)
    if (types[i] == type) view_.setSelectedIndex(C::SmtpType, static_cast<int>(i));
  view_.setText(C::SmtpUser, read(C::SmtpUser, "SMTPID"));
  view_.setText(C::SmtpPassword, read(C::SmtpPassword, "SMTPPWD"));
  view_.setText(C::SmtpPort, read(C::SmtpPort, "SMTPPORT"));
  view_.setText(C::SenderName, read(C::SenderName, SJIS("送信元名称")));
}

void SettingsEditor::fillComparisonRules() {
  for (const RuleBox& rule : kRuleBoxes)
    view_.setChecked(rule.box, readCommon(rule.box, rule.key) == "YES");
  compareContentToggled();
}

// ---- Controls that follow others ------------------------------------------

void SettingsEditor::compareContentToggled() {
  const bool on = view_.checked(C::CompareContent);
  for (const RuleBox& rule : kRuleBoxes)
    if (rule.box != C::CompareContent) view_.setEnabled(rule.box, on);
}

void SettingsEditor::smtpTypeChosen() {
  const bool auth = view_.text(C::SmtpType) == kSmtpAuth;
  view_.setEnabled(C::SmtpUser, auth);
  view_.setEnabled(C::SmtpPassword, auth);
  view_.setText(C::SmtpPort, auth ? "587" : "25");
}

// ---- Storing --------------------------------------------------------------

bool SettingsEditor::fieldsValid() {
  struct Check {
    SettingsControl field;
    bool (*accepts)(const std::string& text);
    const char* message;
  };
  static constexpr Check kChecks[] = {
      {C::LogDays, [](const std::string& t) { return numberWithin(t, 1, INT32_MAX); },
       "Invalid value."},
      {C::CheckInterval, [](const std::string& t) { return numberWithin(t, 1, INT32_MAX); },
       "Invalid value."},
      {C::ReactivationHour, [](const std::string& t) { return numberWithin(t, 0, 23); },
       "Invalid value. 0 - 23"},
      {C::ReactivationMinute, [](const std::string& t) { return numberWithin(t, 0, 59); },
       "Invalid value. 0 - 59"},
      {C::SmtpPort, [](const std::string& t) { return numberWithin(t, 0, 9999); },
       "[SMTP PORT] Invalid value. 25 or 587"},
      // Blanks alone are no agent name: they would be stored as an empty one.
      {C::UserAgent, [](const std::string& t) { return !platform::trim(t).empty(); },
       "[User-Agent] Invalid value."},
      {C::ProxyAddress,
       [](const std::string& t) { return platform::trim(t).empty() || isValidIpAddress(t); },
       "[PROXY IP] Invalid value. xxx.xxx.xxx.xxx"},
      {C::ProxyPort,
       [](const std::string& t) {
         const std::string port = platform::trim(t);
         return port.empty() || numberWithin(port, 0, 65535);
       },
       "[PROXY PORT] Invalid value."},
  };
  for (const Check& check : kChecks) {
    if (!check.accepts(view_.text(check.field))) {
      refuse(check.message, check.field);
      return false;
    }
  }
  return true;
}

void SettingsEditor::saveSettings() {
  if (!ask(SJIS("設定内容を保存します。よろしいですか？"))) return;
  if (!fieldsValid()) return;
  writeOperationSettings();
  store_.reloadAfterSave();
  main_.shell.setCheckPeriod(std::to_string(store_.current().checkInterval));
  writeMailAccount();
  platform::makeFolders(s_.path("mail"));
  if (!platform::writeFileAtomic(
          s_.path("mail/Subject-0.txt"),
          platform::joinLinesCrLf({SJIS("【ORVIS】システムからの連絡です。")})))
    s_.log.write(SJIS("メール件名ファイルを書き込めません->mail/Subject-0.txt"));
  writeComparisonRules();
  store_.reloadComparisonRules();
  s_.boxes.show(SJIS("設定変更しました"), "OrvisWatch", mb::IconExclamation);
}

void SettingsEditor::writeOperationSettings() {
  // A value that could not be read, and was not changed since, stays as it
  // is stored: the empty text shown for it is no value of the user's.
  auto write = [&](SettingsControl control, const char* key, const std::string& value) {
    if (!leftAsStored(control)) s_.ini.write(iniPath_, kCommon, key, value);
  };
  write(C::LogDays, "VALIDDAY", decimal(view_.text(C::LogDays)));
  write(C::CheckInterval, "CHECKINTERVAL", decimal(view_.text(C::CheckInterval)));
  char time[16];
  std::snprintf(time, sizeof time, "%.2d:%.2d",
                platform::parseInt(view_.text(C::ReactivationHour)).value_or(0),
                platform::parseInt(view_.text(C::ReactivationMinute)).value_or(0));
  // One key for the two fields.
  if (!leftAsStored(C::ReactivationHour) || !leftAsStored(C::ReactivationMinute))
    s_.ini.write(iniPath_, kCommon, "REACTIVATION", time);
  write(C::BuzzerDevice, "BUZZERDEVICE", view_.text(C::BuzzerDevice));
  write(C::PlayCount, "PLAYCOUNTDISCON", std::to_string(view_.selectedIndex(C::PlayCount) - 1));
  write(C::UserAgent, "USERAGENT", platform::trim(view_.text(C::UserAgent)));
  write(C::ProxyAddress, "PROXYIP", platform::trim(view_.text(C::ProxyAddress)));
  write(C::ProxyPort, "PROXYPORT", platform::trim(view_.text(C::ProxyPort)));
}

void SettingsEditor::writeMailAccount() {
  platform::makeFolders(s_.path("mail"));
  const std::string& section = mail::senderSection();
  // The file holds the SMTP password: for its owner's eyes only.
  auto writeAlways = [&](const std::string& key, const std::string& value) {
    s_.ini.write(postivaPath_, section, key, value, platform::FileAccess::OwnerOnly);
  };
  auto write = [&](SettingsControl control, const std::string& key, const std::string& value) {
    if (!leftAsStored(control)) writeAlways(key, value);
  };
  write(C::SmtpServer, "SMTPServer", platform::trim(view_.text(C::SmtpServer)));
  write(C::ClientName, SJIS("クライアント名称"), platform::trim(view_.text(C::ClientName)));
  write(C::SenderAddress, SJIS("送信元メールアドレス"),
        platform::trim(view_.text(C::SenderAddress)));
  writeAlways("PauseInterval", "0");
  writeAlways("PauseTime", "0");
  write(C::SmtpType, "SMTP", view_.text(C::SmtpType));
  write(C::SmtpUser, "SMTPID", view_.text(C::SmtpUser));
  write(C::SmtpPassword, "SMTPPWD", view_.text(C::SmtpPassword));
  write(C::SmtpPort, "SMTPPORT", view_.text(C::SmtpPort));
  write(C::SenderName, SJIS("送信元名称"), view_.text(C::SenderName));
}

void SettingsEditor::writeComparisonRules() {
  for (const RuleBox& rule : kRuleBoxes)
    if (!leftAsStored(rule.box))
      s_.ini.write(iniPath_, kCommon, rule.key, view_.checked(rule.box) ? "YES" : "NO");
}

// ---- Closing and the Java page ----------------------------------------------

bool SettingsEditor::confirmClose() {
  // Nobody to answer in a service start; nothing to ask when the monitor ends.
  if (start_.isService() || state_.shutdownFlag == 1) return true;
  return ask(SJIS("設定画面を終了します。よろしいですか？"));
}

void SettingsEditor::openJavaCheckPage() {
  const std::string address = view_.text(C::JavaCheckAddress);
  if (address.empty()) {
    tell(SJIS("最新のダウンロードサイトURIを指定してください。"));
    return;
  }
  opener_.open(platform::toUtf8(address));
}

}  // namespace orvis
