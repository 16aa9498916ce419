#include "app/chinese_ui.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/app_icon.h"
#include "app/window_messages.h"

namespace torvane {

namespace {

// The interface font: the desktop's own when it is a Chinese one, otherwise
// the first Simplified Chinese interface font installed, at the toolkit's
// usual size. Western fonts with a Chinese fallback set their Latin letters
// so wide that captions such as "X偏移量(m)" no longer fit their labels.
void UseChineseInterfaceFont() {
  const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
  QFont font = QApplication::font();
  if (chinese.contains(font.family())) return;
  for (const char* family : {"Microsoft YaHei UI", "Microsoft YaHei", "PingFang SC",
                             "Noto Sans CJK SC", "Source Han Sans SC", "WenQuanYi Micro Hei"}) {
    if (chinese.contains(QString::fromUtf8(family))) {
      font.setFamilies({QString::fromUtf8(family)});
      QApplication::setFont(font);
      return;
    }
  }
}

}  // namespace

bool SetUpApplication(QApplication& app) {
  QApplication::setApplicationName(QString::fromUtf8(kAppTitle));
  // Without it a Wayland desktop shows a generic icon: it finds the icon
  // through the desktop entry of this name.
  QGuiApplication::setDesktopFileName(QString::fromUtf8(kDesktopFileName));
  UseChineseInterfaceFont();
  QApplication::setWindowIcon(AppIcon());
  QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QApplication::installTranslator(translator);
  return true;
}

}  // namespace torvane
