#include "workbench/convert_job.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QThread>

#include <cassert>
#include <memory>
#include <string_view>

#include "batch/conversion_run.h"
#include "batch/result_path.h"
#include "desktop/run_failure_message.h"
#include "drawing/drawing_run.h"

namespace torvane {
namespace {

QString FileName(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).fileName();
}

QString Native(const std::string& path) {
  return QDir::toNativeSeparators(QString::fromStdString(path));
}

}  // namespace

std::vector<std::string> ResultPaths(const ConvertPlan& plan) {
  const std::unique_ptr<ResultWriter> writer =
      MakeResultWriter(plan.format, plan.decimals, plan.layout);
  const std::string_view extension = writer->Extension();
  std::vector<std::string> paths;
  for (const std::string& point_file : plan.point_files) {
    if (IsDrawingName(point_file)) {
      paths.push_back(plan.output_folder ? DrawingResultPathIn(*plan.output_folder, point_file)
                                         : DrawingResultPathFor(point_file));
      continue;
    }
    paths.push_back(plan.output_folder ? ResultPathIn(*plan.output_folder, point_file, extension)
                                       : ResultPathFor(point_file, extension));
  }
  return paths;
}

QString ConvertSummaryText(const std::vector<FileOutcome>& outcomes) {
  QStringList lines;
  QString stopped;  // the file the cancel stopped in
  QStringList not_started;
  for (const FileOutcome& file : outcomes) {
    const QString name = FileName(file.point_path);
    switch (file.state) {
      case FileOutcome::kConverted:
        lines << (file.drawing ? QStringLiteral("%1：转换 %2 个实体 → %3")
                               : QStringLiteral("%1：转换 %2 点 → %3"))
                     .arg(name)
                     .arg(file.points)
                     .arg(Native(file.result_path));
        break;
      case FileOutcome::kFailed:
        if (file.error.kind == RunErrorKind::kCancelled) {
          stopped = name;
        } else {
          // One line a file: the message's own line breaks go.
          lines << QStringLiteral("%1：%2").arg(name, RunFailureMessage(file.error).remove('\n'));
        }
        break;
      case FileOutcome::kNotStarted:
        not_started << name;
        break;
    }
  }
  if (!stopped.isEmpty() || !not_started.isEmpty()) {
    QStringList cancelled;
    if (!stopped.isEmpty()) cancelled << QStringLiteral("%1（未写出成果表）").arg(stopped);
    if (!not_started.isEmpty()) {
      cancelled << QStringLiteral("%1 未开始").arg(not_started.join(QStringLiteral("、")));
    }
    lines << QStringLiteral("已取消：") + cancelled.join(QStringLiteral("，"));
  }
  return lines.join('\n');
}

ConvertJob::ConvertJob(QObject* parent) : QObject(parent) {}

ConvertJob::~ConvertJob() {
  if (thread_ == nullptr) return;
  Cancel();
  thread_->wait();
  delete thread_;
}

void ConvertJob::Start(ConvertPlan plan) {
  assert(!IsRunning());
  cancelled_ = false;
  outcomes_.clear();
  thread_ = QThread::create([this, plan = std::move(plan)] { Run(plan); });
  // Sent from the job's thread as it ends, received in this one.
  connect(thread_, &QThread::finished, this, &ConvertJob::Ended);
  thread_->start();
}

void ConvertJob::Cancel() { cancelled_ = true; }

void ConvertJob::Ended() {
  thread_->wait();
  delete thread_;
  thread_ = nullptr;
  emit Finished();
}

void ConvertJob::Run(const ConvertPlan& plan) {
  const std::vector<std::string> result_paths = ResultPaths(plan);
  const std::unique_ptr<ResultWriter> writer =
      MakeResultWriter(plan.format, plan.decimals, plan.layout);
  const std::size_t files = plan.point_files.size();
  std::vector<FileOutcome> outcomes(files);
  RunRequest request;
  request.layout = plan.layout;
  request.encoding = plan.encoding;
  request.direction = plan.direction;
  request.height_offset = plan.height_offset;
  for (std::size_t i = 0; i < files; ++i) {
    FileOutcome& outcome = outcomes[i];
    outcome.point_path = plan.point_files[i];
    outcome.result_path = result_paths[i];
    // A cancel between two files keeps the rest from starting.
    if (cancelled_) continue;
    const QString shown = QString::fromStdString(outcome.point_path);
    emit Progress(static_cast<double>(i) / static_cast<double>(files), shown);
    request.point_path = outcome.point_path;
    request.result_path = outcome.result_path;
    request.progress = [&](double share) {
      emit Progress((static_cast<double>(i) + share) / static_cast<double>(files), shown);
      return !cancelled_;
    };
    if (IsDrawingName(outcome.point_path) || IsDwgName(outcome.point_path)) {
      outcome.drawing = true;
      DrawingRequest drawing;
      drawing.drawing_path = outcome.point_path;
      drawing.result_path = outcome.result_path;
      drawing.direction = plan.direction;
      drawing.axis = plan.axis;
      drawing.height_offset = plan.height_offset;
      drawing.progress = request.progress;
      auto run = ConvertDrawing(drawing, plan.params);
      if (run) {
        outcome.state = FileOutcome::kConverted;
        outcome.points = static_cast<std::size_t>(run->entities);
      } else {
        outcome.state = FileOutcome::kFailed;
        outcome.error = run.error();
      }
      continue;
    }
    auto run = ConvertRun(request, plan.params, *writer);
    if (run) {
      outcome.state = FileOutcome::kConverted;
      outcome.points = run->points;
    } else {
      outcome.state = FileOutcome::kFailed;
      outcome.error = run.error();
    }
  }
  // Read in the job's own thread once this one has ended (Ended).
  outcomes_ = std::move(outcomes);
}

}  // namespace torvane
