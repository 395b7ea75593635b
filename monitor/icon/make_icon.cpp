// Writes the application icon as PNG files for the desktop entry, painted
// by the same code as the window's icon. Run at build time.
//
//   make_icon SIZE OUTPUT [SIZE OUTPUT...]

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "monitor/ui/pictures.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc % 2 == 0) {
    std::fprintf(stderr, "usage: make_icon SIZE OUTPUT [SIZE OUTPUT...]\n");
    return 2;
  }
  // Painting needs the toolkit, not a display.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  for (int i = 1; i + 1 < argc; i += 2) {
    const int size = std::atoi(argv[i]);
    const QString output = QString::fromLocal8Bit(argv[i + 1]);
    QDir().mkpath(QFileInfo(output).path());
    if (size < 16 || size > 1024 || !orvis::ui::applicationIconImage(size).save(output, "PNG")) {
      std::fprintf(stderr, "make_icon: cannot write %s at %s pixels\n", argv[i + 1], argv[i]);
      return 1;
    }
  }
  return 0;
}
