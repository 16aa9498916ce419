#include "app/local_path.h"

#include <QFileInfo>
#include <filesystem>

#include "os/file_system.h"

namespace torvane {

std::string LocalPathOf(const QString& name) {
  std::string path = name.toStdString();
  if (!name.contains(QChar::ReplacementCharacter)) return path;
  if (KindOf(PathFromUtf8(path)) != PathKind::kMissing) return path;
  const QFileInfo info(name);
  const std::string folder = info.path().toStdString();
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(PathFromUtf8(folder), ec)) {
    const std::u8string own = entry.path().filename().u8string();
    const std::string bytes(own.begin(), own.end());
    // Shown the way the dialog shows it.
    if (QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())) == info.fileName()) {
      return folder + "/" + bytes;
    }
  }
  return path;
}

}  // namespace torvane
