// The workbench's document without a window: State / Action / Expected.
#include "workbench/workbench_document.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace torvane {
namespace {

// State: a saved project of three points (the worked example's square).
// Action: each field edited in turn, then every step undone, then redone.
// Expected: one undo step an edit, each named; undone, the project as it
// was loaded, the rigid solve again; redone, every edit back, the model's
// solve made again at once.
TEST(WorkbenchDocument, EveryEditIsOneStepOfOneStack) {
  Project loaded;
  loaded.site = "东区";
  loaded.points = {{"A", PointRole::kFit, "1000", "2000", "0", "0"},
                   {"B", PointRole::kFit, "1070.711", "2070.711", "100", "0"},
                   {"C", PointRole::kFit, "1000", "2141.421", "100", "100"}};
  WorkbenchDocument document;
  document.Load(loaded);
  ASSERT_FALSE(document.Modified());
  ProjectParams typed;
  typed.texts = {"1", "2", "3"};
  typed.source = ParamSource::kTyped;
  PointLayout cass;
  cass.fields = {PointField::kName, PointField::kCode, PointField::kY, PointField::kX,
                 PointField::kH};
  const struct {
    const char* step;
    std::function<void()> edit;
  } rows[] = {
      {"工程名称", [&] { document.SetSite("西区"); }},
      {"模型", [&] { document.SetModel(FitModel::kSimilarity); }},
      {"H0", [&] { document.SetHeightOffset(QStringLiteral(".")); }},
      {"手工输入参数", [&] { document.SetTypedParams(typed); }},
      {"点文件格式",
       [&] {
         document.KeepLayout(cass, TextEncoding::kGbk, DrawingAxis::kNorthEast,
                             DrawingHeights::kMoved);
       }},
  };
  QUndoStack& undo = document.undo_stack();
  for (const auto& row : rows) {
    const int before = undo.count();
    row.edit();
    EXPECT_EQ(undo.count(), before + 1) << row.step;
    EXPECT_EQ(undo.text(undo.index() - 1).toStdString(), row.step);
    row.edit();  // the same again changes nothing
    EXPECT_EQ(undo.count(), before + 1) << row.step;
  }
  EXPECT_EQ(document.solve().model, FitModel::kSimilarity);
  const Project edited = document.Current("");
  EXPECT_EQ(edited.site, "西区");
  EXPECT_EQ(edited.height_offset, std::optional<std::string>("0"));
  EXPECT_EQ(edited.layout.fields, cass.fields);
  EXPECT_EQ(edited.drawing_axis, DrawingAxis::kNorthEast);
  EXPECT_EQ(edited.drawing_heights, DrawingHeights::kMoved);

  while (undo.canUndo()) undo.undo();
  EXPECT_FALSE(document.Modified());
  EXPECT_EQ(document.solve().model, FitModel::kRigid);
  Project expected = loaded;
  expected.parameters = document.Current("").parameters;  // the solve's
  EXPECT_EQ(document.Current(""), expected);
  while (undo.canRedo()) undo.redo();
  EXPECT_EQ(document.solve().model, FitModel::kSimilarity);
  EXPECT_EQ(document.Current(""), edited);
}

}  // namespace
}  // namespace torvane
