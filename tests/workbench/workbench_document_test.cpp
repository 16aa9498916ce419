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
// was loaded, the rigid solve without heights again; redone, every edit
// back, the model's and the heights' solve made again at once.
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
      {"高程模型", [&] { document.SetHeightChoice(HeightChoice::kAuto); }},
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
  EXPECT_EQ(document.solve().heights.choice, HeightChoice::kAuto);
  const Project edited = document.Current("");
  EXPECT_EQ(edited.site, "西区");
  EXPECT_EQ(edited.height_offset, std::optional<std::string>("0"));
  EXPECT_EQ(edited.layout.fields, cass.fields);
  EXPECT_EQ(edited.drawing_axis, DrawingAxis::kNorthEast);
  EXPECT_EQ(edited.drawing_heights, DrawingHeights::kMoved);

  while (undo.canUndo()) undo.undo();
  EXPECT_FALSE(document.Modified());
  EXPECT_EQ(document.solve().model, FitModel::kRigid);
  EXPECT_EQ(document.solve().heights.choice, HeightChoice::kNone);
  Project expected = loaded;
  expected.parameters = document.Current("").parameters;  // the solve's
  EXPECT_EQ(document.Current(""), expected);
  while (undo.canRedo()) undo.redo();
  EXPECT_EQ(document.solve().model, FitModel::kSimilarity);
  EXPECT_EQ(document.solve().heights.choice, HeightChoice::kAuto);
  EXPECT_EQ(document.Current(""), edited);
}

}  // namespace
}  // namespace torvane

namespace torvane {
namespace {

// State: a project of five fit points with heights whose d = Hs − Hc is
// the plane 1.5 + 0.0002·(X − 1050) − 0.0001·(Y − 2050) m exactly. Action:
// each height model chosen, the project taken as it would be saved, and
// opened again. Expected: the model fitted kept with its terms (a0 in
// metres, slopes in metres per kilometre: 0.2 and −0.1 m/km), none for
// none and for a model the points cannot fix; opened again, the choice is
// the model kept (auto opens as the model it resolved to).
TEST(WorkbenchDocument, HeightModelKeptAsFitted) {
  Project loaded;
  loaded.points = {{"A", PointRole::kFit, "1000", "2000", "0", "0", "10", "8.505"},
                   {"B", PointRole::kFit, "1100", "2000", "100", "0", "10", "8.485"},
                   {"C", PointRole::kFit, "1000", "2100", "0", "100", "10", "8.515"},
                   {"D", PointRole::kFit, "1100", "2100", "100", "100", "10", "8.495"},
                   {"E", PointRole::kFit, "1050", "2050", "50", "50", "10", "8.5"}};
  const struct {
    HeightChoice choice;
    std::optional<HeightModel> kept;
    std::vector<std::string> terms;  // as kept: shortest round-trip texts
    HeightChoice reopened;
  } rows[] = {
      {HeightChoice::kNone, std::nullopt, {}, HeightChoice::kNone},
      {HeightChoice::kOffset, HeightModel::kOffset, {"1.5"}, HeightChoice::kOffset},
      {HeightChoice::kPlane, HeightModel::kPlane, {"1.5", "0.2", "-0.1"}, HeightChoice::kPlane},
      {HeightChoice::kAuto, HeightModel::kPlane, {"1.5", "0.2", "-0.1"}, HeightChoice::kPlane},
      {HeightChoice::kQuadric, std::nullopt, {}, HeightChoice::kNone},  // 5 points, 6 terms
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.choice));
    WorkbenchDocument document;
    document.Load(loaded);
    document.SetHeightChoice(row.choice);
    const Project saved = document.Current("");
    ASSERT_EQ(saved.height_model.has_value(), row.kept.has_value());
    if (row.kept) {
      EXPECT_EQ(saved.height_model->model, *row.kept);
      ASSERT_EQ(saved.height_model->terms.size(), row.terms.size());
      for (std::size_t i = 0; i < row.terms.size(); ++i) {
        EXPECT_NEAR(std::stod(saved.height_model->terms[i]), std::stod(row.terms[i]), 1e-9);
      }
    }
    WorkbenchDocument opened;
    opened.Load(saved);
    EXPECT_EQ(opened.height_choice(), row.reopened);
  }
}

}  // namespace
}  // namespace torvane
