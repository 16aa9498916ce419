#include "workbench/convert_job.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QThread>

#include <cassert>
#include <memory>

#include "desktop/run_failure_message.h"

namespace torvane {
namespace {

QString FileName(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).fileName();
}

QString Native(const std::string& path) {
  return QDir::toNativeSeparators(QString::fromStdString(path));
}

// What became of a drawing's heights with H0 given; "" without H0.
QString HeightsText(DrawingHeightsDone done) {
  switch (done) {
    case DrawingHeightsDone::kNoOffset:
      break;
    case DrawingHeightsDone::kNotAsked:
      return QStringLiteral("（图形高程未改正：未勾选“图形的高程也按 H0 改正”）");
    case DrawingHeightsDone::kPlan:
      return QStringLiteral("（平面图，所有 z 和标高为 0：高程未改正）");
    case DrawingHeightsDone::kMoved:
      return QStringLiteral("（高程已按 H0 改正）");
  }
  return {};
}

}  // namespace

Expected<ConvertPlan, PlanRefusal> PlanConvert(const std::vector<std::string>& point_files,
                                               const std::optional<std::string>& output_folder,
                                               const ConversionSettings& settings,
                                               ResultFormat format, int decimals) {
  const std::unique_ptr<ResultWriter> writer = MakeResultWriter(format, decimals, settings.layout);
  const ResultPlace place{output_folder ? ResultPlace::kFolder : ResultPlace::kBeside,
                          output_folder.value_or("")};
  auto files = PlanConversion(point_files, place, writer->Extension());
  if (!files) return Fail(files.error());
  return ConvertPlan{std::move(*files), settings, format, decimals};
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
        if (const QString heights = HeightsText(file.heights); !heights.isEmpty()) {
          lines.back() += heights;
        }
        if (file.outside_coverage > 0) {
          QStringList names;
          for (const std::string& name : file.outside_names) names << QString::fromStdString(name);
          QString more;
          if (file.outside_coverage > file.outside_names.size()) {
            more = QStringLiteral(" 等 %1 点").arg(file.outside_coverage);
          }
          lines.back() += QStringLiteral("（%1 点超出高程拟合点的范围，高程为外推：%2%3）")
                              .arg(file.outside_coverage)
                              .arg(names.join(QStringLiteral("、")), more);
        }
        if (file.encoding_undecided) {
          lines.back() += QStringLiteral(
              "（此文件按 UTF-8 和 GBK 都能读，点名看不出是哪种，已按 UTF-8 读；"
              "如点名不对，请把编码选为 GBK 再转换）");
        }
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
  const std::unique_ptr<ResultWriter> writer =
      MakeResultWriter(plan.format, plan.decimals, plan.settings.layout);
  const std::size_t files = plan.files.size();
  std::vector<FileOutcome> outcomes(files);
  for (std::size_t i = 0; i < files; ++i) {
    const FileConversion& file = plan.files[i];
    FileOutcome& outcome = outcomes[i];
    outcome.point_path = file.path;
    outcome.result_path = file.result_path;
    outcome.drawing = file.drawing;
    // A cancel between two files keeps the rest from starting.
    if (cancelled_) continue;
    const QString shown = QString::fromStdString(outcome.point_path);
    emit Progress(static_cast<double>(i) / static_cast<double>(files), shown);
    auto run = ConvertFile(file, plan.settings, *writer, [&](double share) {
      emit Progress((static_cast<double>(i) + share) / static_cast<double>(files), shown);
      return !cancelled_;
    });
    if (run) {
      outcome.state = FileOutcome::kConverted;
      outcome.points = static_cast<std::size_t>(run->count);
      outcome.encoding_undecided = run->encoding_undecided;
      outcome.heights = run->heights;
      outcome.outside_coverage = run->outside_coverage;
      outcome.outside_names = run->outside_names;
    } else {
      outcome.state = FileOutcome::kFailed;
      outcome.error = run.error();
    }
  }
  // Read in the job's own thread once this one has ended (Ended).
  outcomes_ = std::move(outcomes);
}

}  // namespace torvane
