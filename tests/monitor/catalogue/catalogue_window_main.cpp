// Runs the catalogue's window tests in one program.

#include <QApplication>
#include <QTest>

#include "catalogue_window_tests.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int failed = 0;
  {
    JobGridWindowTest grid;
    failed += QTest::qExec(&grid, argc, argv);
  }
  {
    JobEditorWindowTest editor;
    failed += QTest::qExec(&editor, argc, argv);
  }
  return failed;
}
