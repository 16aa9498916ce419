#include "desktop/chinese_ui.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "desktop/app_icon.h"

namespace torvane {

namespace {

// The interface font: see ChineseInterfaceFamily. Western fonts with a
// Chinese fallback set their Latin letters so wide that captions such as
// "X偏移量(m)" no longer fit their labels.
void UseChineseInterfaceFont() {
  QFont font = QApplication::font();
  const QString family = ChineseInterfaceFamily(
      font.family(), QFontDatabase::families(QFontDatabase::SimplifiedChinese), InstalledFamily);
  if (family.isEmpty() || family == font.family()) return;
  font.setFamilies({family});
  QApplication::setFont(font);
}

}  // namespace

QString InstalledFamily(const QString& name) {
  // hasFamily knows every name of a font; the font made from a name that
  // is installed tells the name the font is listed by.
  if (!QFontDatabase::hasFamily(name)) return QString();
  QFont font;
  font.setFamilies({name});
  return QFontInfo(font).family();
}

QString ChineseInterfaceFamily(const QString& desktop, const QStringList& chinese,
                               const std::function<QString(const QString&)>& installed) {
  if (chinese.contains(installed(desktop))) return desktop;
  for (const char* name : {"Microsoft YaHei UI", "Microsoft YaHei", "PingFang SC",
                           "Noto Sans CJK SC", "Source Han Sans SC", "WenQuanYi Micro Hei"}) {
    const QString family = installed(QString::fromUtf8(name));
    if (chinese.contains(family)) return family;
  }
  return QString();
}

QString MissingChineseFontMessage() {
  if (!QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty()) return QString();
  return QString::fromUtf8(
      "没有安装简体中文字体，中文会显示成方框。请安装字体：Debian、Ubuntu 上 sudo apt install "
      "fonts-wqy-microhei（或 fonts-noto-cjk）；Windows 上微软雅黑或宋体。\n"
      "No Simplified Chinese font is installed: install fonts-wqy-microhei or fonts-noto-cjk.");
}

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
