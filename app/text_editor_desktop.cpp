#include <QDesktopServices>
#include <QUrl>

#include "app/text_editor.h"

namespace torvane {

bool OpenInTextEditor(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace torvane
