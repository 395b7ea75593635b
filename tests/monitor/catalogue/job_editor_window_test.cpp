// The job editor, driven through its widgets.

#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "catalogue_window_tests.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace {

QLineEdit* line(CatalogueWindow& w, const char* name) { return w.find<QLineEdit>(name); }

void type(CatalogueWindow& w, const char* name, const QString& text) {
  QLineEdit* e = line(w, name);
  e->clear();
  QTest::keyClicks(e, text);
}

void click(CatalogueWindow& w, const char* name) {
  QTest::mouseClick(w.find<QAbstractButton>(name), Qt::LeftButton);
}

bool enabled(CatalogueWindow& w, const char* name) { return w.find(name)->isEnabled(); }

QString focused() {
  QWidget* f = QApplication::focusWidget();
  return f ? f->objectName() : QString();
}

}  // namespace

void JobEditorWindowTest::emptyStateAndTypeTexts() {
  CatalogueWindow w;
  w.open();
  QVERIFY(w.find<QRadioButton>("rbUrl")->isChecked());
  for (const char* off : {"txtUserMailSubject", "txtUserMailBody", "chkUserMailHtml",
                          "chkSubFolder", "chkHikaku", "chkScript", "chkHead"})
    QVERIFY2(!enabled(w, off), off);
  for (const char* on : {"chkKobetsu", "chkWord", "txtWord", "Edit1", "chkUseProxy"})
    QVERIFY2(enabled(w, on), on);
  auto* groups = w.find<QComboBox>("cmbMailGroup");
  QCOMPARE(groups->count(), 1);
  QCOMPARE(groups->itemText(0), QStringLiteral("1"));
  QCOMPARE(groups->currentIndex(), -1);
  QCOMPARE(w.find<QLabel>("Label7")->text(), QStringLiteral("URI"));
  click(w, "rbDrive");
  QCOMPARE(w.find<QLabel>("Label7")->text(), QStringLiteral("ﾄﾞﾗｲﾌﾞ"));
  QVERIFY(w.find<QLabel>("Label5")->text().contains(QStringLiteral("/:21")));
  QCOMPARE(w.find<QAbstractButton>("SpeedButton17")->text(),
           QStringLiteral("ﾄﾞﾗｲﾌﾞ残量を画面でチェック"));
  click(w, "rbProc");
  QCOMPARE(w.find<QLabel>("Label7")->text(), QStringLiteral("ﾌﾟﾛｾｽ"));
  click(w, "rbFile");
  QCOMPARE(w.find<QAbstractButton>("SpeedButton17")->text(),
           QStringLiteral("FILE(DIR)を画面でチェック"));
}

void JobEditorWindowTest::enablingFollowsTypeAndBoxes() {
  CatalogueWindow w;
  w.open();
  click(w, "chkKobetsu");
  QVERIFY(enabled(w, "chkHikaku"));
  QVERIFY(!enabled(w, "chkScript"));
  click(w, "chkHikaku");
  QVERIFY(enabled(w, "chkScript") && enabled(w, "chkHead"));
  click(w, "chkHikaku");
  QVERIFY(!enabled(w, "chkScript"));
  click(w, "chkHikaku");
  click(w, "chkKobetsu");
  QVERIFY(!enabled(w, "chkHikaku") && !enabled(w, "chkAlt"));
  click(w, "chkKobetsu");
  QVERIFY(enabled(w, "chkAlt"));  // compare is still ticked
  click(w, "chkUseUserMail");
  QVERIFY(enabled(w, "txtUserMailSubject") && enabled(w, "txtUserMailBody") &&
          enabled(w, "chkUserMailHtml"));
  click(w, "chkWord");
  QVERIFY(enabled(w, "txtWord"));
  // FILE: only the sub-folder box of the type-bound ones; marks stay.
  click(w, "rbFile");
  QVERIFY(enabled(w, "chkSubFolder"));
  for (const char* off : {"chkUseProxy", "chkKobetsu", "chkHikaku", "chkAlt", "chkWord", "txtWord"})
    QVERIFY2(!enabled(w, off), off);
  QVERIFY(w.find<QAbstractButton>("chkWord")->isChecked());
  click(w, "rbProc");
  QVERIFY(!enabled(w, "chkSubFolder") && !enabled(w, "chkKobetsu"));
  click(w, "rbUrl");
  QVERIFY(enabled(w, "chkHikaku") && enabled(w, "chkAlt") && enabled(w, "txtWord"));
  QVERIFY(!enabled(w, "chkSubFolder"));
}

void JobEditorWindowTest::validationRefusesWithFocus() {
  CatalogueWindow w;
  w.open();
  struct Step {
    const char* field;  // filled before the next save
    QString value;
    const char* message;
    const char* focus;
  };
  w.answer({1, 1, 1, 1, 1, 1});
  click(w, "chkUseUserMail");
  click(w, "chkWord");
  const Step steps[] = {
      {"Edit1", "  ", "NOを指定してください。（任意の番号）", "Edit1"},  // blanks pass this test
      {nullptr, {}, "URIを指定してください。", "Edit2"},
      {"Edit2", "http://x/", "名称を指定してください。", "Edit4"},
      {"Edit4", "n", "ユーザーメールが指定されていますが、件名が指定されていません。",
       "txtUserMailSubject"},
      {"txtUserMailSubject", "s", "ユーザーメールが指定されていますが、本文が指定されていません。",
       "txtUserMailBody"},
  };
  // The first save has an empty number.
  click(w, "SpeedButton8");
  QCOMPARE(w.takeMessages(), QStringList{QStringLiteral("NOを指定してください。（任意の番号）")});
  QCOMPARE(focused(), QStringLiteral("Edit1"));
  for (const Step& s : steps) {
    if (s.field) type(w, s.field, s.value);
    if (QString(s.focus) == "Edit1") continue;
    click(w, "SpeedButton8");
    QCOMPARE(w.takeMessages(), QStringList{QString::fromUtf8(s.message)});
    QCOMPARE(focused(), QString(s.focus));
  }
  QTest::keyClicks(w.find<QPlainTextEdit>("txtUserMailBody"), "body");
  click(w, "SpeedButton8");
  QCOMPARE(w.takeMessages(),
           QStringList{QStringLiteral(
               "ワードチェックが指定されていますが、チェックする文字が指定されていません。")});
  QCOMPARE(focused(), QStringLiteral("txtWord"));
  QVERIFY(orvis::platform::listFolder(w.dir.path() + "info", "*", false).empty());
}

void JobEditorWindowTest::driveTargets() {
  CatalogueWindow w;
  w.open();
  click(w, "rbDrive");
  type(w, "Edit1", "3");
  type(w, "Edit4", "disk");
  const std::pair<const char*, const char*> cases[] = {
      {"/:21", nullptr},
      {"/home: 21", nullptr},
      {"/:", "Drive:残量閾値（GB）と正しく指定してください。"},
      {"/:21 GB", "Drive:残量閾値（GB）と正しく指定してください。"},
      {"/:21:3", "Drive:残量閾値（GB）と正しく指定してください。"},
      {"D:21", "Driveレターを正しく指定してください。"},
      {"home:21", "Driveレターを正しく指定してください。"},
      {"/:abc", "残量閾値（GB）を正しく指定してください。"},
      {"/:0", "残量閾値（GB）を正しく指定してください。"},
  };
  for (auto [target, message] : cases) {
    type(w, "Edit2", QString::fromUtf8(target));
    w.answer({2});  // a valid target reaches the question; Cancel it
    click(w, "SpeedButton8");
    QStringList shown = w.takeMessages();
    QCOMPARE(shown.size(), 1);
    if (message) {
      QCOMPARE(shown[0], QString::fromUtf8(message));
      QCOMPARE(focused(), QStringLiteral("Edit2"));
    } else {
      QCOMPARE(shown[0], QStringLiteral("新規登録してもよろしいですか？"));
    }
    w.prompter.setNextAnswers({});
  }
  QVERIFY(!orvis::platform::pathExists(w.dir.path() + "info/3.ini"));
}

void JobEditorWindowTest::newJobWithoutGroupStoresMinusOne() {
  CatalogueWindow w;
  w.open();
  type(w, "Edit1", " 7 ");
  type(w, "Edit2", " http://example.com/ ");
  type(w, "Edit4", "seven");
  click(w, "chkWord");  // then switched to FILE: disabled, but still stored as ticked
  type(w, "txtWord", "w");
  click(w, "rbFile");
  w.answer({1, 1});
  click(w, "SpeedButton8");
  QCOMPARE(w.takeMessages(), (QStringList{QStringLiteral("新規登録してもよろしいですか？"),
                                          QStringLiteral("設定完了しました。")}));
  std::string file = w.file("info/7.ini");
  QVERIFY(file.find("NO=7\r\nURI=http://example.com/\r\nNAME=seven\r\n") != std::string::npos);
  QVERIFY(file.find("MAILGROUP=-1\r\n") != std::string::npos);
  QVERIFY(file.find("CHKWORD=1\r\nWORD=w\r\n") != std::string::npos);
  QVERIFY(file.find("TYPE=FILE\r\nSOURCE=\r\nCHECK=\r\n") != std::string::npos);
  QCOMPARE(w.file("userMail/7.sub"), std::string("\r\n"));
  QCOMPARE(w.file("userMail/7.bdy"), std::string(""));
  auto* grid = w.find<QTableWidget>("sg1");
  QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("7"));
  QCOMPARE(grid->item(0, 4)->text(), QStringLiteral("0"));
}

void JobEditorWindowTest::updateEmptiesResultAndBaseline() {
  CatalogueWindow w;
  w.job("4", {"NO=4", "URI=http://old/", "NAME=old", "MAILGROUP=0", "SOURCE=1", "CHECK=1"});
  w.open();
  auto* grid = w.find<QTableWidget>("sg1");
  QCOMPARE(grid->item(0, 7)->text(), QStringLiteral("1"));
  w.clickRow(1);
  QCOMPARE(line(w, "Edit4")->text(), QStringLiteral("old"));
  type(w, "Edit4", "new");
  w.answer({1, 1});
  click(w, "SpeedButton8");
  QCOMPARE(w.takeMessages(), (QStringList{QStringLiteral("更新してもよろしいですか？"),
                                          QStringLiteral("設定完了しました。")}));
  std::string file = w.file("info/4.ini");
  QVERIFY(file.find("SOURCE=\r\nCHECK=\r\n") != std::string::npos);
  QVERIFY(file.find("NAME=new\r\n") != std::string::npos);
  QCOMPARE(grid->item(0, 7)->text(), QStringLiteral("-"));
  QCOMPARE(grid->item(0, 8)->text(), QStringLiteral("-"));
  QCOMPARE(line(w, "Edit4")->text(), QStringLiteral("new"));  // the editor keeps its content
}

void JobEditorWindowTest::loadingASelectedJob() {
  CatalogueWindow w;
  orvis::testing::writeText(w.dir.path() + "mail/Group-1.txt", "  Ops team \r\nsecond\r\n");
  orvis::testing::writeText(w.dir.path() + "ORVIS.ini", "[COMMON]\r\nMAILGROUPCOUNT=3\r\n");
  w.job("8", {"NO=8", "URI=/srv", "NAME=files", "USEUSERMAIL=1", "USERMAILHTML=1", "MAILGROUP=1",
              "CHKKOBETSU=1", "CHKHIKAKU=0", "CHKSCRIPT=1", "CHKWORD=1", "WORD=abc",
              "CHKSUBFOLDER=1", "TYPE=FILE"});
  orvis::testing::writeText(w.dir.path() + "userMail/8.sub", "subject\r\nignored\r\n");
  orvis::testing::writeText(w.dir.path() + "userMail/8.bdy", "line1\r\n\r\nline3\r\n");
  w.open();
  w.clickRow(1);
  QCOMPARE(line(w, "Edit2")->text(), QStringLiteral("/srv"));
  QVERIFY(w.find<QRadioButton>("rbFile")->isChecked());
  QCOMPARE(w.find<QLabel>("Label7")->text(), QStringLiteral("FILE(DIR)"));
  QCOMPARE(w.find<QComboBox>("cmbMailGroup")->currentIndex(), 1);
  QCOMPARE(w.find<QLabel>("pnlMailGroup")->text(), QStringLiteral("Ops team"));
  QCOMPARE(line(w, "txtUserMailSubject")->text(), QStringLiteral("subject"));
  QCOMPARE(w.find<QPlainTextEdit>("txtUserMailBody")->toPlainText(),
           QStringLiteral("line1\n\nline3\n"));
  QVERIFY(enabled(w, "txtUserMailBody"));
  QVERIFY(w.find<QAbstractButton>("chkUserMailHtml")->isChecked());
  QVERIFY(w.find<QAbstractButton>("chkScript")->isChecked());
  QVERIFY(w.find<QAbstractButton>("chkSubFolder")->isChecked() && enabled(w, "chkSubFolder"));
  QVERIFY(!enabled(w, "chkKobetsu") && !enabled(w, "txtWord"));  // FILE
  QCOMPARE(line(w, "txtWord")->text(), QStringLiteral("abc"));
  // Choosing a group shows its name.
  auto* groups = w.find<QComboBox>("cmbMailGroup");
  groups->setCurrentIndex(2);
  emit groups->activated(2);
  QCOMPARE(w.find<QLabel>("pnlMailGroup")->text(), QString());
}

void JobEditorWindowTest::savingAnUnchangedJobWritesItBackWhole() {
  // Stored values longer than the typing limits, and a body that ends in
  // empty lines: loaded, saved unchanged, the files hold what they held.
  CatalogueWindow w;
  const QString uri = "http://example.com/" + QString(300, QChar(0x3042));  // あ...
  const QString name = QString(70, 'n'), word = QString(70, 'w'), subject = QString(70, 's');
  w.job("1234567", {"NO=1234567", "URI=" + uri.toStdString(), "NAME=" + name.toStdString(),
                    "USEUSERMAIL=1", "MAILGROUP=0", "CHKWORD=1", "WORD=" + word.toStdString()});
  const std::string body = "Dear\r\n\r\n%sysmsg\r\n\r\n\r\n";
  orvis::testing::writeText(w.dir.path() + "userMail/1234567.sub", subject.toStdString() + "\r\n");
  orvis::testing::writeText(w.dir.path() + "userMail/1234567.bdy", body);
  const std::string sub = w.file("userMail/1234567.sub");
  w.open();
  w.clickRow(1);
  w.answer({1, 1});
  click(w, "SpeedButton8");
  QCOMPARE(w.takeMessages(), (QStringList{QStringLiteral("更新してもよろしいですか？"),
                                          QStringLiteral("設定完了しました。")}));
  QCOMPARE(orvis::platform::listFolder(w.dir.path() + "info", "*"),
           std::vector<std::string>{"1234567.ini"});
  const std::string file = w.file("info/1234567.ini");
  for (const std::string& kv :
       std::vector<std::string>{"NO=1234567", "URI=" + orvis::platform::toCp932(uri.toStdString()),
                                "NAME=" + name.toStdString(), "WORD=" + word.toStdString()})
    QVERIFY2(file.find("\r\n" + kv + "\r\n") != std::string::npos, kv.c_str());
  QCOMPARE(w.file("userMail/1234567.bdy"), body);
  QCOMPARE(w.file("userMail/1234567.sub"), sub);
  // Typing still stops at the limit.
  type(w, "Edit1", "12345678");
  QCOMPARE(line(w, "Edit1")->text(), QStringLiteral("123456"));
}

void JobEditorWindowTest::deleting() {
  CatalogueWindow w;
  w.job("6", {"NO=6"});
  orvis::testing::writeText(w.dir.path() + "src/6.ini", "baseline");
  w.open();
  type(w, "Edit1", "");
  click(w, "SpeedButton2");
  QCOMPARE(w.takeMessages(), QStringList{QStringLiteral("NOを指定してください。")});
  QCOMPARE(focused(), QStringLiteral("Edit1"));
  type(w, "Edit1", "99");
  click(w, "SpeedButton2");
  QCOMPARE(w.takeMessages(), QStringList{QStringLiteral("削除対象がありません。")});
  type(w, "Edit1", "6");
  w.answer({2});
  click(w, "SpeedButton2");
  QCOMPARE(w.takeMessages(), QStringList{QStringLiteral("削除してもよろしいですか？")});
  QVERIFY(orvis::platform::fileExists(w.dir.path() + "info/6.ini"));
  w.answer({1, 1});
  click(w, "SpeedButton2");
  QCOMPARE(w.takeMessages(), (QStringList{QStringLiteral("削除してもよろしいですか？"),
                                          QStringLiteral("削除しました。")}));
  QVERIFY(!orvis::platform::pathExists(w.dir.path() + "info/6.ini"));
  QVERIFY(!orvis::platform::pathExists(w.dir.path() + "src/6.ini"));
  QCOMPARE(w.find<QTableWidget>("sg1")->rowCount(), 1);
  QCOMPARE(w.find<QTableWidget>("sg1")->item(0, 0)->text(), QString());
}

void JobEditorWindowTest::aNumberWithASlashIsRefused() {
  CatalogueWindow w;
  w.open();
  type(w, "Edit1", "../x");
  type(w, "Edit2", "http://x/");
  type(w, "Edit4", "n");
  w.answer({1, 1});
  click(w, "SpeedButton8");
  QStringList shown = w.takeMessages();
  QCOMPARE(shown.size(), 2);
  QVERIFY(shown[1].startsWith("Cannot create file"));
  QCOMPARE(w.prompter.shown().size(), size_t(0));
  QVERIFY(!orvis::platform::pathExists(w.dir.path() + "x.ini"));
  QVERIFY(orvis::platform::listFolder(w.dir.path() + "info", "*", false).empty());
  w.answer({1});
  click(w, "SpeedButton2");
  QVERIFY(w.takeMessages().value(0).startsWith("Cannot delete file"));
  QVERIFY(w.form->isVisible());
}
