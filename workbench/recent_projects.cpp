#include "workbench/recent_projects.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace torvane {

RecentProjects::RecentProjects(QString file) : file_(std::move(file)) {
  QFile in(file_);
  if (!in.open(QIODevice::ReadOnly)) return;
  for (const QString& line : QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'))) {
    if (!line.isEmpty() && !paths_.contains(line) && paths_.size() < kRecentProjects) {
      paths_.push_back(line);
    }
  }
}

bool RecentProjects::Add(const QString& path) {
  // A line end inside a name would split it in the file: such a project is
  // not offered again rather than offered wrongly.
  if (path.contains(QLatin1Char('\n'))) return true;
  paths_.removeAll(path);
  paths_.prepend(path);
  while (paths_.size() > kRecentProjects) paths_.removeLast();
  return Write();
}

bool RecentProjects::Remove(const QString& path) {
  paths_.removeAll(path);
  return Write();
}

bool RecentProjects::Write() const {
  if (!QDir().mkpath(QFileInfo(file_).absolutePath())) return false;
  QSaveFile out(file_);
  if (!out.open(QIODevice::WriteOnly)) return false;
  for (const QString& path : paths_) out.write((path + QLatin1Char('\n')).toUtf8());
  return out.commit();
}

QString DefaultRecentProjectsFile() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
      .filePath(QStringLiteral("recent-projects.txt"));
}

}  // namespace torvane
