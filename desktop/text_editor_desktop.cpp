#include <QByteArray>
#include <QDesktopServices>
#include <QUrl>

#include "desktop/text_editor.h"

namespace torvane {

bool OpenInTextEditor(const std::string& path) {
  // Percent-encoded from the bytes: a name that is not UTF-8 stays the
  // name of its file, where a QString would hold U+FFFD in its place.
  const QByteArray encoded = QByteArray::fromStdString(path).toPercentEncoding("/");
  return QDesktopServices::openUrl(QUrl::fromEncoded("file://" + encoded, QUrl::StrictMode));
}

}  // namespace torvane
