// Saves a picture of the whole screen of $DISPLAY: screen_grab OUT.png [DELAY_MS]
// Used to look at the real installed programs running under Xvfb.

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: screen_grab OUT.png [DELAY_MS]\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  if (argc > 2) QThread::msleep(static_cast<unsigned long>(std::atol(argv[2])));
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen || !screen->grabWindow(0).save(argv[1])) {
    std::fprintf(stderr, "screen_grab: could not grab the screen\n");
    return 1;
  }
  return 0;
}
