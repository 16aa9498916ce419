// torvane-icon OUTDIR: writes the window's icon as PNG images, icon-16.png
// and icon-32.png, for the Windows program's .ico and for desktop menus.
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

#include "app/app_icon.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fputs("usage: torvane-icon OUTDIR\n", stderr);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  for (int size : {16, 32}) {
    const QString path = folder.filePath(QStringLiteral("icon-%1.png").arg(size));
    if (!torvane::AppIconImage(size).save(path)) {
      std::fprintf(stderr, "torvane-icon: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
