#include "job_editor_panel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "flat_button.h"
#include "form_parts.h"

namespace orvis::ui {

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
  urlTypeButton = named(new QRadioButton(QStringLiteral("サイトを監視"), this), "rbUrl");
  fileTypeButton =
      named(new QRadioButton(QStringLiteral("ファイル（フォルダ）を監視"), this), "rbFile");
  procTypeButton = named(new QRadioButton(QStringLiteral("プロセスを監視"), this), "rbProc");
  driveTypeButton =
      named(new QRadioButton(QStringLiteral("ドライブの残量を監視"), this), "rbDrive");
  auto* types = new QButtonGroup(this);
  for (auto* rb : {urlTypeButton, fileTypeButton, procTypeButton, driveTypeButton})
    types->addButton(rb);
  urlTypeButton->setChecked(true);
  includeSubfoldersBox =
      named(new QCheckBox(QStringLiteral("サブフォルダも監視する"), this), "chkSubFolder");
  auto* typeRow = new QGridLayout;
  typeRow->addWidget(urlTypeButton, 0, 0);
  typeRow->addWidget(fileTypeButton, 0, 1);
  typeRow->addWidget(procTypeButton, 1, 0);
  typeRow->addWidget(driveTypeButton, 1, 1);
  typeRow->addWidget(includeSubfoldersBox, 2, 1);
  left->addLayout(typeRow, 0, 0, 1, 2);

  numberField = edit(this, "Edit1", 6, QStringLiteral("任意の番号"));
  numberField->setMaximumWidth(80);
  left->addWidget(caption(this, QStringLiteral("NO"), numberField), 1, 0);
  left->addWidget(numberField, 1, 1, Qt::AlignLeft);
  targetField = edit(this, "Edit2", 255, QStringLiteral("チェック対象のURI"));
  targetCaption = named(caption(this, QStringLiteral("URI"), targetField), "Label7");
  left->addWidget(targetCaption, 2, 0);
  left->addWidget(targetField, 2, 1);
  targetExample = named(note(this, QString()), "Label5");
  left->addWidget(targetExample, 3, 0, 1, 2);
  nameField = edit(this, "Edit4", 64, QStringLiteral("チェック対象の名称"));
  left->addWidget(caption(this, QStringLiteral("名称"), nameField), 4, 0);
  left->addWidget(nameField, 4, 1);
  useProxyBox = named(new QCheckBox(QStringLiteral("する"), this), "chkUseProxy");
  left->addWidget(caption(this, QStringLiteral("PROXY経由"), useProxyBox), 5, 0);
  left->addWidget(useProxyBox, 5, 1);
  left->addWidget(note(this, QStringLiteral("※PROXY経由「する」と指定した場合は、設定画面でPROXYIP"
                                            "アドレスとポート番号を指定してください。")),
                  6, 0, 1, 2);
  previewButton = flatButton(this, "SpeedButton17", QStringLiteral("URIを画面でチェック"),
                             QStringLiteral("URIの画面チェック"));
  left->addWidget(previewButton, 7, 0, 1, 2);
  left->setRowStretch(8, 1);
  left->setColumnStretch(1, 1);
  grid->addLayout(left, 0, 0);

  // Middle column: comparison settings and the word check.
  auto* middle = new QVBoxLayout;
  middle->setSpacing(2);
  ownCompareRulesBox = named(new QCheckBox(QStringLiteral("個別ﾁｪｯｸ設定する"), this), "chkKobetsu");
  compareContentBox = named(new QCheckBox(QStringLiteral("比較チェックする"), this), "chkHikaku");
  compareContentBox->setToolTip(
      QStringLiteral("応答チェックのみの場合、チェックは外してください。"));
  auto* compareRow = new QHBoxLayout;
  compareRow->addWidget(ownCompareRulesBox);
  compareRow->addWidget(compareContentBox);
  middle->addLayout(compareRow);
  middle->addWidget(
      note(this, QStringLiteral("※個別設定しない場合は設定画面の　標準設定が有効となります。")));
  ignoreGroup =
      named(new QGroupBox(QStringLiteral("指定の範囲では異常検出しない"), this), "grpIgnore");
  auto* ignore = new QGridLayout(ignoreGroup);
  ignore->setContentsMargins(6, 2, 6, 2);
  ignore->setVerticalSpacing(0);
  ignoreScriptBox =
      named(new QCheckBox(QStringLiteral("<SCRIPT ～ /SCRIPT>"), ignoreGroup), "chkScript");
  ignoreCommentBox = named(new QCheckBox(QStringLiteral("<!-- ～ -->"), ignoreGroup), "chkComment");
  ignoreLinksBox = named(new QCheckBox(QStringLiteral("<A ～ </A>"), ignoreGroup), "chkRef");
  ignoreSrcBox = named(new QCheckBox(QStringLiteral("SRC=\" ～ \""), ignoreGroup), "chkSrc");
  ignoreAltBox = named(new QCheckBox(QStringLiteral("ALT=\" ～ \""), ignoreGroup), "chkAlt");
  ignoreHeadBox = named(new QCheckBox(QStringLiteral("<HEAD> ～ </HEAD>"), ignoreGroup), "chkHead");
  ignore->addWidget(ignoreScriptBox, 0, 0);
  ignore->addWidget(ignoreCommentBox, 0, 1);
  ignore->addWidget(ignoreLinksBox, 1, 0);
  ignore->addWidget(ignoreSrcBox, 1, 1);
  ignore->addWidget(ignoreAltBox, 2, 0);
  ignore->addWidget(ignoreHeadBox, 2, 1);
  ignoreGroup->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  middle->addWidget(ignoreGroup);
  wordCheckBox = named(new QCheckBox(QStringLiteral("チェックする"), this), "chkWord");
  auto* wordRow = new QHBoxLayout;
  wordRow->addWidget(caption(this, QStringLiteral("指定ﾜｰﾄﾞ"), wordCheckBox));
  wordRow->addWidget(wordCheckBox);
  wordField = edit(this, "txtWord", 64);
  wordRow->addWidget(caption(this, QStringLiteral("ﾜｰﾄﾞ"), wordField));
  wordRow->addWidget(wordField, 1);
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
  ownMailBox = named(new QCheckBox(QStringLiteral("使用する"), this), "chkUseUserMail");
  right->addWidget(caption(this, QStringLiteral("ﾕｰｻﾞﾒｰﾙ使用"), ownMailBox), 0, 0);
  right->addWidget(ownMailBox, 0, 1);
  htmlMailBox = named(new QCheckBox(QStringLiteral("HTMLﾒｰﾙ"), this), "chkUserMailHtml");
  right->addWidget(htmlMailBox, 0, 2);
  right->addWidget(note(this, QStringLiteral("※比較エラーが発生した際、システムが作成したメッセージ"
                                             "ではなく自由なメッセージを送信できます。")),
                   1, 0, 1, 3);
  mailGroupChoice = named(new QComboBox(this), "cmbMailGroup");
  right->addWidget(caption(this, QStringLiteral("ﾒｰﾙｸﾞﾙｰﾌﾟ"), mailGroupChoice), 2, 0);
  right->addWidget(mailGroupChoice, 2, 1);
  mailGroupNameLabel = named(new QLabel(this), "pnlMailGroup");
  mailGroupNameLabel->setFrameShape(QFrame::Panel);
  mailGroupNameLabel->setFrameShadow(QFrame::Sunken);
  right->addWidget(mailGroupNameLabel, 2, 2);
  right->addWidget(
      note(this, QStringLiteral("※送信ﾒｰﾙｸﾞﾙｰﾌﾟを指定します。設定画面でﾒｰﾙｸﾞﾙｰﾌﾟを指定できます。")),
      3, 0, 1, 3);
  subjectField = edit(this, "txtUserMailSubject", 64);
  right->addWidget(caption(this, QStringLiteral("件名表示"), subjectField), 4, 0);
  right->addWidget(subjectField, 4, 1, 1, 2);
  bodyField = named(new QPlainTextEdit(this), "txtUserMailBody");
  bodyField->setLineWrapMode(QPlainTextEdit::NoWrap);
  bodyField->setMaximumHeight(96);
  bodyField->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  bodyField->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  right->addWidget(caption(this, QStringLiteral("ﾒｰﾙ本文"), bodyField), 5, 0, Qt::AlignTop);
  right->addWidget(bodyField, 5, 1, 1, 2);
  auto* buttons = new QHBoxLayout;
  saveButton = flatButton(this, "SpeedButton8", QStringLiteral("追加・更新"),
                          QStringLiteral("チェック登録します。"));
  deleteButton = flatButton(this, "SpeedButton2", QStringLiteral("削除"),
                            QStringLiteral("自動更新が外れます。"));
  historyButton = flatButton(this, "btnHistory", QStringLiteral("履歴"),
                             QStringLiteral("保存された版と変化を表示します。"));
  buttons->addWidget(saveButton);
  buttons->addWidget(deleteButton);
  buttons->addWidget(historyButton);
  right->addLayout(buttons, 7, 0, 1, 3);
  right->setColumnStretch(2, 1);
  grid->addLayout(right, 0, 2);
  grid->setColumnStretch(0, 4);
  grid->setColumnStretch(1, 3);
  grid->setColumnStretch(2, 4);
}

}  // namespace orvis::ui
