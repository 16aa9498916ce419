#include "workbench/workbench_document.h"

#include <QUndoCommand>

#include <cassert>
#include <functional>
#include <utility>

#include "fit/height_coverage.h"
#include "number/typed_number.h"
#include "workbench/height_offset_rule.h"
#include "workbench/solve_summary.h"

namespace torvane {
namespace {

// An edit of the project's own fields: the whole project, H0's text and
// the height model chosen before and after, so that undo gives back
// exactly what was shown.
class ProjectEdit : public QUndoCommand {
 public:
  // The project, H0's text and the height model chosen, as shown.
  struct State {
    Project project;
    QString h0;
    HeightChoice heights = HeightChoice::kNone;
  };
  using Show = std::function<void(const State&)>;
  ProjectEdit(const QString& text, Show show, State before, State after)
      : QUndoCommand(text),
        show_(std::move(show)),
        before_(std::move(before)),
        after_(std::move(after)) {}
  void undo() override { show_(before_); }
  void redo() override { show_(after_); }

 private:
  Show show_;
  State before_, after_;
};

// The choice that opens `project` as it was saved: the model it keeps.
HeightChoice ChoiceOf(const Project& project) {
  if (!project.height_model) return HeightChoice::kNone;
  switch (project.height_model->model) {
    case HeightModel::kOffset:
      return HeightChoice::kOffset;
    case HeightModel::kPlane:
      return HeightChoice::kPlane;
    case HeightModel::kQuadric:
      return HeightChoice::kQuadric;
    case HeightModel::kNone:
      break;
  }
  return HeightChoice::kNone;
}

}  // namespace

WorkbenchDocument::WorkbenchDocument(QObject* parent) : QObject(parent) {
  connect(&table_, &PointTableModel::RowsChanged, this, &WorkbenchDocument::Resolve);
  Resolve();
}

Expected<std::optional<std::string>, QString> WorkbenchDocument::HeightOffset() const {
  return HeightOffsetOfBox(height_text_);
}

void WorkbenchDocument::Load(const Project& project) {
  project_ = project;
  project_.points.clear();
  height_text_ = QString::fromStdString(project.height_offset.value_or(""));
  height_choice_ = ChoiceOf(project);
  emit FieldsChanged();
  // Clears the undo stack and solves the rows again.
  table_.SetRows(project.points);
}

Project WorkbenchDocument::Current(const std::string& notes) const {
  Project project = project_;
  project.notes = notes;
  const auto offset = HeightOffset();
  project.height_offset =
      offset ? *offset : std::optional<std::string>(height_text_.trimmed().toStdString());
  // A row empty in every cell is one being typed, not a point.
  for (const ProjectPoint& row : table_.rows()) {
    if (!(row.name.empty() && row.xs.empty() && row.ys.empty() && row.xc.empty() &&
          row.yc.empty() && row.hs.empty() && row.hc.empty())) {
      project.points.push_back(row);
    }
  }
  project.height_model.reset();
  if (const HeightSolution* heights = AppliedHeights(solve_.heights)) {
    std::vector<PlanePoint> places;
    places.reserve(solve_.heights.fitted.size());
    for (const CommonPoint& p : solve_.heights.fitted) places.push_back(p.survey);
    project.height_model = KeptHeightModel(heights->surface, HeightCoverage(places).Vertices());
  }
  if (solve_.report) {
    ProjectParams params;
    params.texts = solve_.report->texts;
    params.scale = solve_.report->model == FitModel::kSimilarity ? solve_.report->scale_text : "1";
    params.source = ParamSource::kSolved;
    project.parameters = params;
  } else if (!project_.parameters || project_.parameters->source != ParamSource::kTyped) {
    // Parameters typed by hand stay with the project; solved ones go with
    // the points they were solved from.
    project.parameters.reset();
  }
  return project;
}

void WorkbenchDocument::Saved(const Project& project) {
  project_ = project;
  project_.points.clear();
  undo_.setClean();
}

void WorkbenchDocument::SetSite(const std::string& site) {
  if (site == project_.site) return;
  Project after = project_;
  after.site = site;
  Edit(QStringLiteral("工程名称"), after);
}

void WorkbenchDocument::SetOperator(const std::string& name) {
  if (name == project_.operator_name) return;
  Project after = project_;
  after.operator_name = name;
  Edit(QStringLiteral("操作员"), after);
}

void WorkbenchDocument::SetModel(FitModel model) {
  if (model == project_.model) return;
  Project after = project_;
  after.model = model;
  Edit(QStringLiteral("模型"), after);
}

void WorkbenchDocument::SetHeightChoice(HeightChoice choice) {
  if (choice == height_choice_) return;
  Edit(QStringLiteral("高程模型"), project_, std::nullopt, choice);
}

void WorkbenchDocument::SetHeightOffset(const QString& typed) {
  const std::string text = typed.toStdString();
  const auto read = TypedNumberText(text);
  const QString kept = read ? QString::fromStdString(*read) : typed;
  if (kept == height_text_) return;
  Edit(QStringLiteral("H0"), project_, kept);
}

void WorkbenchDocument::SetTypedParams(const ProjectParams& params) {
  assert(params.source == ParamSource::kTyped);
  if (project_.parameters == params) return;
  Project after = project_;
  after.parameters = params;
  Edit(QStringLiteral("手工输入参数"), after);
}

void WorkbenchDocument::KeepLayout(const PointLayout& layout,
                                   const std::optional<TextEncoding>& encoding, DrawingAxis axis,
                                   DrawingHeights heights) {
  const PointLayout& before = project_.layout;
  if (before.fields == layout.fields && before.delimiter == layout.delimiter &&
      before.skip_lines == layout.skip_lines && project_.encoding == encoding &&
      project_.drawing_axis == axis && project_.drawing_heights == heights) {
    return;
  }
  Project after = project_;
  after.layout = layout;
  after.encoding = encoding;
  after.drawing_axis = axis;
  after.drawing_heights = heights;
  Edit(QStringLiteral("点文件格式"), after);
}

void WorkbenchDocument::Edit(const QString& text, const Project& after,
                             std::optional<QString> after_h0,
                             std::optional<HeightChoice> after_heights) {
  undo_.push(new ProjectEdit(
      text,
      [this](const ProjectEdit::State& state) { Show(state.project, state.h0, state.heights); },
      {project_, height_text_, height_choice_},
      {after, after_h0.value_or(height_text_), after_heights.value_or(height_choice_)}));
}

void WorkbenchDocument::Show(const Project& project, const QString& height_text,
                             HeightChoice heights) {
  const bool resolve = project.model != project_.model || heights != height_choice_;
  project_ = project;
  height_text_ = height_text;
  height_choice_ = heights;
  emit FieldsChanged();
  if (resolve) Resolve();
}

void WorkbenchDocument::Resolve() {
  solve_ = SolveSite(table_.points(), project_.model, height_choice_);
  table_.SetResults(RowResults(solve_, table_.rows().size()));
  emit Solved();
}

}  // namespace torvane
