// The widgets of the settings dialog and where they sit.

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "digits_only_filter.h"
#include "elided_label.h"
#include "flat_button.h"
#include "form_parts.h"
#include "settings_dialog.h"

namespace orvis::ui {
namespace {

QGroupBox* area(QWidget* parent, const char* name, const QString& title) {
  auto* box = named(new QGroupBox(title, parent), name);
  box->setStyleSheet("QGroupBox { font-weight: bold; } QGroupBox * { font-weight: normal; }");
  return box;
}

QComboBox* dropDown(QWidget* parent, const char* name, const QStringList& items = {}) {
  auto* c = named(new QComboBox(parent), name);
  c->addItems(items);
  return c;
}

// A note of one line, kept whole beside its field.
QLabel* shortNote(QWidget* parent, const QString& text) {
  QLabel* l = note(parent, text);
  l->setWordWrap(false);
  return l;
}

QLineEdit* numberEdit(QWidget* parent, const char* name, int maxLength, QObject* filter) {
  QLineEdit* e = edit(parent, name, maxLength);
  e->installEventFilter(filter);
  e->setMaximumWidth(20 + 10 * maxLength);
  e->setAlignment(Qt::AlignRight);
  return e;
}

}  // namespace

void SettingsDialog::buildWidgets() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 6);
  layout->setSpacing(4);

  auto* top = new QHBoxLayout;
  javaCheckButton_ =
      flatButton(this, "SpeedButton3", QStringLiteral("JRE(JAVA実行環境)のチェック"));
  javaCheckButton_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  javaCheckAddressField_ = edit(this, "Edit4", 255);
  javaCheckAddressField_->setText(QStringLiteral("https://www.java.com/ja/download/installed.jsp"));
  javaCheckButton_->setToolTip(QStringLiteral("下のアドレスをブラウザで開きます"));
  top->addWidget(javaCheckButton_);
  top->addWidget(caption(this, QStringLiteral("チェックページ"), javaCheckAddressField_));
  top->addWidget(javaCheckAddressField_, 1);
  layout->addLayout(top);

  layout->addWidget(buildOperationArea());
  layout->addWidget(buildMailArea(), 1);
  layout->addWidget(buildProxyArea());

  auto* bottom = new QHBoxLayout;
  confirmButton_ = flatButton(this, "SpeedButton2", QStringLiteral("確定"));
  closeButton_ = flatButton(this, "SpeedButton1", QStringLiteral("閉じる"));
  for (QToolButton* b : {confirmButton_, closeButton_}) b->setFixedWidth(120);
  bottom->addStretch(1);
  bottom->addWidget(confirmButton_);
  bottom->addWidget(closeButton_);
  layout->addLayout(bottom);
}

QWidget* SettingsDialog::buildOperationArea() {
  auto* box = area(this, "grpOperation", QStringLiteral("●動作基本設定"));
  auto* g = new QGridLayout(box);
  g->setContentsMargins(8, 2, 8, 4);
  g->setVerticalSpacing(2);
  auto* digits = new DigitsOnlyFilter(this);

  logDaysField_ = numberEdit(box, "txtIniValidday", 3, digits);
  checkIntervalField_ = numberEdit(box, "txtIniCheckInterval", 6, digits);
  auto* periods = new QHBoxLayout;
  periods->addWidget(logDaysField_);
  periods->addWidget(new QLabel(QStringLiteral("日分保存"), box));
  periods->addSpacing(24);
  periods->addWidget(caption(box, QStringLiteral("自動チェック周期"), checkIntervalField_));
  periods->addWidget(checkIntervalField_);
  periods->addWidget(new QLabel(QStringLiteral("分周期"), box));
  periods->addStretch(1);
  g->addWidget(caption(box, QStringLiteral("ログ保存期間"), logDaysField_), 0, 0);
  g->addLayout(periods, 0, 1);

  reactivationHourField_ = numberEdit(box, "txtIniReactivationHour", 2, digits);
  reactivationMinuteField_ = numberEdit(box, "txtIniReactivationMin", 2, digits);
  auto* time = new QHBoxLayout;
  time->addWidget(reactivationHourField_);
  time->addWidget(caption(box, QStringLiteral(":"), reactivationMinuteField_));
  // The captions between the fields are punctuation: a screen reader says
  // what each field holds instead.
  reactivationHourField_->setAccessibleName(QStringLiteral("自動再起動（時）"));
  reactivationMinuteField_->setAccessibleName(QStringLiteral("自動再起動（分）"));
  time->addWidget(reactivationMinuteField_);
  time->addWidget(note(box, QStringLiteral("（自動ﾁｪｯｸを行っている場合は指定時刻が到来したら"
                                           "再起動します。）")),
                  1);
  g->addWidget(caption(box, QStringLiteral("自動再起動"), reactivationHourField_), 1, 0);
  g->addLayout(time, 1, 1);

  buzzerDeviceChoice_ = dropDown(box, "cmbIniBuzzerDevice");
  buzzerDeviceChoice_->setMinimumWidth(260);
  auto* device = new QHBoxLayout;
  device->addWidget(buzzerDeviceChoice_);
  device->addWidget(note(box, QStringLiteral("※指定なしの場合は標準ｽﾋﾟｰｶｰへ")), 1);
  g->addWidget(caption(box, QStringLiteral("警告ブザー再生デバイス"), buzzerDeviceChoice_), 2, 0);
  g->addLayout(device, 2, 1);

  QStringList counts{QStringLiteral("無限")};
  for (int i = 0; i <= 10; ++i) counts << QString::number(i);
  playCountChoice_ = dropDown(box, "CmbIniPlayCountDiscon", counts);
  auto* plays = new QHBoxLayout;
  plays->addWidget(playCountChoice_);
  plays->addWidget(note(box, QStringLiteral("※チェックエラーを検出した際、ﾌﾞｻﾞｰを鳴らす回数")), 1);
  g->addWidget(caption(box, QStringLiteral("ブザー回数"), playCountChoice_), 3, 0);
  g->addLayout(plays, 3, 1);

  compareContentBox_ = named(new QCheckBox(QStringLiteral("比較チェックする"), box), "CheckBox1");
  auto* compare = new QHBoxLayout;
  compare->addWidget(compareContentBox_);
  compare->addWidget(note(box, QStringLiteral("※比較しない場合は応答チェックのみ")), 1);
  g->addWidget(caption(box, QStringLiteral("ソース比較チェック"), compareContentBox_), 4, 0);
  g->addLayout(compare, 4, 1);

  auto* ranges =
      named(new QGroupBox(QStringLiteral("指定の範囲では異常検出しない"), box), "grpIgnoreRanges");
  auto* r = new QGridLayout(ranges);
  r->setContentsMargins(6, 0, 6, 2);
  r->setVerticalSpacing(0);
  const QString captions[6] = {
      QStringLiteral("<SCRIPT ～ /SCRIPT>"), QStringLiteral("<!-- ～ -->"),
      QStringLiteral("<A ～ </A>"),          QStringLiteral("SRC=\" ～ \""),
      QStringLiteral("ALT=\" ～ \""),        QStringLiteral("<HEAD> ～ </HEAD>")};
  const char* names[6] = {"CheckBox2", "CheckBox3", "CheckBox4",
                          "CheckBox5", "CheckBox6", "CheckBox7"};
  for (int i = 0; i < 6; ++i) {
    ignoreBoxes_[i] = named(new QCheckBox(captions[i], ranges), names[i]);
    r->addWidget(ignoreBoxes_[i], i / 3, i % 3);
  }
  g->addWidget(ranges, 5, 1);

  userAgentField_ = edit(box, "txtUserAgent", 64);
  auto* agent = new QHBoxLayout;
  agent->addWidget(userAgentField_, 1);
  agent->addWidget(shortNote(box, QStringLiteral("※アクセス時に通知するエージェント名")));
  g->addWidget(caption(box, QStringLiteral("User-Agent"), userAgentField_), 6, 0);
  g->addLayout(agent, 6, 1);
  g->setColumnStretch(1, 1);
  return box;
}

QWidget* SettingsDialog::buildMailArea() {
  auto* box = area(this, "grpMail", QStringLiteral("●メール送信設定"));
  auto* columns = new QHBoxLayout(box);
  columns->setContentsMargins(8, 2, 8, 4);
  columns->setSpacing(16);

  // The account, on the left.
  auto* a = new QGridLayout;
  a->setVerticalSpacing(2);
  smtpTypeChoice_ = dropDown(box, "CmbSmtp", {"SMTP", "SMTP-AUTH"});
  a->addWidget(caption(box, QStringLiteral("SMTP送信タイプ"), smtpTypeChoice_), 0, 0);
  a->addWidget(smtpTypeChoice_, 0, 1, Qt::AlignLeft);
  smtpUserField_ = edit(box, "txtSmtpId", 64);
  smtpPasswordField_ = edit(box, "txtSmtpPwd", 64);
  smtpPasswordField_->setEchoMode(QLineEdit::Password);
  a->addWidget(caption(box, QStringLiteral("SMTP-AUTH用ﾕｰｻﾞｰID／ﾊﾟｽﾜｰﾄﾞ"), smtpUserField_), 1, 0, 1,
               2);
  auto* login = new QHBoxLayout;
  login->addWidget(smtpUserField_);
  login->addWidget(caption(box, QStringLiteral("／"), smtpPasswordField_));
  smtpUserField_->setAccessibleName(QStringLiteral("SMTP-AUTH用ﾕｰｻﾞｰID"));
  smtpPasswordField_->setAccessibleName(QStringLiteral("SMTP-AUTH用ﾊﾟｽﾜｰﾄﾞ"));
  login->addWidget(smtpPasswordField_);
  a->addLayout(login, 2, 0, 1, 2);
  smtpServerField_ = edit(box, "Edit1", 64);
  a->addWidget(caption(box, QStringLiteral("SMTPサーバーアドレス"), smtpServerField_), 3, 0);
  a->addWidget(smtpServerField_, 3, 1);
  smtpPortField_ = edit(box, "txtSmtpPort", 4);
  smtpPortField_->setMaximumWidth(60);
  auto* port = new QHBoxLayout;
  port->addWidget(smtpPortField_);
  port->addWidget(shortNote(box, QStringLiteral("SMTP:25 SMTP-AUTH:587")), 1);
  a->addWidget(caption(box, QStringLiteral("ポート"), smtpPortField_), 4, 0);
  a->addLayout(port, 4, 1);
  clientNameField_ = edit(box, "Edit2", 64);
  a->addWidget(caption(box, QStringLiteral("クライアント名"), clientNameField_), 5, 0);
  a->addWidget(clientNameField_, 5, 1);
  a->addWidget(note(box, QStringLiteral("※メールアカウントを登録します。")), 6, 1);
  senderAddressField_ = edit(box, "Edit3", 64);
  a->addWidget(caption(box, QStringLiteral("送信元メールアドレス"), senderAddressField_), 7, 0);
  a->addWidget(senderAddressField_, 7, 1);
  senderNameField_ = edit(box, "txtMailName", 64);
  a->addWidget(caption(box, QStringLiteral("送信元名称"), senderNameField_), 8, 0);
  a->addWidget(senderNameField_, 8, 1);
  a->setRowStretch(9, 1);
  columns->addLayout(a, 6);

  // The mail groups and the recipients of the chosen one, on the right.
  auto* m = new QGridLayout;
  m->setVerticalSpacing(2);
  newGroupNameField_ = edit(box, "txtMailGroup", 64);
  addGroupButton_ = flatButton(box, "SpeedButton4", QStringLiteral("ﾒｰﾙｸﾞﾙｰﾌﾟ追加"));
  deleteGroupButton_ = flatButton(box, "SpeedButton6", QStringLiteral("ﾒｰﾙｸﾞﾙｰﾌﾟ削除"));
  m->addWidget(caption(box, QStringLiteral("追加するｸﾞﾙｰﾌﾟ名"), newGroupNameField_), 0, 0);
  m->addWidget(newGroupNameField_, 0, 1);
  m->addWidget(addGroupButton_, 0, 2);
  m->addWidget(shortNote(box, QStringLiteral("※削除は最後のｸﾞﾙｰﾌﾟが削除されます")), 1, 0, 1, 2);
  m->addWidget(deleteGroupButton_, 1, 2);
  mailGroupChoice_ = dropDown(box, "cmbMailGroup");
  mailGroupNameLabel_ = named(new ElidedLabel(box), "pnlMailGroup");
  mailGroupNameLabel_->setFrameShape(QFrame::Panel);
  mailGroupNameLabel_->setFrameShadow(QFrame::Sunken);
  auto* choice = new QHBoxLayout;
  choice->addWidget(mailGroupChoice_);
  choice->addWidget(mailGroupNameLabel_, 1);
  m->addWidget(caption(box, QStringLiteral("ﾒｰﾙｸﾞﾙｰﾌﾟ選択"), mailGroupChoice_), 2, 0);
  m->addLayout(choice, 2, 1, 1, 2);
  recipientsField_ = named(new QPlainTextEdit(box), "Memo1");
  recipientsField_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // A tab is no part of an address: Tab moves on, as in every other field.
  recipientsField_->setTabChangesFocus(true);
  m->addWidget(caption(box, QStringLiteral("ﾒｰﾙ送信先ﾘｽﾄ"), recipientsField_), 3, 0, Qt::AlignTop);
  m->addWidget(recipientsField_, 3, 1, 1, 2);
  m->addWidget(
      note(box, QStringLiteral("※表示されているﾒｰﾙｸﾞﾙｰﾌﾟとしてﾒｰﾙ送信先ﾘｽﾄが保存されます。\n"
                               "※ﾘｽﾄが空の場合は、ﾒｰﾙ送信しません")),
      4, 0, 1, 3);
  auto* examples = new QLabel(QStringLiteral("例）taro.yamada@example.jp\n"
                                             "　　hanako.suzuki@example.jp"),
                              box);
  examples->setObjectName("lblRecipientExamples");
  examples->setStyleSheet("color: gray;");
  saveRecipientsButton_ = flatButton(box, "SpeedButton5", QStringLiteral("ﾒｰﾙ送信先ﾘｽﾄ保存"));
  m->addWidget(examples, 5, 0, 1, 2);
  m->addWidget(saveRecipientsButton_, 5, 2);
  m->setRowStretch(3, 1);
  m->setColumnStretch(1, 1);
  columns->addLayout(m, 5);
  return box;
}

QWidget* SettingsDialog::buildProxyArea() {
  auto* box = area(this, "grpProxy",
                   QStringLiteral("●PROXY設定（メイン画面で登録するチェック対象URLごとに"
                                  "使用するしないを指定できます。）"));
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(8, 2, 8, 4);
  proxyAddressField_ = edit(box, "txtProxyIp", 64);
  proxyAddressField_->setMaximumWidth(160);
  proxyPortField_ = edit(box, "txtProxyPort", 5);
  proxyPortField_->setMaximumWidth(70);
  row->addWidget(caption(box, QStringLiteral("PROXYサーバーIPアドレス"), proxyAddressField_));
  row->addWidget(proxyAddressField_);
  row->addWidget(note(box, QStringLiteral("例）192.168.0.1")));
  row->addSpacing(24);
  row->addWidget(caption(box, QStringLiteral("ポート"), proxyPortField_));
  row->addWidget(proxyPortField_);
  row->addWidget(note(box, QStringLiteral("例）8080")));
  row->addStretch(1);
  return box;
}

}  // namespace orvis::ui
