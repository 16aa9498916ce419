// The workbench's document: one site as the workbench edits it. It owns
// the project, the common-point table, the one undo stack every edit of
// them goes through, and the solve made again on every change; the window
// only shows it and turns the user's actions into its edits.
#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <optional>
#include <string>

#include "base/expected.h"
#include "site/project_file.h"
#include "site/site_solve.h"
#include "workbench/point_table_model.h"

namespace torvane {

class WorkbenchDocument : public QObject {
  Q_OBJECT

 public:
  explicit WorkbenchDocument(QObject* parent = nullptr);

  QUndoStack& undo_stack() { return undo_; }
  bool Modified() const { return !undo_.isClean(); }  // since Load or Saved
  PointTableModel& table() { return table_; }
  const PointTableModel& table() const { return table_; }
  const SiteSolve& solve() const { return solve_; }

  // The project's own fields as last edited.
  const std::string& site() const { return project_.site; }
  const std::string& operator_name() const { return project_.operator_name; }
  FitModel model() const { return project_.model; }
  // The height model chosen (高程模型). Kept by the document; a project
  // keeps the model fitted (Project::height_model), so that kAuto opens
  // again as the model it resolved to.
  HeightChoice height_choice() const { return height_choice_; }
  // H0 as typed into its box; HeightOffset reads it.
  const QString& height_offset_text() const { return height_text_; }
  const Project& project() const { return project_; }

  // H0 as a run takes it: none for an empty box; refused, in Chinese, as
  // HeightOffsetOfBox refuses it. The one rule the box's colour, saving
  // and converting follow.
  Expected<std::optional<std::string>, QString> HeightOffset() const;

  // Shows `project` in place of the document's, as opening a project
  // does: no undo step, and the undo stack cleared.
  void Load(const Project& project);
  // The project as it would be saved now, with `notes`: the rows but for
  // those empty in every cell, H0 as a run takes it (a text that is no
  // number as typed, which saving refuses), the parameters solved, or the
  // typed ones when nothing is solved; the height model fitted, none where
  // none is chosen or it cannot be fitted.
  Project Current(const std::string& notes) const;
  // The project as saved: what the file holds now.
  void Saved(const Project& project);

  // Each an undo step named in Chinese, none when nothing changes.
  void SetSite(const std::string& site);
  // Who calculates the site, as its report names them (操作员).
  void SetOperator(const std::string& name);
  void SetModel(FitModel model);
  void SetHeightChoice(HeightChoice choice);
  // H0 typed in full width or grouped in thousands is kept, and shown, as
  // the number read (TypedNumberText); any other text as typed.
  void SetHeightOffset(const QString& typed);
  void SetTypedParams(const ProjectParams& params);  // params.source must be kTyped
  // The point files' layout, the drawings' axes and whether the drawings'
  // heights follow H0, as the project keeps them.
  void KeepLayout(const PointLayout& layout, const std::optional<TextEncoding>& encoding,
                  DrawingAxis axis, DrawingHeights heights);

 signals:
  // A field of the project changed (by an edit, undo, redo or Load).
  void FieldsChanged();
  // The solve was made again.
  void Solved();

 private:
  // Pushes an undo step named `text` that sets the project to `after` (and
  // H0's text to `after_h0`, when given), undone back to what it is now.
  void Edit(const QString& text, const Project& after,
            std::optional<QString> after_h0 = std::nullopt,
            std::optional<HeightChoice> after_heights = std::nullopt);
  void Show(const Project& project, const QString& height_text, HeightChoice heights);
  void Resolve();

  QUndoStack undo_;
  PointTableModel table_{undo_};
  Project project_;  // its points are the table's
  QString height_text_;
  HeightChoice height_choice_ = HeightChoice::kNone;
  SiteSolve solve_;
};

}  // namespace torvane
