// The settings dialog as the user meets it: opened by "設定" over the files
// of a data folder, its checks, what a store writes byte by byte, the mail
// groups and their recipients, and the close question.

#include <sys/stat.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "platform/codec.h"
#include "support/window_rig.h"

using namespace orvis;
using namespace orvis::testing;
using orvis::ui::QtPrompter;

namespace {

const char* const kIni = "ORVIS.ini";
const char* const kPostiva = "mail/Postiva.ini";

// A main window over the files a test wrote first, its dialog opened by "設定".
struct DialogRig : WindowServices {
  explicit DialogRig(const std::vector<std::string>& args = {}) : args_(args) {
    sound.names = {"hw:Speaker", "hw:Headset"};
  }
  void file(const std::string& rel, const std::string& utf8) { writeText(dir / rel, sj(utf8)); }
  std::string bytes(const std::string& rel) const { return platform::toUtf8(readText(dir / rel)); }

  ui::SettingsDialog& open() {
    if (!form) {
      form = makeWindow(args_);
      form->show();
    }
    form->findChild<QToolButton*>("SpeedButton50")->click();
    return form->settingsDialog();
  }
  template <typename T = QLineEdit>
  T* at(const char* name) {
    return form->settingsDialog().findChild<T*>(name);
  }
  QStringList items(QComboBox* c) const {
    QStringList out;
    for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    return out;
  }
  void choose(const char* list, int index) {
    at<QComboBox>(list)->setCurrentIndex(index);
    emit at<QComboBox>(list)->activated(index);
  }
  // The boxes one click shows, answered in order.
  std::vector<QtPrompter::Shown> click(const char* button, std::vector<int> answers = {}) {
    prompter.clearShown();
    prompter.setNextAnswers(std::move(answers));
    QTest::mouseClick(at<QToolButton>(button), Qt::LeftButton);
    return prompter.shown();
  }

  std::vector<std::string> args_;
  std::unique_ptr<ui::MainWindow> form;
};

QString u(const std::string& utf8) { return QString::fromStdString(utf8); }

void verifyWarning(const QtPrompter::Shown& box, const QString& text) {
  QCOMPARE(box.text, text);
  QCOMPARE(box.caption, QStringLiteral("OrvisWatch"));
  QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  QCOMPARE(box.icon, QMessageBox::Warning);
}

void verifyQuestion(const QtPrompter::Shown& box, const QString& text) {
  QCOMPARE(box.text, text);
  QCOMPARE(box.buttons, QMessageBox::Ok | QMessageBox::Cancel);
  QCOMPARE(box.defaultButton, QMessageBox::Cancel);
}

mode_t modeOf(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

}  // namespace

class SettingsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void everyShowFillsTheFieldsFromTheFiles() {
    DialogRig r;
    r.file(kIni,
           "[COMMON]\r\nVALIDDAY=7\r\nCHECKINTERVAL=15\r\nREACTIVATION=07:05\r\n"
           "BUZZERDEVICE=hw:Headset\r\nPROXYIP=10.0.0.1\r\nPROXYPORT=8080\r\nSCRIPT_IGNORE=YES\r\n"
           "HEAD_IGNORE=yes\r\nMAILGROUPCOUNT=2\r\n");
    r.file(kPostiva,
           "[メール同報システム]\r\nSMTPServer=smtp.example.jp\r\nクライアント名称=orvis-host\r\n"
           "送信元メールアドレス=alerts@example.jp\r\nSMTP=SMTP-AUTH\r\nSMTPID=user\r\n"
           "SMTPPWD=secret\r\nSMTPPORT=587\r\n送信元名称=監視システム\r\n");
    r.file("mail/Group-0.txt", "  本社  \r\n");
    r.file("mail/list.txt", "a@x.jp,0\r\nb@x.jp,1\r\nc@x.jp,0\r\n");
    ui::SettingsDialog& d = r.open();
    QVERIFY(d.isVisible());
    QCOMPARE(d.size(), QSize(732, 688));
    QVERIFY(!d.isModal());

    const std::pair<const char*, QString> texts[] = {
        {"txtIniValidday", "7"},
        {"txtIniCheckInterval", "15"},
        {"txtIniReactivationHour", "07"},
        {"txtIniReactivationMin", "05"},
        {"txtUserAgent", "NewORVIS Connection"},
        {"Edit1", "smtp.example.jp"},
        {"Edit2", "orvis-host"},
        {"Edit3", "alerts@example.jp"},
        {"txtSmtpId", "user"},
        {"txtSmtpPwd", "secret"},
        {"txtSmtpPort", "587"},
        {"txtMailName", u("監視システム")},
        {"txtProxyIp", "10.0.0.1"},
        {"txtProxyPort", "8080"},
        {"txtMailGroup", ""},
    };
    for (const auto& [name, text] : texts) QCOMPARE(r.at(name)->text(), text);
    QCOMPARE(r.at<QComboBox>("cmbIniBuzzerDevice")->currentText(), QStringLiteral("hw:Headset"));
    QCOMPARE(r.at<QComboBox>("CmbIniPlayCountDiscon")->currentText(), u("無限"));
    QCOMPARE(r.at<QComboBox>("CmbSmtp")->currentText(), QStringLiteral("SMTP-AUTH"));
    QVERIFY(r.at("txtSmtpId")->isEnabled() && r.at("txtSmtpPwd")->isEnabled());
    QCOMPARE(r.at("txtSmtpPwd")->echoMode(), QLineEdit::Password);
    // Without SOURCE_CHECK the box is clear and the ranges are locked;
    // only an exact "YES" checks a box.
    QVERIFY(!r.at<QCheckBox>("CheckBox1")->isChecked());
    QVERIFY(r.at<QCheckBox>("CheckBox2")->isChecked() &&
            !r.at<QCheckBox>("CheckBox2")->isEnabled());
    QVERIFY(!r.at<QCheckBox>("CheckBox7")->isChecked());
    QTest::mouseClick(r.at<QCheckBox>("CheckBox1"), Qt::LeftButton);
    QVERIFY(r.at<QCheckBox>("CheckBox7")->isEnabled());
    QCOMPARE(r.items(r.at<QComboBox>("cmbMailGroup")), QStringList({"1", "2"}));
    QCOMPARE(r.at<QLabel>("pnlMailGroup")->text(), u("本社"));
    QCOMPARE(r.at<QPlainTextEdit>("Memo1")->toPlainText(), QStringLiteral("a@x.jp\nc@x.jp"));

    // Every input is named by its caption.
    for (auto* field : d.findChildren<QLineEdit*>()) {
      bool named = false;
      for (auto* label : d.findChildren<QLabel*>()) named = named || label->buddy() == field;
      QVERIFY2(named, qPrintable(field->objectName()));
    }

    // Typing lets digits and backspace through only.
    QLineEdit* days = r.at("txtIniValidday");
    days->clear();
    QTest::keyClicks(days, "1a2-");
    QTest::keyClick(days, Qt::Key_Backspace);
    QTest::keyClicks(days, "3");
    QCOMPARE(days->text(), QStringLiteral("13"));

    // Edits not stored are gone at the next show, which also asks the
    // system for its devices again: none leaves the form's own two items.
    d.hide();
    r.sound.names.clear();
    r.open();
    QCOMPARE(days->text(), QStringLiteral("7"));
    QCOMPARE(r.items(r.at<QComboBox>("cmbIniBuzzerDevice")),
             QStringList({u("ｺﾝﾌｧｰﾑ（確認画面を表示します）"), u("ﾊﾟｽｽﾙｰ（常にｽﾙｰします）")}));
    QCOMPARE(r.at<QComboBox>("cmbIniBuzzerDevice")->currentIndex(), -1);
  }

  void theChecksRunInOrderAndFocusTheFirstFailure() {
    DialogRig r;
    r.open();
    struct Row {
      const char* field;
      const char* bad;
      const char* good;
      const char* message;
    };
    const Row rows[] = {
        {"txtIniValidday", "0", "3", "Invalid value."},
        {"txtIniCheckInterval", "x", "10", "Invalid value."},
        {"txtIniReactivationHour", "24", "23", "Invalid value. 0 - 23"},
        {"txtIniReactivationMin", "60", "59", "Invalid value. 0 - 59"},
        {"txtSmtpPort", "2a", "465", "[SMTP PORT] Invalid value. 25 or 587"},
        {"txtUserAgent", "  ", "Agent", "[User-Agent] Invalid value."},
        {"txtProxyIp", "192.168.0.255", "192.168.0.1", "[PROXY IP] Invalid value. xxx.xxx.xxx.xxx"},
        {"txtProxyPort", "65536", "8080", "[PROXY PORT] Invalid value."},
    };
    for (const Row& row : rows) r.at(row.field)->setText(row.bad);
    // A cancelled question stores nothing and checks nothing.
    auto shown = r.click("SpeedButton2", {mb::IdCancel});
    QCOMPARE(shown.size(), size_t(1));
    verifyQuestion(shown[0], u("設定内容を保存します。よろしいですか？"));
    for (const Row& row : rows) {
      shown = r.click("SpeedButton2", {mb::IdOk, mb::IdOk});
      QCOMPARE(shown.size(), size_t(2));
      verifyWarning(shown[1], QString::fromLatin1(row.message));
      QCOMPARE(r.form->settingsDialog().focusWidget(), r.at(row.field));
      QCOMPARE(r.bytes(kIni), std::string("[COMMON]\r\nMAILGROUPCOUNT=1\r\n"));
      r.at(row.field)->setText(row.good);
    }
    shown = r.click("SpeedButton2", {mb::IdOk, mb::IdOk});
    QCOMPARE(shown.size(), size_t(2));
    verifyWarning(shown[1], u("設定変更しました"));

    // The proxy address: four numbers 0 to 254 joined by points.
    const std::pair<const char*, bool> proxies[] = {{"192.168.0.1", true},
                                                    {"192.168.0.255", false},
                                                    {"192.168.0", false},
                                                    {"192,168,0,1", false},
                                                    {"", true},
                                                    {"1.2.x.4", false}};
    for (const auto& [address, accepted] : proxies) {
      r.at("txtProxyIp")->setText(address);
      shown = r.click("SpeedButton2", {mb::IdOk, mb::IdOk});
      QCOMPARE(shown.back().text == u("設定変更しました"), accepted);
    }
  }

  void aStoreWritesBothFilesInTheirOrderAndReloadsTheMonitor() {
    DialogRig r;
    // A mail sender file of old: its other keys stay, and it becomes the
    // owner's alone since it is to hold the password.
    r.file(kPostiva, "[メール同報システム]\r\nRetry=3\r\n");
    ::chmod((r.dir / kPostiva).c_str(), 0644);
    r.open();
    const std::pair<const char*, QString> typed[] = {
        {"txtIniValidday", "007"},       {"txtIniCheckInterval", "15"},
        {"txtIniReactivationHour", "7"}, {"txtIniReactivationMin", "5"},
        {"txtUserAgent", " Agent/1.0 "}, {"txtProxyIp", " 192.168.0.1 "},
        {"txtProxyPort", "8080"},        {"Edit1", " smtp.example.jp "},
        {"Edit2", "orvis-host"},         {"Edit3", "alerts@example.jp"},
        {"txtMailName", u(" 監視 ")},
    };
    for (const auto& [name, text] : typed) r.at(name)->setText(text);
    r.at<QComboBox>("cmbIniBuzzerDevice")->setCurrentIndex(1);
    r.at<QComboBox>("CmbIniPlayCountDiscon")->setCurrentIndex(4);
    r.choose("CmbSmtp", 1);
    QCOMPARE(r.at("txtSmtpPort")->text(), QStringLiteral("587"));
    QVERIFY(r.at("txtSmtpId")->isEnabled());
    r.choose("CmbSmtp", 0);
    QCOMPARE(r.at("txtSmtpPort")->text(), QStringLiteral("25"));
    QVERIFY(!r.at("txtSmtpId")->isEnabled() && !r.at("txtSmtpPwd")->isEnabled());
    r.choose("CmbSmtp", 1);
    r.at("txtSmtpId")->setText("user");
    r.at("txtSmtpPwd")->setText("p@ss word");
    // A locked range box is stored as it shows.
    r.at<QCheckBox>("CheckBox3")->setChecked(true);

    auto shown = r.click("SpeedButton2", {mb::IdOk, mb::IdOk});
    QCOMPARE(shown.size(), size_t(2));
    verifyWarning(shown[1], u("設定変更しました"));
    QCOMPARE(r.bytes(kIni),
             std::string("[COMMON]\r\nMAILGROUPCOUNT=1\r\nVALIDDAY=7\r\nCHECKINTERVAL=15\r\n"
                         "REACTIVATION=07:05\r\nBUZZERDEVICE=hw:Headset\r\nPLAYCOUNTDISCON=3\r\n"
                         "USERAGENT=Agent/1.0\r\nPROXYIP=192.168.0.1\r\nPROXYPORT=8080\r\n"
                         "SOURCE_CHECK=NO\r\nSCRIPT_IGNORE=NO\r\nCOMMENT_IGNORE=YES\r\n"
                         "HREF_IGNORE=NO\r\nSRC_IGNORE=NO\r\nALT_IGNORE=NO\r\nHEAD_IGNORE=NO\r\n"));
    const std::string postiva =
        "[メール同報システム]\r\nRetry=3\r\nSMTPServer=smtp.example.jp\r\n"
        "クライアント名称=orvis-host\r\n送信元メールアドレス=alerts@example.jp\r\n"
        "PauseInterval=0\r\nPauseTime=0\r\nSMTP=SMTP-AUTH\r\nSMTPID=user\r\n"
        "SMTPPWD=p@ss word\r\nSMTPPORT=587\r\n送信元名称= 監視 \r\n";
    QCOMPARE(r.bytes(kPostiva), postiva);
    QCOMPARE(modeOf(r.dir / kPostiva), mode_t(0600));
    QCOMPARE(r.bytes("mail/Subject-0.txt"), std::string("【ORVIS】システムからの連絡です。\r\n"));

    const Settings& now = r.form->monitor().settings().current();
    QCOMPARE(now.checkInterval, 15);
    QCOMPARE(now.reactivation, std::string("07:05"));
    QCOMPARE(now.buzzerDevice, std::string("hw:Headset"));
    QCOMPARE(now.playCount, std::string("3"));
    QCOMPARE(now.sourceCheck, std::string("NO"));
    QCOMPARE(now.commentIgnore, std::string("YES"));
    QCOMPARE(r.form->findChild<QLineEdit*>("Edit3")->text(), QStringLiteral("15"));

    // What was stored comes back at the next show (INI values read without
    // their outer blanks), and a second store keeps the file private.
    r.form->settingsDialog().hide();
    r.open();
    QCOMPARE(r.at("txtIniReactivationHour")->text(), QStringLiteral("07"));
    QCOMPARE(r.at<QComboBox>("CmbIniPlayCountDiscon")->currentText(), QStringLiteral("3"));
    QCOMPARE(r.at("txtSmtpPwd")->text(), QStringLiteral("p@ss word"));
    r.click("SpeedButton2", {mb::IdOk, mb::IdOk});
    QCOMPARE(r.bytes(kPostiva), postiva.substr(0, postiva.rfind('=') + 1) + "監視\r\n");
    QCOMPARE(modeOf(r.dir / kPostiva), mode_t(0600));
  }

  void groupsAreAddedAndDeletedFromTheEnd() {
    DialogRig r;
    r.file(kIni, "[COMMON]\r\nMAILGROUPCOUNT=3\r\n");
    r.file("mail/Group-1.txt", "東京\r\n");
    r.file("mail/Group-2.txt", "大阪\r\n");
    r.open();
    auto* groups = r.at<QComboBox>("cmbMailGroup");
    auto* mainGroups = r.form->findChild<QComboBox*>("cmbMailGroup");
    QCOMPARE(r.items(mainGroups), QStringList({"1", "2", "3"}));
    r.choose("cmbMailGroup", 2);
    QCOMPARE(r.at<QLabel>("pnlMailGroup")->text(), u("大阪"));

    auto shown = r.click("SpeedButton6", {mb::IdOk, mb::IdOk});
    QCOMPARE(shown.size(), size_t(2));
    verifyQuestion(shown[0], u("一番最後のメールグループ「大阪」を削除します。よろしいですか？"));
    QCOMPARE(shown[1].text, u("メールグループを削除しました。"));
    QCOMPARE(readText(r.dir / "mail/Group-2.txt"), std::string("<missing>"));
    QCOMPARE(r.bytes(kIni), std::string("[COMMON]\r\nMAILGROUPCOUNT=2\r\n"));
    QCOMPARE(r.items(groups), QStringList({"1", "2"}));
    QCOMPARE(r.items(mainGroups), QStringList({"1", "2"}));
    // The deleted group was shown: the first one takes its place.
    QCOMPARE(groups->currentIndex(), 0);
    QCOMPARE(r.at<QLabel>("pnlMailGroup")->text(), QString());

    shown = r.click("SpeedButton6", {mb::IdOk, mb::IdOk});
    verifyQuestion(shown[0], u("一番最後のメールグループ「東京」を削除します。よろしいですか？"));
    QCOMPARE(r.items(groups), QStringList({"1"}));
    shown = r.click("SpeedButton6");
    QCOMPARE(shown.size(), size_t(1));
    verifyWarning(shown[0], u("メールグループをこれ以上削除できません。"));
    QCOMPARE(r.bytes(kIni), std::string("[COMMON]\r\nMAILGROUPCOUNT=1\r\n"));

    shown = r.click("SpeedButton4");
    verifyWarning(shown[0], u("メールグループとして追加できません。"));
    QCOMPARE(r.form->settingsDialog().focusWidget(), r.at("txtMailGroup"));
    r.at("txtMailGroup")->setText(u(" 名古屋 "));
    shown = r.click("SpeedButton4", {mb::IdCancel});
    QCOMPARE(shown.size(), size_t(1));
    verifyQuestion(shown[0], u("「 名古屋 」メールグループを追加します。よろしいですか？"));
    QCOMPARE(r.items(groups), QStringList({"1"}));
    shown = r.click("SpeedButton4", {mb::IdOk, mb::IdOk});
    QCOMPARE(shown[1].text, u("メールグループを追加しました。"));
    QCOMPARE(r.bytes("mail/Group-1.txt"), std::string("名古屋\r\n"));
    QCOMPARE(r.bytes(kIni), std::string("[COMMON]\r\nMAILGROUPCOUNT=2\r\n"));
    QCOMPARE(r.form->monitor().settings().current().mailGroupCount, std::string("2"));
    QCOMPARE(r.items(groups), QStringList({"1", "2"}));
    QCOMPARE(r.items(mainGroups), QStringList({"1", "2"}));
    QCOMPARE(groups->currentIndex(), 0);
  }

  void recipientsAreStoredForTheGroupShownAfterTheOthers() {
    DialogRig r;
    r.file(kIni, "[COMMON]\r\nMAILGROUPCOUNT=2\r\n");
    r.file("mail/Group-1.txt", "営業\r\n");
    r.open();
    // No list yet: an empty one is made for the sender.
    QCOMPARE(readText(r.dir / "mail/list.txt"), std::string());
    r.file("mail/list.txt", "a@x.jp,0\r\nold@x.jp,1\r\nnocomma@x.jp\r\nb@x.jp, 0\r\nc@x.jp,2\r\n");
    r.choose("cmbMailGroup", 1);
    QCOMPARE(r.at<QPlainTextEdit>("Memo1")->toPlainText(), QStringLiteral("old@x.jp"));
    r.at<QPlainTextEdit>("Memo1")->setPlainText("new1@x.jp\n\nnew2@x.jp \n");
    auto shown = r.click("SpeedButton5", {mb::IdOk, mb::IdOk});
    QCOMPARE(shown.size(), size_t(2));
    verifyQuestion(shown[0], u("「営業」メールグループとして保存します。よろしいですか？"));
    QCOMPARE(shown[1].text, u("メール送信先リストを「営業」グループとして保存しました。"));
    QCOMPARE(r.bytes("mail/list.txt"),
             std::string("a@x.jp,0\r\nb@x.jp, 0\r\nc@x.jp,2\r\nnew1@x.jp,1\r\nnew2@x.jp ,1\r\n"));
  }

  void closingAsksUnlessNobodyCanAnswerOrTheMonitorEnds() {
    struct Case {
      std::vector<std::string> args;
      bool ending;
      bool asks;
    };
    const Case cases[] = {
        {{}, false, true}, {{"OrvisWatchService"}, false, false}, {{}, true, false}};
    for (const Case& c : cases) {
      DialogRig r(c.args);
      ui::SettingsDialog& d = r.open();
      if (c.ending) r.form->monitor().sessionEnding();
      auto shown = r.click("SpeedButton1", {mb::IdCancel});
      QCOMPARE(shown.size(), size_t(c.asks ? 1 : 0));
      QCOMPARE(d.isVisible(), c.asks);
      if (!c.asks) continue;
      verifyQuestion(shown[0], u("設定画面を終了します。よろしいですか？"));
      r.click("SpeedButton1", {mb::IdOk});
      QVERIFY(!d.isVisible());
    }
  }

  void aStopClosesTheDialogAndEveryBoxAskedFromIt() {
    // A signal (the restart helper's way too), "Close" answered OK, and a
    // signal while the dialog's own question is on screen.
    for (int end = 0; end < 3; ++end) {
      DialogRig r;
      r.open();
      if (end == 1) r.prompter.setNextAnswers({mb::IdOk});
      r.prompter.setAnswerWithDefaults(end != 2);
      if (end != 1) QTimer::singleShot(0, r.form.get(), [&r] { r.form->shutdownRequested(); });
      QTest::mouseClick(end == 1 ? r.form->findChild<QToolButton*>("SpeedButton6")
                                 : r.at<QToolButton>(end == 0 ? "SpeedButton3" : "SpeedButton1"),
                        Qt::LeftButton);
      QTRY_COMPARE(r.stops, 1);
      // Nothing of ours stays on screen to hold the toolkit's quit back.
      for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(!w->isVisible());
    }
  }

  void theDialogsBoxesStandOverItAndTheKeyboardGoesWhereItShould() {
    DialogRig r;
    const QString address = QString(70, 'a') + "@example.co.jp", name = u("監視担当").repeated(20);
    r.file(kPostiva,
           "[メール同報システム]\r\n送信元メールアドレス=" + address.toStdString() + "\r\n");
    r.file("mail/Group-0.txt", name.toStdString() + "\r\n");
    ui::SettingsDialog& d = r.open();
    for (auto [field, text] : {std::pair{"txtIniValidday", "3"}, {"txtIniReactivationHour", "24"}})
      r.at(field)->setText(text);
    r.at("txtIniCheckInterval")->setText("9");
    // The dialog's boxes are its own.
    QCOMPARE(r.click("SpeedButton2", {mb::IdOk}).at(1).owner.data(), &d);
    QCOMPARE(r.click("SpeedButton1", {mb::IdCancel}).at(0).owner.data(), &d);
    // A refusal on screen, answered: the keyboard is in the refused field.
    r.prompter.setAnswerWithDefaults(false);
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
        box->button(QMessageBox::Ok)->click();
    });
    answer.start(20);
    QTest::mouseClick(r.at<QToolButton>("SpeedButton2"), Qt::LeftButton);
    QTRY_COMPARE(QApplication::focusWidget(),
                 static_cast<QWidget*>(r.at("txtIniReactivationHour")));
    // Tab moves on from the recipient list and types nothing there.
    auto* recipients = r.at<QPlainTextEdit>("Memo1");
    recipients->setFocus();
    QTest::keyClick(recipients, Qt::Key_Tab);
    QVERIFY(!recipients->hasFocus() && !recipients->toPlainText().contains('\t'));
    // Long values show their start; a cut group name its whole in a tooltip.
    QCOMPARE(r.at("Edit3")->cursorPosition(), 0);
    QCOMPARE(r.at<QLabel>("pnlMailGroup")->toolTip(), name);
    // Screen readers name the fields whose captions are punctuation.
    for (const char* field : {"txtSmtpPwd", "txtIniReactivationMin"})
      QVERIFY(QAccessible::queryAccessibleInterface(r.at(field))->text(QAccessible::Name).size() >
              4);
    // "設定" brings a minimised dialog back, edits and all.
    d.showMinimized();
    r.open();
    QVERIFY(d.isVisible() && !d.isMinimized() && r.at("txtIniValidday")->text() == "3");
  }

  void valuesThatCouldNotBeReadAreLeftAsStoredAndBothGroupListsAgree() {
    DialogRig r;
    r.file(kIni,
           "[COMMON]\r\nMAILGROUPCOUNT=0\r\nVALIDDAY=1\r\nCHECKINTERVAL=1\r\n"
           "REACTIVATION=01:00\r\nPROXYIP=retry\r\n");
    r.file(kPostiva, "[メール同報システム]\r\nSMTPPORT=25\r\nSMTPPWD=retry\r\nSMTPID=retry\r\n");
    r.open();
    r.at("txtSmtpId")->setText("typed");  // changed after the failed read: stored
    QCOMPARE(r.click("SpeedButton2", {mb::IdOk, mb::IdOk}).back().text, u("設定変更しました"));
    for (auto [file, kept] : {std::pair{kIni, "PROXYIP=retry\r\n"},
                              {kIni, "PROXYPORT=\r\n"},
                              {kPostiva, "SMTPPWD=retry\r\nSMTPID=typed\r\n"}})
      QVERIFY(r.bytes(file).find(kept) != std::string::npos);
    // MAILGROUPCOUNT 0 (or not a number) offers group 0 in both lists.
    r.at("txtMailGroup")->setText("x");
    r.click("SpeedButton4", {mb::IdOk, mb::IdOk});
    QCOMPARE(r.items(r.form->findChild<QComboBox*>("cmbMailGroup")), QStringList({"1", "2"}));
    QCOMPARE(r.items(r.at<QComboBox>("cmbMailGroup")), QStringList({"1", "2"}));
  }

  void theJavaCheckOpensItsAddress() {
    DialogRig r;
    r.open();
    QVERIFY(r.at("Edit4")->text().startsWith("https://www.java.com/"));
    r.at("Edit4")->setText("https://example.com/java check");
    r.click("SpeedButton3");
    QCOMPARE(r.launcher.launches.size(), size_t(1));
    QCOMPARE(r.launcher.launches[0].commandLine,
             std::string("xdg-open \"https://example.com/java check\""));
    QCOMPARE(r.launcher.launches[0].workingFolder, r.dir / "temp/");
    r.at("Edit4")->clear();
    auto shown = r.click("SpeedButton3");
    QCOMPARE(shown.size(), size_t(1));
    QCOMPARE(shown[0].text, u("最新のダウンロードサイトURIを指定してください。"));
    QCOMPARE(r.launcher.launches.size(), size_t(1));
  }

  void theMainWindowsPreviewButtonOpensTheTarget() {
    DialogRig r;
    r.open();
    r.form->findChild<QLineEdit*>("Edit2")->setText("https://example.com/");
    QTest::mouseClick(r.form->findChild<QToolButton*>("SpeedButton17"), Qt::LeftButton);
    QCOMPARE(r.launcher.launches.size(), size_t(1));
    QCOMPARE(r.launcher.launches[0].commandLine, std::string("xdg-open https://example.com/"));
  }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
