#pragma once
// Window tests of the job grid and the job editor, on a real main window
// built offscreen over a data folder of its own.

#include <QObject>
#include <QTest>
#include <memory>

#include "monitor/ui/main_window.h"
#include "monitor/ui/qt_pump.h"
#include "support/fake_clock.h"
#include "support/fake_processes.h"
#include "support/temp_dir.h"

struct CatalogueWindow {
  CatalogueWindow();
  // Builds the window over the jobs written so far and shows it.
  orvis::ui::TForm1& open();
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

  orvis::testing::TempDir dir;
  orvis::testing::FakeClock clock;
  orvis::ui::QtPump pump;
  orvis::ui::QtPrompter prompter;
  orvis::testing::FakeLauncher launcher;
  orvis::testing::FakeProcessLister processes;
  orvis::testing::FakeDiskSpace disks;
  std::unique_ptr<orvis::ui::TForm1> form;
};

class JobGridWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void captionsWidthsAndMarks();
  void loadOrderAndTheStopAtABadGroup();
  void coloursAndPicturesPerCell();
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
  void deleting();
  void aNumberWithASlashIsRefused();
};
