// 转换点文件: the workbench's dialog that converts point files with the
// parameters solved. The files, the direction, the result's format and
// decimals, how the files are laid out, and where the results go are
// chosen; 开始转换 converts them one after another (see convert_job.h),
// with a progress bar and 取消, and the dialog ends with a summary of what
// became of each file.
#pragma once

#include <QDialog>
#include <QString>

#include <optional>
#include <string>
#include <vector>

#include "batch/point_layout.h"
#include "batch/text_encoding.h"
#include "desktop/platform.h"
#include "drawing/dxf_entities.h"
#include "params/conversion_params.h"
#include "params/transform.h"
#include "report/result_format.h"
#include "report/solve_figures.h"
#include "site/conversion_plan.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QWidget;

namespace torvane {

class ConvertJob;

// What the window gives the dialog, and gets back with the user's choices
// so that the project keeps the layout.
struct ConvertSettings {
  // The parameters solved (not changed by the dialog), H0 as the window
  // holds it, the point files' layout and encoding, the direction and the
  // drawings' axes.
  ConversionSettings conversion;
  ResultFormat format = ResultFormat::kTable;
  int decimals = kDefaultResultDecimals;  // 0 to kMaxResultDecimals
  // The folder chosen for the results (UTF-8, as the core names it); none:
  // beside each point file.
  std::optional<std::string> output_folder;
  // The parameters as the dialog shows them before converting, in the
  // results panel's words: where they come from, with the model
  // ("模型：四参数（平移、旋转、尺度），由 5 个参与平差的点解算"), then each
  // figure with its unit (ParameterFigures). Shown as given; not changed by
  // the dialog.
  QString parameters_source;
  std::vector<ReportFigure> parameter_figures;
};

class ConvertDialog : public QDialog {
  Q_OBJECT

 public:
  ConvertDialog(Platform& platform, const ConvertSettings& settings, QWidget* parent = nullptr);

  // The settings as the user left them; the layout as last used to convert
  // or, if it was never valid, as given.
  ConvertSettings settings() const;

  // The point files listed, UTF-8 as the core names them.
  const std::vector<std::string>& point_files() const { return files_; }
  // The results written while the dialog was open, in order, UTF-8 as the
  // core names them.
  const std::vector<std::string>& written() const { return written_; }

  // Closing while a conversion runs cancels it; the dialog closes once the
  // file being converted has been left as it was.
  void reject() override;

 private:
  void AddFiles();
  void RemoveFiles();
  void ChooseFolder();
  void StartConverting();
  void ShowProgress(double share, const QString& point_file);
  void ShowSummary();
  void UpdateEnabled();
  // The layout the controls give, or none after telling the user why not.
  std::optional<PointLayout> ChosenLayout();
  void Warn(const QString& text);
  // Why the plan of the files listed is refused, in Chinese.
  QString RefusalText(const PlanRefusal& refusal) const;

  Platform& platform_;
  ConvertSettings settings_;
  std::vector<std::string> files_;
  std::vector<std::string> written_;
  ConvertJob* job_;
  bool close_when_done_ = false;

  QWidget* choices_;  // every control that may not change while converting
  QListWidget* file_list_;
  QPushButton* remove_;
  QComboBox* direction_;
  QComboBox* axis_;
  QCheckBox* drawing_heights_;
  QComboBox* format_;
  QSpinBox* decimals_;
  QComboBox* columns_;
  QComboBox* delimiter_;
  QSpinBox* skip_lines_;
  QComboBox* encoding_;
  QRadioButton* beside_;
  QRadioButton* in_folder_;
  QLabel* folder_shown_;
  QPushButton* start_;
  QProgressBar* progress_;
  QLabel* current_;
  QPushButton* cancel_;
  QPlainTextEdit* summary_;
};

}  // namespace torvane
