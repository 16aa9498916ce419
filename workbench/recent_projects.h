// The projects opened or saved last, newest first, kept in a small UTF-8
// file (one path a line) so that the workbench offers them again after a
// restart.
#pragma once

#include <QString>
#include <QStringList>

namespace torvane {

// How many projects the list keeps.
inline constexpr int kRecentProjects = 8;

class RecentProjects {
 public:
  // The list kept in `file`; empty when the file is missing or unreadable
  // (a list that cannot be read is no reason to refuse to start).
  explicit RecentProjects(QString file);

  const QStringList& paths() const { return paths_; }

  // Puts `path` first (once; a path with a line end is not kept), drops the oldest past
  // kRecentProjects and writes the file in full or not at all; false when it could not be written
  // (the list in memory is still updated).
  bool Add(const QString& path);
  // Drops `path`, e.g. a project that is gone; writes as Add does.
  bool Remove(const QString& path);

 private:
  bool Write() const;

  QString file_;
  QStringList paths_;
};

// Where the workbench keeps its list: the user's configuration folder for
// the application (QStandardPaths::AppConfigLocation).
QString DefaultRecentProjectsFile();

}  // namespace torvane
