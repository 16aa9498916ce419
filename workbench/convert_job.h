// Point files and DXF drawings converted one after another in a thread of
// their own, with the parameters the workbench solved: each file all or nothing, as the
// command line converts them, its result named as the command line names
// it. The window follows the share done and may cancel; at the end a
// summary tells what became of every file.
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "base/expected.h"
#include "batch/run_error.h"
#include "report/result_format.h"
#include "site/conversion_plan.h"

class QThread;

namespace torvane {

// What to convert, and how: the files as PlanConversion planned them.
struct ConvertPlan {
  std::vector<FileConversion> files;
  ConversionSettings settings;
  ResultFormat format = ResultFormat::kTable;
  int decimals = kDefaultResultDecimals;  // of X and Y in CSV and JSON, 0 to kMaxResultDecimals
};

// The plan for `point_files` (UTF-8 paths as the core opens them; none is
// empty), their results in `output_folder` or, when none, beside each
// file; refused as PlanConversion refuses it.
Expected<ConvertPlan, PlanRefusal> PlanConvert(const std::vector<std::string>& point_files,
                                               const std::optional<std::string>& output_folder,
                                               const ConversionSettings& settings,
                                               ResultFormat format, int decimals);

// What became of one point file.
struct FileOutcome {
  enum State {
    kNotStarted,  // the job was cancelled before this file
    kConverted,   // points: how many; the result written to result_path
    kFailed,      // error says why (kCancelled: stopped in this file); nothing written
  } state = kNotStarted;
  std::string point_path;
  std::string result_path;
  std::size_t points = 0;           // for a drawing: its entities converted
  bool drawing = false;             // a DXF drawing, not a point file
  bool encoding_undecided = false;  // read as UTF-8, though valid GBK too (ConvertFile)
  DrawingHeightsDone heights = DrawingHeightsDone::kNoOffset;  // a drawing's, with H0
  // A point file's, with a height model: the points with a height beyond
  // the fit points' coverage, and the first names of them (FileConverted).
  std::size_t outside_coverage = 0;
  std::vector<std::string> outside_names;
  RunError error;
};

// The summary in Chinese, a line a file, in order, the files the cancel
// stopped or kept from starting together last:
// "a.csv：转换 120 点 → /data/a转化后成果表.txt", a drawing converted with
// H0 saying what became of its heights ("site.dxf：转换 8 个实体 → …
// （平面图，高程未改正）"), a point file with points beyond the height
// model's coverage naming them ("（2 点超出高程拟合点的范围，高程为外推：
// P7、P9）", the first kOutsideNamed and how many more), a failure as
// RunFailureMessage tells it, "已取消：b.csv（未写出成果表），c.csv 未开始".
QString ConvertSummaryText(const std::vector<FileOutcome>& outcomes);

class ConvertJob : public QObject {
  Q_OBJECT

 public:
  explicit ConvertJob(QObject* parent = nullptr);
  // Cancels a job still running and waits for its thread to end.
  ~ConvertJob() override;

  // Starts converting the files of `plan` in a thread of its own; Finished
  // follows. Not while running.
  void Start(ConvertPlan plan);
  // Asks the running job to stop: the file being converted is left
  // unwritten (an earlier result kept), the files after it are not
  // started. From any thread; nothing when no job runs.
  void Cancel();
  bool IsRunning() const { return thread_ != nullptr; }

  // What became of each file of the last job, once Finished has come.
  const std::vector<FileOutcome>& outcomes() const { return outcomes_; }

 signals:
  // The share of the whole job done, 0 to 1, and the point file being
  // converted (a UTF-8 path). Sent from the job's thread, now and then.
  void Progress(double share, const QString& point_file);
  // The job has ended, every file converted, failed or not started; sent
  // in the thread the job belongs to.
  void Finished();

 private:
  // In the job's thread: converts the files one after another.
  void Run(const ConvertPlan& plan);
  void Ended();

  QThread* thread_ = nullptr;
  std::atomic<bool> cancelled_{false};
  std::vector<FileOutcome> outcomes_;
};

}  // namespace torvane
