#include <QTableWidget>

#include "catalogue_window_tests.h"
#include "platform/codec.h"

using namespace orvis;
using namespace orvis::ui;

MainWindow& CatalogueWindow::open() {
  form = makeWindow();
  form->show();
  if (!QTest::qWaitForWindowExposed(form.get())) qWarning("the window was not exposed");
  form->activateWindow();
  if (!QTest::qWaitForWindowActive(form.get())) qWarning("the window did not become active");
  return *form;
}

void CatalogueWindow::job(const std::string& no, const std::vector<std::string>& keyValues) {
  std::string text = "[COMMON]\r\n";
  for (const auto& kv : keyValues) text += platform::toCp932(kv) + "\r\n";
  orvis::testing::writeText(dir.path() + "info/" + no + ".ini", text);
}

std::string CatalogueWindow::file(const std::string& rel) const {
  return orvis::testing::readText(dir.path() + rel);
}

void CatalogueWindow::clickRow(int row) {
  auto* grid = find<QTableWidget>("sg1");
  QRect cell = grid->visualRect(grid->model()->index(row - 1, 0));
  grid->setCurrentCell(row - 1, 0);
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

QStringList CatalogueWindow::takeMessages() {
  QStringList texts;
  for (const auto& s : prompter.shown()) texts << s.text;
  prompter.clearShown();
  return texts;
}
