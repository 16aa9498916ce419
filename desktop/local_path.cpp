#include "desktop/local_path.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <filesystem>

#include "os/file_system.h"

namespace torvane {

namespace {

// An entry's name as Qt shows it and as the core takes it, from the system's
// own form: bytes on POSIX (decoded as Qt decodes file names, each bad byte
// becoming U+FFFD), UTF-16 on Windows. Only one of each pair is used on a
// given system.
[[maybe_unused]] QString Shown(const std::string& native) {
  return QFile::decodeName(QByteArray::fromStdString(native));
}
[[maybe_unused]] QString Shown(const std::wstring& native) {
  return QString::fromStdWString(native);
}
[[maybe_unused]] std::string CoreName(const std::string& native) { return native; }
[[maybe_unused]] std::string CoreName(const std::wstring& native) {
  return QString::fromStdWString(native).toStdString();
}

struct Lookup {
  int entries = 0;   // how many entries show as the name
  std::string name;  // the last one's own name, for the core
};

// The entries of `folder` (a path for the core) that show as `shown`. A
// folder that cannot be listed has none.
Lookup EntriesShownAs(const std::string& folder, const QString& shown) {
  Lookup found;
  std::error_code ec;
  namespace fs = std::filesystem;
  for (fs::directory_iterator entry(PathFromUtf8(folder.empty() ? "." : folder), ec);
       !ec && entry != fs::directory_iterator(); entry.increment(ec)) {
    const fs::path own = entry->path().filename();
    if (Shown(own.native()) == shown) {
      ++found.entries;
      found.name = CoreName(own.native());
    }
  }
  return found;
}

}  // namespace

Expected<std::string, AmbiguousName> LocalPathOf(const QString& name) {
  // Valid UTF-8 decodes one way only: a name without U+FFFD is its own path.
  if (!name.contains(QChar::ReplacementCharacter)) return name.toStdString();
  const QString separator = QString(QDir::separator());
  const QStringList parts = QDir::fromNativeSeparators(name).split(QLatin1Char('/'));
  std::string path;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    if (i > 0) path += separator.toStdString();
    std::string own = parts[i].toStdString();
    if (parts[i].contains(QChar::ReplacementCharacter)) {
      const Lookup found = EntriesShownAs(path, parts[i]);
      if (found.entries > 1) {
        return Fail(AmbiguousName{parts.mid(0, i + 1).join(separator), found.entries,
                                  i + 1 < parts.size()});
      }
      if (found.entries == 1) own = found.name;
    }
    path += own;
  }
  return path;
}

}  // namespace torvane
