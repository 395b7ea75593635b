#pragma once
// The small pictures of the monitor, painted here so that they read at a
// glance at 16 x 16: the result list (numbers 1 no change, 4 change found,
// 6 retry pending), the mark list (0 important), and the tray pictures.

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace orvis::ui {

QPixmap resultPicture(int number);
QPixmap markPicture(int number);
// 0 normal, 1 checking.
QIcon trayPicture(int number);
QIcon applicationIcon();
// The application icon at any size, for the desktop entry's icon files.
QImage applicationIconImage(int size);

}  // namespace orvis::ui
