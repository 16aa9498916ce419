// Importing a common-point file into the table: State (the file and its
// layout) / Expected (the rows, the same points torvane-cli reads, or the
// message).
#include "workbench/point_import.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "../temp_dir.h"
#include "number/number_text.h"
#include "workbench/import_dialog.h"

namespace torvane {
namespace {

using testing::TempDir;
constexpr PointRole kFit = PointRole::kFit;

// The rows read as points: the same names and values as the command line's
// reader gives for the file, bit for bit.
void ExpectSameAsCommandLine(const std::vector<ProjectPoint>& rows, const std::string& path,
                             const CommonPointLayout& layout) {
  auto cli = ReadCommonPoints(path, layout);
  ASSERT_TRUE(cli.ok());
  ASSERT_EQ(rows.size(), cli->size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const CommonPoint& p = (*cli)[i];
    EXPECT_EQ(rows[i].name, p.name);
    EXPECT_EQ(ParseDecimal(rows[i].xs).value(), p.survey.x) << rows[i].xs;
    EXPECT_EQ(ParseDecimal(rows[i].ys).value(), p.survey.y) << rows[i].ys;
    EXPECT_EQ(ParseDecimal(rows[i].xc).value(), p.construction.x) << rows[i].xc;
    EXPECT_EQ(ParseDecimal(rows[i].yc).value(), p.construction.y) << rows[i].yc;
    for (const auto& [text, height] :
         {std::pair{&rows[i].hs, &p.survey_h}, std::pair{&rows[i].hc, &p.construction_h}}) {
      EXPECT_EQ(text->empty() ? std::nullopt : std::optional(ParseDecimal(*text).value()), *height)
          << *text;
    }
  }
}

// `text` in UTF-16 LE after its BOM, as Excel saves "Unicode text": the
// compiler's own code units of u"...".
std::string Utf16Le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

CommonPointLayout Layout(const char* columns, FieldDelimiter delimiter, std::size_t skip,
                         std::optional<TextEncoding> encoding) {
  CommonPointLayout layout;
  layout.fields = ParseCommonColumns(columns).value();
  layout.delimiter = delimiter;
  layout.skip_lines = skip;
  layout.encoding = encoding;
  return layout;
}

TEST(ImportCommonPoints, RowsAsTheFileWritesThem) {
  TempDir dir;
  // 控制点一 and 控制点二 in GBK.
  const std::string gbk =
      "\xb5\xe3\xc3\xfb\tcode\tXs\tYs\tXc\tYc\r\n"
      "\xbf\xd8\xd6\xc6\xb5\xe3\xd2\xbb\tT\t 3412586.215\t501127.353\t0.000\t0.000\r\n"
      "\xbf\xd8\xd6\xc6\xb5\xe3\xb6\xfe\tT\t3412955.698\t501327.128\t420.0\t+0\r\n";
  const struct {
    const char* state;
    std::string path;
    CommonPointLayout layout;
    std::vector<ProjectPoint> rows;
  } cases[] = {
      {"the example file, the usual layout",
       std::string(TORVANE_EXAMPLES) + "/control-points.csv",
       {},
       {{"K1", kFit, "3412.588", "5127.348", "0.000", "0.000"},
        {"K2", kFit, "3624.036", "5260.721", "250.000", "0.000"},
        {"K3", kFit, "3528.013", "5412.968", "250.000", "180.000"},
        {"K4", kFit, "3316.563", "5279.574", "0.000", "180.000"},
        {"K5", kFit, "3470.297", "5270.158", "125.000", "90.000"}}},
      {"GBK found from the bytes, TAB, a header skipped, a column skipped",
       dir.Write("gbk.txt", gbk),
       Layout("name,-,xs,ys,xc,yc", FieldDelimiter::kTab, 1, std::nullopt),
       {{"控制点一", kFit, "3412586.215", "501127.353", "0.000", "0.000"},
        {"控制点二", kFit, "3412955.698", "501327.128", "420.0", "+0"}}},
      {"GBK told",
       dir / "gbk.txt",
       Layout("name,-,xs,ys,xc,yc", FieldDelimiter::kTab, 1, TextEncoding::kGbk),
       {{"控制点一", kFit, "3412586.215", "501127.353", "0.000", "0.000"},
        {"控制点二", kFit, "3412955.698", "501327.128", "420.0", "+0"}}},
      // Read as the same text in UTF-8 (it was a NUL byte), whatever
      // encoding the dialog says.
      {"Excel's Unicode text: UTF-16 LE, TAB, CR LF, a header skipped",
       dir.Write("unicode.txt", Utf16Le(u"点名\t测图X\t测图Y\t施工X\t施工Y\r\n"
                                        u"控制点一\t3412586.215\t501127.353\t0.000\t0.000\r\n"
                                        u"\U00020000\t3412955.698\t501327.128\t420.0\t+0\r\n")),
       Layout("name,xs,ys,xc,yc", FieldDelimiter::kTab, 1, TextEncoding::kGbk),
       {{"控制点一", kFit, "3412586.215", "501127.353", "0.000", "0.000"},
        {"\U00020000", kFit, "3412955.698", "501327.128", "420.0", "+0"}}},
      {"quoted fields, columns in another order, semicolons",
       dir.Write("quoted.csv", "1;2;\"P \"\"7\"\"; east\";3;4\n\n5;6;Q;7;8\n"),
       Layout("xs,ys,name,xc,yc", FieldDelimiter::kSemicolon, 0, std::nullopt),
       {{"P \"7\"; east", kFit, "1", "2", "3", "4"}, {"Q", kFit, "5", "6", "7", "8"}}},
      // Heights as written, as coordinates are: "12.500" came in as "12.5"
      // (a fixed fault).
      {"heights after each grid's Y: one blank, one past the line's end, each as written",
       dir.Write("heights.csv",
                 "K1,1,2,12.500,3,4,-0.5\nK2,1,2,,3,4\nK3,1,2,0.30000000000000004,3,4,-1e-3\n"),
       Layout("name,xs,ys,hs,xc,yc,hc", FieldDelimiter::kComma, 0, std::nullopt),
       {{"K1", kFit, "1", "2", "3", "4", "12.500", "-0.5"},
        {"K2", kFit, "1", "2", "3", "4"},
        {"K3", kFit, "1", "2", "3", "4", "0.30000000000000004", "-1e-3"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    auto rows = ImportCommonPoints(c.path, c.layout);
    ASSERT_TRUE(rows.ok()) << Describe(rows.error());
    EXPECT_EQ(*rows, c.rows);
    ExpectSameAsCommandLine(*rows, c.path, c.layout);
  }
}

TEST(ImportCommonPoints, FailuresNameFileLineAndField) {
  TempDir dir;
  const struct {
    const char* state;
    const char* bytes;
    std::string message;  // "PATH" stands for the file
  } cases[] = {
      {"a coordinate that is not a number", "K1,1,2,3,4\nK2,1,2,3x,4\n",
       "坐标文件“PATH”第 2 行的 Xc 坐标“3x”不是数字。\n未导入公共点。"},
      {"a name used twice", "K1,1,2,3,4\nK1,1,2,3,4\n",
       "坐标文件“PATH”第 2 行的点名“K1”与第 1 行重复。\n未导入公共点。"},
      {"a header", "点名,测图X,测图Y,施工X,施工Y\nK1,1,2,3,4\n",
       "坐标文件“PATH”第 1 行“点名,测图X,测图Y,施工X,施工Y”像是表头，不是公共点：测图X 和 "
       "测图Y 都不是数字。\n请把“跳过开头的行数”设为 1 后再导入。\n未导入公共点。"},
      {"no points", "\n\n", "坐标文件“PATH”中没有点。\n未导入公共点。"},
      // A workbook whatever its name: how to bring it in, said as an import
      // (it was 另存为 CSV 后再转换).
      {"a workbook under a .csv name", "PK\x03\x04\x14",
       "“PATH”是电子表格工作簿，不能直接导入。请在电子表格软件中选中公共点的单元格复制，"
       "再用“粘贴公共点”（Ctrl+V）粘贴到公共点表中；或把工作簿另存为“CSV (逗号分隔)”或"
       "“Unicode 文本”后导入该文件（Unicode 文本以制表符分隔）。\n未导入公共点。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    const std::string path = dir.Write("bad.csv", c.bytes);
    auto rows = ImportCommonPoints(path, {});
    ASSERT_FALSE(rows.ok());
    std::string want = c.message;
    const std::string shown = QDir::toNativeSeparators(QString::fromStdString(path)).toStdString();
    want.replace(want.find("PATH"), 4, shown);
    EXPECT_EQ(ImportFailureMessage(rows.error()).toStdString(), want);
  }
}

// State: the name chosen in the import's file dialog, whose filters list
// workbooks too. Expected: for a workbook's name, how to bring it in,
// before anything is read; for any other, none.
TEST(ImportCommonPoints, WorkbooksAreAnsweredWithHowToBringThemIn) {
  const QStringList filters = ImportFileFilters();
  EXPECT_EQ(filters.join(u'|').toStdString(),
            "公共点文件 (*.csv *.txt *.dat *.xlsx *.xls *.ods)|所有文件 (*)");
  const std::string advice =
      "”是电子表格工作簿，不能直接导入。请在电子表格软件中选中公共点的单元格复制，"
      "再用“粘贴公共点”（Ctrl+V）粘贴到公共点表中；或把工作簿另存为“CSV (逗号分隔)”或"
      "“Unicode 文本”后导入该文件（Unicode 文本以制表符分隔）。\n未导入公共点。";
  const struct {
    const char* name;
    bool workbook;
  } rows[] = {{"控制点.xlsx", true}, {"OLD.XLS", true},     {"calc.ods", true},
              {"pts.csv", false},    {"xlsx.txt", false},   {"a.xlsx.csv", false},
              {"pts.dat", false},    {"noextension", false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const auto got = WorkbookAdvice(QString::fromUtf8(row.name));
    ASSERT_EQ(got.has_value(), row.workbook);
    if (got) {
      EXPECT_EQ(got->toStdString(), "“" + std::string(row.name) + advice);
    }
  }
}

// State: the dialog's boxes as a surveyor sets them. Expected: the layout,
// or the message shown in the dialog (which then stays open).
TEST(ImportDialog, LayoutOrItsProblem) {
  const struct {
    const char* columns;
    int delimiter;  // 逗号, 制表符, 空格, 分号
    int skip;
    int encoding;  // 自动, UTF-8, GBK
    std::optional<CommonPointLayout> layout;
    const char* problem;
  } cases[] = {
      {"name,xs,ys,xc,yc", 0, 0, 0, CommonPointLayout{}, ""},
      {" Name , - ,XS,ys,skip,xc,yc", 2, 3, 2,
       CommonPointLayout{{CommonField::kName, CommonField::kSkip, CommonField::kXs,
                          CommonField::kYs, CommonField::kSkip, CommonField::kXc, CommonField::kYc},
                         FieldDelimiter::kWhitespace,
                         3,
                         TextEncoding::kGbk},
       ""},
      {"name,xs,,ys,xc,yc", 1, 0, 1, std::nullopt,
       "列的顺序“name,xs,,ys,xc,yc”中有空项（两个逗号之间什么也没有）。"},
      {"name,xs,ys,x,yc", 0, 0, 0, std::nullopt,
       "列的顺序“name,xs,ys,x,yc”中的“x”不是 name、xs、ys、xc、yc、hs、hc、- 或 skip 之一。"},
      {"name,xs,ys,HS,xc,yc,hc", 0, 0, 0,
       CommonPointLayout{{CommonField::kName, CommonField::kXs, CommonField::kYs, CommonField::kHs,
                          CommonField::kXc, CommonField::kYc, CommonField::kHc},
                         FieldDelimiter::kComma,
                         0,
                         std::nullopt},
       ""},
      {"name,xs,ys,xc,yc,hc,hc", 0, 0, 0, std::nullopt,
       "列的顺序“name,xs,ys,xc,yc,hc,hc”中 hc 出现了两次。"},
      {"name,xs,ys,xc,yc,XS", 0, 0, 0, std::nullopt,
       "列的顺序“name,xs,ys,xc,yc,XS”中 xs 出现了两次。"},
      {"name,xs,ys,xc", 0, 0, 0, std::nullopt, "列的顺序“name,xs,ys,xc”中缺少 yc。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.columns);
    ImportDialog dialog;
    EXPECT_EQ(dialog.windowTitle().toStdString(), "导入公共点文件");
    dialog.findChild<QLineEdit*>("columns")->setText(QString::fromUtf8(c.columns));
    dialog.findChild<QComboBox*>("delimiter")->setCurrentIndex(c.delimiter);
    dialog.findChild<QSpinBox*>("skipLines")->setValue(c.skip);
    dialog.findChild<QComboBox*>("encoding")->setCurrentIndex(c.encoding);
    auto layout = dialog.Layout();
    dialog.accept();
    const QLabel* problem = dialog.findChild<QLabel*>("problem");
    if (c.layout) {
      ASSERT_TRUE(layout.ok()) << layout.error().toStdString();
      EXPECT_EQ(layout->fields, c.layout->fields);
      EXPECT_EQ(layout->delimiter, c.layout->delimiter);
      EXPECT_EQ(layout->skip_lines, c.layout->skip_lines);
      EXPECT_EQ(layout->encoding, c.layout->encoding);
      EXPECT_EQ(dialog.result(), QDialog::Accepted);
      // Shown again, the layout reads back the same.
      ImportDialog again;
      again.ShowLayout(*layout);
      auto shown = again.Layout();
      ASSERT_TRUE(shown.ok());
      EXPECT_EQ(shown->fields, layout->fields);
      EXPECT_EQ(shown->delimiter, layout->delimiter);
      EXPECT_EQ(shown->skip_lines, layout->skip_lines);
      EXPECT_EQ(shown->encoding, layout->encoding);
    } else {
      ASSERT_FALSE(layout.ok());
      EXPECT_EQ(layout.error().toStdString(), c.problem);
      EXPECT_EQ(problem->text().toStdString(), c.problem);
      EXPECT_FALSE(problem->isHidden());
      EXPECT_NE(dialog.result(), QDialog::Accepted);
    }
  }
}

}  // namespace
}  // namespace torvane
