// 坐标转换工作台: the workbench window, for a site of many common points.
// The points in a table, solved again on every change, seen on a plot, and
// kept as a project file; point files converted with the parameters found.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QUndoStack>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "desktop/platform.h"
#include "desktop/report_file.h"
#include "report/calibration_document.h"
#include "site/common_points.h"
#include "site/project_file.h"
#include "site/site_solve.h"
#include "workbench/convert_dialog.h"
#include "workbench/point_table_model.h"
#include "workbench/points_view.h"
#include "workbench/recent_projects.h"
#include "workbench/solve_summary.h"
#include "workbench/workbench_document.h"

class QAction;
class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTableView;

namespace torvane {

class PointsArea;
class SolvePanel;
class SitePlotView;
class WrittenNote;

// The workbench's short guide in Chinese (workbench/guide.txt, which the
// Windows users' guide holds too), as 帮助 > 使用说明 shows it.
QString WorkbenchGuideText();

// The window's caption, after the project's name.
inline constexpr const char* kWorkbenchTitle = "坐标转换工作台";
// A project not yet saved is called this in the caption.
inline constexpr const char* kUntitledProject = "未命名";

class WorkbenchWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `recent_file` keeps the recent projects' list (RecentProjects).
  explicit WorkbenchWindow(Platform& platform,
                           const QString& recent_file = DefaultRecentProjectsFile(),
                           QWidget* parent = nullptr);

  // Opens the project at `path` (native or '/' separators) in place of the
  // one shown, without asking about unsaved changes; a project the reader
  // refuses is told in a message box and leaves the window as it was.
  // Returns whether it was opened.
  bool OpenProject(const QString& path);
  // Saves to `path`; a refusal is told in a message box. Returns whether
  // the project was written.
  bool SaveProjectAs(const QString& path);

  // What is shown: the project as it would be saved now, the latest solve
  // and its panel.
  Project CurrentProject() const;
  const SiteSolve& solve() const { return document_.solve(); }
  const SolveSummary& summary() const { return summary_; }
  PointTableModel& table() { return document_.table(); }
  QUndoStack& undo_stack() { return document_.undo_stack(); }
  WorkbenchDocument& document() { return document_; }
  // The project file shown, empty for a new one.
  const QString& project_path() const { return path_; }
  const RecentProjects& recent() const { return recent_; }

  // The menu commands, as the menus and their shortcuts run them.
  void NewProject();         // 新建
  void OpenProjectDialog();  // 打开…
  bool SaveProject();        // 保存: Save As for a new project
  bool SaveProjectDialog();  // 另存为…
  void ImportPoints();       // 导入公共点文件…: the file, then its layout
  // Appends the common points of the file at `path`, read as `layout` says,
  // one undo step; a file the reader refuses is told in a message box,
  // naming file, line and field, and nothing is added.
  bool ImportPointsFrom(const QString& path, const CommonPointLayout& layout);
  void PastePoints();  // 粘贴
  // Whether the paste read as `read` is taken: a header's placement shown
  // and confirmed, one that cannot be placed asked about, columns that look
  // exchanged warned of.
  bool PasteAccepted(const PastedPoints& read);
  void TypeParams();  // 手工输入参数…
  // Parameters typed by hand (source kTyped), one undo step: converting
  // uses them, and the project keeps them, while the table gives no
  // solution.
  void SetTypedParams(const ProjectParams& params);
  void ConvertFiles();  // 转换点文件…
  // What converting would use now: the parameters solved (or typed into
  // the project when nothing is solved), H0, the project's point-file
  // layout; none, after a message box saying why, when there are no
  // parameters or H0 is not a number.
  std::optional<ConvertSettings> CurrentConvertSettings();
  // 导出报告(PDF)…, 导出报告(HTML)…: the file dialog, then ExportReport.
  void ExportReportDialog(ReportFormat format);
  // Writes the calibration report of the solve shown to `path` (native or
  // '/' separators) in `format`, whole or not at all; a refusal (nothing
  // solved, the file not written) is told in a message box. Returns whether
  // it was written.
  bool ExportReport(const QString& path, ReportFormat format);
  // 打印报告…: the print dialog, then the report on the printer chosen.
  void PrintReport();
  // The calibration report of the solve shown. Its input file is the
  // project file when the project shown is saved and unchanged; otherwise
  // it names none, the points being only in the window. None, after a
  // message box saying why, when nothing is solved or the project file
  // cannot be read.
  std::optional<CalibrationDocument> ReportDocument();
  // The point-file layout, the drawings' axes and whether their heights
  // follow H0, as the project keeps them, one undo step when they change.
  void KeepLayout(const PointLayout& layout, const std::optional<TextEncoding>& encoding,
                  DrawingAxis axis, DrawingHeights heights);

  // 窗口 > 经典转换窗口 runs `open`, which shows the classic window; the
  // menu is there only once this is given.
  void SetClassicWindow(std::function<void()> open);
  void ShowGuide();  // 帮助 > 使用说明: the guide, in a window of its own
  void ShowAbout();  // 帮助 > 关于: what the program is, its version
  // Whether the table's place shows how to begin (the table has no row).
  bool ShowsStartPage() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void BuildMenus();
  // The toolbar, the empty table's page, 窗口 and 帮助, the status bar's
  // note of where an export wrote (workbench_guidance.cpp).
  void BuildGuidance();
  void ShowFields();  // the document's own fields in the header's boxes
  void ShowSummary();
  void UpdatePlot(bool fit_view);
  void UpdateTitle();
  void UpdateRecentMenu();
  void ShowProject(const Project& project);
  // Before unsaved work would be lost: 保存 / 不保存 / 取消. True to go on.
  bool MaySpoilChanges();
  void Warn(const QString& message);
  // With rows kept out of the solve, asks whether to go on with `action`
  // (转换, 生成报告) on the parameters of the other points; true when there
  // are none or the user says so.
  bool FewerPointsAccepted(const QString& action);
  // False, having said so and `outcome` (项目未保存。), where H0 is typed and
  // a height model chosen too: a site's heights move one way or the other.
  bool HeightsOneWay(const QString& outcome);
  // Whether a solve is shown for a report to be made of; if not, says why.
  bool Solved();
  bool Modified() const;

  Platform& platform_;
  WorkbenchDocument document_;
  RecentProjects recent_;

  QLineEdit* site_ = nullptr;
  QLineEdit* operator_ = nullptr;  // 操作员: the report's; empty for the login name
  QComboBox* model_ = nullptr;
  QComboBox* height_model_ = nullptr;
  QAction* by_height_ = nullptr;  // 查看 → 按高程残差着色
  QLineEdit* height_offset_ = nullptr;
  PointsView* table_ = nullptr;
  SitePlotView* plot_ = nullptr;
  SolvePanel* panel_ = nullptr;
  QLabel* left_out_ = nullptr;  // the status bar's count of rows kept out
  QPlainTextEdit* notes_ = nullptr;
  QMenu* recent_menu_ = nullptr;
  PointsArea* points_area_ = nullptr;
  WrittenNote* written_ = nullptr;
  QMenu* windows_menu_ = nullptr;
  QAction* classic_ = nullptr;
  QDialog* guide_ = nullptr;
  std::function<void()> open_classic_;

  CommonPointLayout import_layout_;  // as the last import was laid out
  QString path_;                     // the project file shown; empty: new
  FileFingerprint path_bytes_;       // the bytes path_ was read from or written with
  bool notes_changed_ = false;
  SolveSummary summary_;
  std::vector<std::size_t> plot_rows_;  // the table row of each plotted point
};

}  // namespace torvane
