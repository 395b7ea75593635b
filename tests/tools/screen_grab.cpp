// Saves a picture of the screen of $DISPLAY, whole or a part of it:
// screen_grab OUT.png [DELAY_MS [X Y WIDTH HEIGHT]]
// Used to look at the real installed programs running under Xvfb.

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 2 || (argc > 3 && argc != 7)) {
    std::fprintf(stderr, "usage: screen_grab OUT.png [DELAY_MS [X Y WIDTH HEIGHT]]\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  if (argc > 2) QThread::msleep(static_cast<unsigned long>(std::atol(argv[2])));
  QScreen* screen = QGuiApplication::primaryScreen();
  int x = 0, y = 0, width = -1, height = -1;
  if (argc == 7) {
    x = std::atoi(argv[3]), y = std::atoi(argv[4]);
    width = std::atoi(argv[5]), height = std::atoi(argv[6]);
  }
  if (!screen || !screen->grabWindow(0, x, y, width, height).save(argv[1])) {
    std::fprintf(stderr, "screen_grab: could not grab the screen\n");
    return 1;
  }
  return 0;
}
