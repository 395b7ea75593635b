#pragma once
// Window tests of the job grid and the job editor, on a real main window
// built offscreen over a data folder of its own.

#include <QObject>
#include <QTest>
#include <memory>

#include "support/window_rig.h"

struct CatalogueWindow : orvis::testing::WindowServices {
  // Builds the window over the jobs written so far and shows it.
  orvis::ui::MainWindow& open();
  void job(const std::string& no, const std::vector<std::string>& keyValues);
  std::string file(const std::string& rel) const;
  template <typename T = QWidget>
  T* find(const char* name) {
    return form->findChild<T*>(name);
  }
  // Selects and clicks grid row `row` (1 = the first job).
  void clickRow(int row);
  void answer(std::vector<int> answers) { prompter.setNextAnswers(std::move(answers)); }
  // The texts of the message boxes so far, and forgets them.
  QStringList takeMessages();

  std::unique_ptr<orvis::ui::MainWindow> form;
};

class JobGridWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void captionsWidthsAndMarks();
  void loadOrderAndTheStopAtABadGroup();
  void coloursAndPicturesPerCell();
  void aRefillIsOneNoticeOfEveryCell();
};

class JobEditorWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void emptyStateAndTypeTexts();
  void enablingFollowsTypeAndBoxes();
  void validationRefusesWithFocus();
  void driveTargets();
  void newJobWithoutGroupStoresMinusOne();
  void updateEmptiesResultAndBaseline();
  void loadingASelectedJob();
  void savingAnUnchangedJobWritesItBackWhole();
  void deleting();
  void aNumberWithASlashIsRefused();
};
