#include "job_editor_panel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "flat_button.h"

namespace orvis::ui {
namespace {

template <typename W>
W* named(W* w, const char* name) {
  w->setObjectName(name);
  return w;
}

QLabel* note(QWidget* parent, const QString& text) {
  auto* l = new QLabel(text, parent);
  l->setWordWrap(true);
  l->setStyleSheet("color: #404040; font-size: 11px;");
  return l;
}

QLineEdit* edit(QWidget* parent, const char* name, int maxLength, const QString& hint = {}) {
  auto* e = named(new QLineEdit(parent), name);
  e->setMaxLength(maxLength);
  if (!hint.isEmpty()) e->setToolTip(hint);
  return e;
}

// A caption label that names its field for assistive tools and GUI tests.
QLabel* caption(QWidget* parent, const QString& text, QWidget* buddy) {
  auto* l = new QLabel(text, parent);
  l->setBuddy(buddy);
  return l;
}

}  // namespace

JobEditorPanel::JobEditorPanel(QWidget* parent)
    : QGroupBox(QStringLiteral("チェック対象"), parent) {
  setObjectName("grpCheckTarget");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(2);

  // Left column: type, number, target, name, proxy, preview.
  auto* left = new QGridLayout;
  left->setVerticalSpacing(2);
  rbUrl = named(new QRadioButton(QStringLiteral("サイトを監視"), this), "rbUrl");
  rbFile = named(new QRadioButton(QStringLiteral("ファイル（フォルダ）を監視"), this), "rbFile");
  rbProc = named(new QRadioButton(QStringLiteral("プロセスを監視"), this), "rbProc");
  rbDrive = named(new QRadioButton(QStringLiteral("ドライブの残量を監視"), this), "rbDrive");
  auto* types = new QButtonGroup(this);
  for (auto* rb : {rbUrl, rbFile, rbProc, rbDrive}) types->addButton(rb);
  rbUrl->setChecked(true);
  chkSubFolder =
      named(new QCheckBox(QStringLiteral("サブフォルダも監視する"), this), "chkSubFolder");
  auto* typeRow = new QGridLayout;
  typeRow->addWidget(rbUrl, 0, 0);
  typeRow->addWidget(rbFile, 0, 1);
  typeRow->addWidget(rbProc, 1, 0);
  typeRow->addWidget(rbDrive, 1, 1);
  typeRow->addWidget(chkSubFolder, 2, 1);
  left->addLayout(typeRow, 0, 0, 1, 2);

  Edit1 = edit(this, "Edit1", 6, QStringLiteral("任意の番号"));
  Edit1->setMaximumWidth(80);
  left->addWidget(caption(this, QStringLiteral("NO"), Edit1), 1, 0);
  left->addWidget(Edit1, 1, 1, Qt::AlignLeft);
  Edit2 = edit(this, "Edit2", 255, QStringLiteral("チェック対象のURI"));
  Label7 = named(caption(this, QStringLiteral("URI"), Edit2), "Label7");
  left->addWidget(Label7, 2, 0);
  left->addWidget(Edit2, 2, 1);
  Label5 = named(note(this, QString()), "Label5");
  left->addWidget(Label5, 3, 0, 1, 2);
  Edit4 = edit(this, "Edit4", 64, QStringLiteral("チェック対象の名称"));
  left->addWidget(caption(this, QStringLiteral("名称"), Edit4), 4, 0);
  left->addWidget(Edit4, 4, 1);
  chkUseProxy = named(new QCheckBox(QStringLiteral("する"), this), "chkUseProxy");
  left->addWidget(caption(this, QStringLiteral("PROXY経由"), chkUseProxy), 5, 0);
  left->addWidget(chkUseProxy, 5, 1);
  left->addWidget(note(this, QStringLiteral("※PROXY経由「する」と指定した場合は、設定画面でPROXYIP"
                                            "アドレスとポート番号を指定してください。")),
                  6, 0, 1, 2);
  SpeedButton17 = flatButton(this, "SpeedButton17", QStringLiteral("URIを画面でチェック"),
                             QStringLiteral("URIの画面チェック"));
  left->addWidget(SpeedButton17, 7, 0, 1, 2);
  left->setRowStretch(8, 1);
  left->setColumnStretch(1, 1);
  grid->addLayout(left, 0, 0);

  // Middle column: comparison settings and the word check.
  auto* middle = new QVBoxLayout;
  middle->setSpacing(2);
  chkKobetsu = named(new QCheckBox(QStringLiteral("個別ﾁｪｯｸ設定する"), this), "chkKobetsu");
  chkHikaku = named(new QCheckBox(QStringLiteral("比較チェックする"), this), "chkHikaku");
  chkHikaku->setToolTip(QStringLiteral("応答チェックのみの場合、チェックは外してください。"));
  auto* compareRow = new QHBoxLayout;
  compareRow->addWidget(chkKobetsu);
  compareRow->addWidget(chkHikaku);
  middle->addLayout(compareRow);
  middle->addWidget(
      note(this, QStringLiteral("※個別設定しない場合は設定画面の　標準設定が有効となります。")));
  grpIgnore =
      named(new QGroupBox(QStringLiteral("指定の範囲では異常検出しない"), this), "grpIgnore");
  auto* ignore = new QGridLayout(grpIgnore);
  ignore->setContentsMargins(6, 2, 6, 2);
  ignore->setVerticalSpacing(0);
  chkScript = named(new QCheckBox(QStringLiteral("<SCRIPT ～ /SCRIPT>"), grpIgnore), "chkScript");
  chkComment = named(new QCheckBox(QStringLiteral("<!-- ～ -->"), grpIgnore), "chkComment");
  chkRef = named(new QCheckBox(QStringLiteral("<A ～ </A>"), grpIgnore), "chkRef");
  chkSrc = named(new QCheckBox(QStringLiteral("SRC=\" ～ \""), grpIgnore), "chkSrc");
  chkAlt = named(new QCheckBox(QStringLiteral("ALT=\" ～ \""), grpIgnore), "chkAlt");
  chkHead = named(new QCheckBox(QStringLiteral("<HEAD> ～ </HEAD>"), grpIgnore), "chkHead");
  ignore->addWidget(chkScript, 0, 0);
  ignore->addWidget(chkComment, 0, 1);
  ignore->addWidget(chkRef, 1, 0);
  ignore->addWidget(chkSrc, 1, 1);
  ignore->addWidget(chkAlt, 2, 0);
  ignore->addWidget(chkHead, 2, 1);
  grpIgnore->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  middle->addWidget(grpIgnore);
  chkWord = named(new QCheckBox(QStringLiteral("チェックする"), this), "chkWord");
  auto* wordRow = new QHBoxLayout;
  wordRow->addWidget(caption(this, QStringLiteral("指定ﾜｰﾄﾞ"), chkWord));
  wordRow->addWidget(chkWord);
  txtWord = edit(this, "txtWord", 64);
  wordRow->addWidget(caption(this, QStringLiteral("ﾜｰﾄﾞ"), txtWord));
  wordRow->addWidget(txtWord, 1);
  middle->addLayout(wordRow);
  middle->addWidget(note(this, QStringLiteral("※指定ﾜｰﾄﾞﾁｪｯｸする場合は、比較ﾁｪｯｸの設定にかかわらず"
                                              "実行されます。\n　大文字・小文字も区別されます。")));
  // The variables of the mail body, listed where there is room for them.
  middle->addWidget(
      note(this, QStringLiteral("%date  :エラー検出日付　　%time  :エラー検出時刻\n"
                                "%name  :名称　　%uri   :チェック対象URI\n"
                                "%sysmsg  :システムメッセージ　　%diff    :更新箇所表示")));
  middle->addStretch(1);
  grid->addLayout(middle, 0, 1);

  // Right column: alert mail.
  auto* right = new QGridLayout;
  right->setVerticalSpacing(2);
  chkUseUserMail = named(new QCheckBox(QStringLiteral("使用する"), this), "chkUseUserMail");
  right->addWidget(caption(this, QStringLiteral("ﾕｰｻﾞﾒｰﾙ使用"), chkUseUserMail), 0, 0);
  right->addWidget(chkUseUserMail, 0, 1);
  chkUserMailHtml = named(new QCheckBox(QStringLiteral("HTMLﾒｰﾙ"), this), "chkUserMailHtml");
  right->addWidget(chkUserMailHtml, 0, 2);
  right->addWidget(note(this, QStringLiteral("※比較エラーが発生した際、システムが作成したメッセージ"
                                             "ではなく自由なメッセージを送信できます。")),
                   1, 0, 1, 3);
  cmbMailGroup = named(new QComboBox(this), "cmbMailGroup");
  right->addWidget(caption(this, QStringLiteral("ﾒｰﾙｸﾞﾙｰﾌﾟ"), cmbMailGroup), 2, 0);
  right->addWidget(cmbMailGroup, 2, 1);
  pnlMailGroup = named(new QLabel(this), "pnlMailGroup");
  pnlMailGroup->setFrameShape(QFrame::Panel);
  pnlMailGroup->setFrameShadow(QFrame::Sunken);
  right->addWidget(pnlMailGroup, 2, 2);
  right->addWidget(
      note(this, QStringLiteral("※送信ﾒｰﾙｸﾞﾙｰﾌﾟを指定します。設定画面でﾒｰﾙｸﾞﾙｰﾌﾟを指定できます。")),
      3, 0, 1, 3);
  txtUserMailSubject = edit(this, "txtUserMailSubject", 64);
  right->addWidget(caption(this, QStringLiteral("件名表示"), txtUserMailSubject), 4, 0);
  right->addWidget(txtUserMailSubject, 4, 1, 1, 2);
  txtUserMailBody = named(new QPlainTextEdit(this), "txtUserMailBody");
  txtUserMailBody->setLineWrapMode(QPlainTextEdit::NoWrap);
  txtUserMailBody->setMaximumHeight(96);
  txtUserMailBody->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtUserMailBody->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  right->addWidget(caption(this, QStringLiteral("ﾒｰﾙ本文"), txtUserMailBody), 5, 0, Qt::AlignTop);
  right->addWidget(txtUserMailBody, 5, 1, 1, 2);
  auto* buttons = new QHBoxLayout;
  SpeedButton8 = flatButton(this, "SpeedButton8", QStringLiteral("追加・更新"),
                            QStringLiteral("チェック登録します。"));
  SpeedButton2 = flatButton(this, "SpeedButton2", QStringLiteral("削除"),
                            QStringLiteral("自動更新が外れます。"));
  buttons->addWidget(SpeedButton8);
  buttons->addWidget(SpeedButton2);
  right->addLayout(buttons, 7, 0, 1, 3);
  right->setColumnStretch(2, 1);
  grid->addLayout(right, 0, 2);
  grid->setColumnStretch(0, 4);
  grid->setColumnStretch(1, 3);
  grid->setColumnStretch(2, 4);
}

}  // namespace orvis::ui
