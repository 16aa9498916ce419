// torvane-icon OUTDIR [SIZE...]: writes the window's icon as PNG images,
// icon-SIZE.png, one for each size in pixels. Without sizes: icon-16.png and
// icon-32.png, the images of the Windows program's .ico. The Debian package
// asks for the hicolor theme's sizes (16 to 256) for desktop menus.
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <vector>

#include "desktop/app_icon.h"

namespace {

constexpr int kLargestSize = 1024;

// A size in pixels, 1 to kLargestSize, in decimal digits alone; 0 for any
// other text.
int SizeOf(const char* text) {
  int size = 0;
  const char* end = text + std::strlen(text);
  const auto [stop, error] = std::from_chars(text, end, size);
  if (error != std::errc() || stop != end || size < 1 || size > kLargestSize) return 0;
  return size;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::fputs("usage: torvane-icon OUTDIR [SIZE...]\n", stderr);
    return 2;
  }
  std::vector<int> sizes;
  for (int i = 2; i < argc; ++i) {
    const int size = SizeOf(argv[i]);
    if (size == 0) {
      std::fprintf(stderr, "torvane-icon: \"%s\" is not a size from 1 to %d pixels\n", argv[i],
                   kLargestSize);
      return 2;
    }
    sizes.push_back(size);
  }
  if (sizes.empty()) sizes = {16, 32};

  const QDir folder(QString::fromLocal8Bit(argv[1]));
  for (int size : sizes) {
    const QString path = folder.filePath(QStringLiteral("icon-%1.png").arg(size));
    if (!torvane::AppIconImage(size).save(path)) {
      std::fprintf(stderr, "torvane-icon: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
