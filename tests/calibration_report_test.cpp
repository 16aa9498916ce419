#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "fit/fit_report.h"
#include "report/calibration_document.h"
#include "report/calibration_html.h"
#include "report/fit_report_text.h"
#include "report/markup_escape.h"

namespace torvane {
namespace {

// examples/control-points.csv, the README's five points.
const CommonPoint kControlPoints[] = {{"K1", 1, {3412.588, 5127.348}, {0.000, 0.000}, {}, {}},
                                      {"K2", 2, {3624.036, 5260.721}, {250.000, 0.000}, {}, {}},
                                      {"K3", 3, {3528.013, 5412.968}, {250.000, 180.000}, {}, {}},
                                      {"K4", 4, {3316.563, 5279.574}, {0.000, 180.000}, {}, {}},
                                      {"K5", 5, {3470.297, 5270.158}, {125.000, 90.000}, {}, {}}};

std::vector<std::string> Tokens(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> tokens;
  for (std::string token; in >> token;) tokens.push_back(token);
  return tokens;
}

// Every token of the command line's report, its punctuation taken off.
std::set<std::string> ReportTokens(const std::string& text) {
  std::set<std::string> tokens;
  for (std::string token : Tokens(text)) {
    while (!token.empty() && std::string(",:()").find(token.back()) != std::string::npos) {
      token.pop_back();
    }
    while (!token.empty() && token.front() == '(') token.erase(0, 1);
    tokens.insert(token);
  }
  return tokens;
}

// The residual table's lines of the command line's report, as tokens.
std::vector<std::vector<std::string>> ResidualLines(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(text);
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("point ")) {
      inside = true;
    } else if (inside && line.starts_with("RMS ")) {
      break;
    } else if (inside) {
      lines.push_back(Tokens(line));
    }
  }
  return lines;
}

// The left-out table's lines of the command line's report, as tokens, and
// the blunder test's line.
std::vector<std::vector<std::string>> LeftOutLines(const std::string& text, std::string* verdict) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(text);
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("Each fit point left out")) {
      inside = true;
      std::getline(in, line);  // the heading
    } else if (inside && line.starts_with("Blunder test ")) {
      *verdict = line;
      break;
    } else if (inside) {
      lines.push_back(Tokens(line));
    }
  }
  return lines;
}

// The coordinates examples/control-points.csv writes, without the zeros
// that end them (as a report shows them when it is given no texts): survey
// X, Y, construction X, Y.
const std::map<std::string, std::array<std::string, 4>> kWritten = {
    {"K1", {"3412.588", "5127.348", "0", "0"}},
    {"K2", {"3624.036", "5260.721", "250", "0"}},
    {"K3", {"3528.013", "5412.968", "250", "180"}},
    {"K4", {"3316.563", "5279.574", "0", "180"}},
    {"K5", {"3470.297", "5270.158", "125", "90"}}};

// Decimal degrees as degrees, minutes and seconds to 0.001″, worked out
// here by hand: 32.2432931657 gives "32°14′35.855″".
std::string Dms(double degrees) {
  const double seconds = std::round(std::fabs(degrees) * 3600 * 1000) / 1000;
  const int whole = static_cast<int>(seconds / 3600);
  const int minutes = static_cast<int>((seconds - whole * 3600) / 60);
  char text[64];
  std::snprintf(text, sizeof text, "%s%d°%02d′%06.3f″", degrees < 0 ? "-" : "", whole, minutes,
                seconds - whole * 3600 - minutes * 60);
  return text;
}

// Degrees, minutes and seconds read back: "32°14′35.855″" gives degrees.
double DegreesOf(const std::string& dms) {
  int degrees = 0, minutes = 0;
  double seconds = 0;
  EXPECT_EQ(std::sscanf(dms.c_str(), "%d°%d′%lf″", &degrees, &minutes, &seconds), 3) << dms;
  const double sign = dms.starts_with("-") ? -1 : 1;
  return sign * (std::abs(degrees) + minutes / 60.0 + seconds / 3600.0);
}

// The figure after `prefix` in the text: "RMS " gives the RMS.
double FigureAfter(const std::string& text, const std::string& prefix) {
  const std::size_t at = text.find(prefix);
  EXPECT_NE(at, std::string::npos) << prefix;
  return std::stod(text.substr(at + prefix.size()));
}

// The document of each site against FitReportText of the same fit: every
// figure is a text the command line prints, every point's row is its line
// of the residual table, and the few figures the command line does not
// print follow from those it does.
TEST(CalibrationDocument, EveryFigureIsTheCommandLinesText) {
  const struct {
    FitModel model;
    std::vector<std::string> check, excluded;
    std::string project;
    bool swapped = false;  // the construction X and Y exchanged: no model chosen
    std::optional<std::string> h0 = std::nullopt;
  } rows[] = {
      {FitModel::kRigid, {"K5"}, {"K4"}, ""},
      {FitModel::kSimilarity, {"K5"}, {"K4"}, "site.torvane", false, "45.300"},
      {FitModel::kRigid, {"K1"}, {}, ""},       // four fitted: standardized residuals
      {FitModel::kSimilarity, {"K3"}, {}, ""},  // and the F test with them
      // A fixed fault: the F test chose 四参数 for a scale of 0.2 while the
      // site's warning said its axes were exchanged.
      {FitModel::kSimilarity, {"K3"}, {}, "", true},
  };
  for (const auto& row : rows) {
    std::vector<CommonPoint> fitted, excluded, check;
    for (CommonPoint p : kControlPoints) {
      if (row.swapped) std::swap(p.construction.x, p.construction.y);
      const auto in = [&](const std::vector<std::string>& names) {
        return std::find(names.begin(), names.end(), p.name) != names.end();
      };
      (in(row.check) ? check : in(row.excluded) ? excluded : fitted).push_back(p);
    }
    auto report = ReportFit(fitted, excluded, check, row.model);
    ASSERT_TRUE(report.ok()) << report.error();
    const std::string text = FitReportText(*report, fitted, excluded, check);
    const std::vector<std::string> unreadable = {
        "第 7 行 测图X “12a.5” 不是数字：该行不参与计算。"};
    ReportSource source{"场地 A", "张三",      "2026-12-09 16:40:12",
                        "0.1.0",  row.project, {{"cp.csv", 196, std::string(64, 'a')}},
                        row.h0,   unreadable};
    const CalibrationDocument doc =
        MakeCalibrationDocument(source, *report, fitted, excluded, check);
    const std::string where = text.substr(0, text.find('\n'));

    // Figures the command line does not print: what each must be.
    const double rms = FigureAfter(text, "\nRMS ");
    std::set<std::string> beyond;  // fit points whose printed length passes twice the printed RMS
    const auto table = ResidualLines(text);
    for (std::size_t i = 0; i < fitted.size(); ++i) {
      if (std::stod(table[i][3]) > 2 * rms) beyond.insert(table[i][0]);
    }
    const bool blunder = text.find(", beyond 3:") != std::string::npos;
    const bool significant = text.find(": the scale is significant") != std::string::npos;
    const std::set<std::string> tokens = ReportTokens(text);
    for (const auto* figures : {&doc.parameters, &doc.inverse, &doc.statistics}) {
      for (const ReportFigure& f : *figures) {
        if (f.label == "2 倍中误差") {
          EXPECT_NEAR(std::stod(f.value), 2 * rms, 0.0011) << where;
        } else if (f.label == "超过 2 倍中误差的点") {
          EXPECT_EQ(f.value, beyond.empty() ? "无" : *beyond.begin()) << where;
        } else if (f.label == "粗差限值") {
          EXPECT_EQ(f.value, "3.0");
        } else if (f.label == "粗差判断") {
          EXPECT_EQ(f.value.starts_with("超过"), blunder) << where;
        } else if (f.label == "剔除检验") {
          EXPECT_NE(text.find("\nNo blunder can be found with fewer than 4 fit points"),
                    std::string::npos)
              << where;
        } else if (f.label == "剔除检验结论") {
          // Each point the text names, with its miss as its row gives it.
          std::string line, named;
          const auto left_out = LeftOutLines(text, &line);
          for (const auto& tokens : left_out) {
            if (tokens.back() != "blunder") continue;
            named += (named.empty() ? "粗差：" : "、") + tokens[0] + "（剔除后不符 " + tokens[3] +
                     " mm）";
          }
          EXPECT_EQ(line.ends_with(", no blunder"), named.empty()) << where;
          EXPECT_EQ(f.value, named.empty() ? "未发现粗差" : named) << where;
        } else if (f.label == "F 检验结论") {
          EXPECT_EQ(f.value, row.swapped   ? "不作结论：公共点有问题，见“警告”"
                             : significant ? "尺度显著，应采用四参数"
                                           : "尺度不显著，刚体转换即可");
        } else {
          // Degrees are printed with their sign, "32.2413921111°".
          EXPECT_TRUE(tokens.contains(f.unit == "°" ? f.value + "°" : f.value))
              << where << ": " << f.label << ' ' << f.value;
        }
      }
    }
    // Which figures there are: the scale's with the similarity fit, the F
    // test with three fitted points or more, the check points'.
    const auto has = [&](const std::vector<ReportFigure>& figures, const std::string& label) {
      return std::any_of(figures.begin(), figures.end(),
                         [&](const ReportFigure& f) { return f.label == label; });
    };
    const bool similarity = row.model == FitModel::kSimilarity;
    EXPECT_EQ(has(doc.parameters, "尺度 k"), similarity) << where;
    EXPECT_EQ(has(doc.parameters, "尺度的标准误差"), similarity) << where;
    EXPECT_EQ(has(doc.statistics, "F"), similarity) << where;
    EXPECT_EQ(has(doc.statistics, "检核点中误差"), !check.empty()) << where;
    EXPECT_EQ(has(doc.title_block, "工程文件"), !row.project.empty()) << where;
    EXPECT_EQ(doc.title_block[4].value, similarity ? "四参数（相似变换）" : "刚体（尺度 1）");

    // Every point, in the command line's order, with the same figures.
    ASSERT_EQ(doc.rows.size(), table.size()) << where;
    for (std::size_t i = 0; i < table.size(); ++i) {
      const ReportRow& r = doc.rows[i];
      std::vector<std::string> line = {r.name, r.dx, r.dy, r.length};
      if (!r.wx.empty()) line.insert(line.end(), {r.wx, r.wy});
      if (r.role == "检核") line.push_back("check");
      if (r.role == "不用") line.push_back("excluded");
      EXPECT_EQ(line, table[i]) << where << ' ' << r.role;
      EXPECT_EQ(r.beyond_limit, beyond.contains(r.name)) << where << ' ' << r.name;
    }
    // Every fit point left out, with the command line's figures.
    std::string verdict;
    const auto left_out_lines = LeftOutLines(text, &verdict);
    for (std::size_t i = 0; i < left_out_lines.size(); ++i) {
      const ReportRow& r = doc.rows[i];
      std::vector<std::string> line = {r.name, "-", "-", r.left_out, r.tx, r.ty, r.f};
      if (r.f == "-") line.insert(line.end(), {"cannot", "be", "checked"});
      if (r.tested_blunder) line.push_back("blunder");
      // dX and dY left out are the command line's alone: the document has the length.
      if (r.f != "-" && left_out_lines[i].size() > 2) {
        line[1] = left_out_lines[i][1];
        line[2] = left_out_lines[i][2];
      }
      EXPECT_EQ(line, left_out_lines[i]) << where;
    }
    // Every number of the formulas is one the command line prints.
    for (const std::string& formula : doc.formulas) {
      const std::regex number("-?[0-9]+\\.[0-9]+");
      for (std::sregex_iterator m(formula.begin(), formula.end(), number), end; m != end; ++m) {
        EXPECT_TRUE(tokens.contains(m->str()) || tokens.contains(m->str() + "°"))
            << where << ": " << formula;
      }
    }
    EXPECT_EQ(doc.plot.points.size(), std::size(kControlPoints)) << where;
    EXPECT_EQ(doc.files.size(), 1u);

    // Every fit point's and unused point's coordinates by their values (no
    // texts given); every check point's with its line of the command line's
    // table.
    const auto written = [&](const std::string& name) {
      std::array<std::string, 4> texts = kWritten.at(name);
      if (row.swapped) std::swap(texts[2], texts[3]);
      return texts;
    };
    ASSERT_EQ(doc.points.size(), fitted.size() + excluded.size()) << where;
    for (std::size_t i = 0; i < doc.points.size(); ++i) {
      const bool fit = i < fitted.size();
      const ReportPointRow& p = doc.points[i];
      const std::string& name = fit ? fitted[i].name : excluded[i - fitted.size()].name;
      EXPECT_EQ(p.name, name) << where;
      EXPECT_EQ(p.role, fit ? "参与平差" : "不用") << where;
      EXPECT_EQ((std::array<std::string, 4>{p.xs, p.ys, p.xc, p.yc}), written(name)) << where;
    }
    ASSERT_EQ(doc.checks.size(), check.size()) << where;
    for (std::size_t i = 0; i < check.size(); ++i) {
      const ReportCheckRow& c = doc.checks[i];
      const std::vector<std::string>& line = table[fitted.size() + i];
      EXPECT_EQ((std::vector<std::string>{c.name, c.dx, c.dy, c.length, "check"}),
                (std::vector<std::string>{line[0], line[1], line[2], line[3], line.back()}))
          << where;
      EXPECT_EQ((std::array<std::string, 4>{c.xs, c.ys, c.xc, c.yc}), written(c.name)) << where;
    }
    // Unused points, then the rows the caller names, each with why.
    std::vector<std::string> left_out;
    for (const CommonPoint& p : excluded) {
      left_out.push_back(p.name + "：标为不用，不参与平差（其残差见“公共点残差”）");
    }
    left_out.insert(left_out.end(), unreadable.begin(), unreadable.end());
    EXPECT_EQ(doc.left_out, left_out) << where;

    // The controller's four parameters: the offsets as printed, the turn
    // the conversion makes in degrees, minutes and seconds, the scale's ppm
    // as printed (0 for the rigid model); and, taken as a controller takes
    // them, they give each fit point's survey coordinates but for its
    // residual.
    ASSERT_EQ(doc.controller.size(), 4u) << where;
    const std::vector<std::string> first = Tokens(where);
    const std::size_t turn_at = text.find("(turned with pi = ");
    const double turn = std::stod(text.substr(text.find(": ", turn_at) + 2));
    const std::size_t ppm_at = text.find("\nScale: ");
    const std::string ppm =
        similarity ? Tokens(text.substr(ppm_at + 1, text.find('\n', ppm_at + 1) - ppm_at))[3]
                   : "0.000";
    EXPECT_EQ(doc.controller[0].value, first[0]) << where;
    EXPECT_EQ(doc.controller[1].value, first[1]) << where;
    EXPECT_EQ(doc.controller[2].value, Dms(turn)) << where;
    EXPECT_EQ(doc.controller[3].value, ppm) << where;
    const double alpha = DegreesOf(doc.controller[2].value) * std::acos(-1.0) / 180;
    const double k = 1 + std::stod(doc.controller[3].value) * 1e-6;
    for (std::size_t i = 0; i < fitted.size(); ++i) {
      const PlanePoint& c = fitted[i].construction;
      const double n = std::stod(first[0]) + k * (c.x * std::cos(alpha) - c.y * std::sin(alpha));
      const double e = std::stod(first[1]) + k * (c.x * std::sin(alpha) + c.y * std::cos(alpha));
      EXPECT_NEAR((fitted[i].survey.x - n) * 1000, std::stod(table[i][1]), 0.01) << where;
      EXPECT_NEAR((fitted[i].survey.y - e) * 1000, std::stod(table[i][2]), 0.01) << where;
    }

    // The model and why, H0 and the heights; the signatures; the head of a page.
    ASSERT_EQ(doc.model.size(), 5u) << where;
    EXPECT_EQ(doc.model[0].value, doc.title_block[4].value) << where;
    if (const std::size_t f = text.find("\nF = "); f != std::string::npos) {
      const std::vector<std::string> test = Tokens(text.substr(f + 1, text.find(':', f) - f));
      EXPECT_TRUE(
          doc.model[1].value.starts_with("F 检验：F = " + test[2].substr(0, test[2].size() - 1)))
          << doc.model[1].value;
      EXPECT_TRUE(doc.model[1].value.ends_with(row.swapped ? "不作结论：公共点有问题，见“警告”"
                                               : significant ? "尺度显著，应采用四参数"
                                                             : "尺度不显著，刚体转换即可"))
          << doc.model[1].value;
    } else {
      EXPECT_TRUE(doc.model[1].value.starts_with("按所选模型")) << doc.model[1].value;
    }
    EXPECT_EQ(doc.model[2].value, row.h0.value_or("未设")) << where;
    EXPECT_EQ(doc.model[2].unit, row.h0 ? "m" : "") << where;
    EXPECT_EQ(doc.model[3].value,
              row.h0 ? "施工 H = 测图 H − H0，测图 H = 施工 H + H0；平面转换不改变高程"
                     : "高程原样写出，不作改动；平面转换不改变高程")
        << where;
    EXPECT_EQ(doc.signatures, (std::vector<std::pair<std::string, std::string>>{
                                  {"计算", "张三"}, {"检查", ""}, {"审核", ""}}));
    EXPECT_EQ(doc.header, "工程：场地 A　坐标转换参数计算报告");
  }
}

// State: the README's five points, K5 a check point, with heights given
// to some. Expected: the table of the common points' headings and K1's and
// K4's rows as the HTML has them; a height column only where some point has
// that grid's height, "-" for a point without it; heights written as the
// coordinates are (by hand: the shortest text that reads back).
TEST(CalibrationDocument, PointTableShowsHeightsWhereGiven) {
  using Heights = std::pair<std::optional<double>, std::optional<double>>;  // Hs, Hc
  const std::string columns = "<th>点名</th><th>类别</th><th>X测 (m)</th><th>Y测 (m)</th>";
  const std::string k1 =
      "<td class=\"name\">K1</td><td class=\"role\">参与平差</td>"
      "<td class=\"xs\">3412.588</td><td class=\"ys\">5127.348</td>";
  const std::string k4 =
      "<td class=\"name\">K4</td><td class=\"role\">参与平差</td>"
      "<td class=\"xs\">3316.563</td><td class=\"ys\">5279.574</td>";
  const struct {
    const char* state;
    std::vector<Heights> heights;  // K1, K2, ... as far as given
    std::string head, k1_row, k4_row;
    std::map<std::string, CoordinateTexts> written = {};  // as the file or table writes them
  } rows[] = {
      {"no heights: the table as it was",
       {},
       columns + "<th>X施 (m)</th><th>Y施 (m)</th>",
       k1 + "<td class=\"xc\">0</td><td class=\"yc\">0</td>",
       k4 + "<td class=\"xc\">0</td><td class=\"yc\">180</td>"},
      {"a survey height on K4 alone",
       {{}, {}, {}, {101.25, {}}},
       columns + "<th>H测 (m)</th><th>X施 (m)</th><th>Y施 (m)</th>",
       k1 + "<td class=\"hs\">-</td><td class=\"xc\">0</td><td class=\"yc\">0</td>",
       k4 + "<td class=\"hs\">101.25</td><td class=\"xc\">0</td><td class=\"yc\">180</td>"},
      {"both heights on K1, a construction height on K4; K5's, a check point's, not here",
       {{100.0, -0.5}, {}, {}, {{}, 0.0}, {7.0, 7.0}},
       columns + "<th>H测 (m)</th><th>X施 (m)</th><th>Y施 (m)</th><th>H施 (m)</th>",
       k1 + "<td class=\"hs\">100</td><td class=\"xc\">0</td><td class=\"yc\">0</td>"
            "<td class=\"hc\">-0.5</td>",
       k4 + "<td class=\"hs\">-</td><td class=\"xc\">0</td><td class=\"yc\">180</td>"
            "<td class=\"hc\">0</td>"},
      {"a construction height on the check point alone: no height column",
       {{}, {}, {}, {}, {{}, 7.0}},
       columns + "<th>X施 (m)</th><th>Y施 (m)</th>",
       k1 + "<td class=\"xc\">0</td><td class=\"yc\">0</td>",
       k4 + "<td class=\"xc\">0</td><td class=\"yc\">180</td>"},
      // A fixed fault: "250.000" was shown as "250". A text that is not the
      // one the value was read from (K4's X测) is not shown.
      {"each figure as written",
       {{100.0, -0.5}},
       columns + "<th>H测 (m)</th><th>X施 (m)</th><th>Y施 (m)</th><th>H施 (m)</th>",
       "<td class=\"name\">K1</td><td class=\"role\">参与平差</td>"
       "<td class=\"xs\">3412.5880</td><td class=\"ys\">5127.348</td><td class=\"hs\">100.00</td>"
       "<td class=\"xc\">0.000</td><td class=\"yc\">+0</td><td class=\"hc\">-5e-1</td>",
       k4 + "<td class=\"hs\">-</td><td class=\"xc\">0.000</td><td class=\"yc\">180.000</td>"
            "<td class=\"hc\">-</td>",
       {{"K1", {"3412.5880", "5127.348", "0.000", "+0", "100.00", "-5e-1"}},
        {"K4", {"3316.564", "5279.574", "0.000", "180.000", "", "9"}}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.state);
    std::vector<CommonPoint> points(std::begin(kControlPoints), std::end(kControlPoints));
    for (std::size_t i = 0; i < row.heights.size(); ++i) {
      std::tie(points[i].survey_h, points[i].construction_h) = row.heights[i];
    }
    const std::vector<CommonPoint> fitted(points.begin(), points.begin() + 4);
    const std::vector<CommonPoint> check = {points[4]};
    auto report = ReportFit(fitted, {}, check, FitModel::kSimilarity);
    ASSERT_TRUE(report.ok());
    ReportSource source;
    source.written = row.written;
    const std::string html =
        CalibrationHtml(MakeCalibrationDocument(source, *report, fitted, {}, check), "");
    const std::size_t table = html.find("<table id=\"points\">");
    ASSERT_NE(table, std::string::npos);
    const std::string points_table = html.substr(table, html.find("</table>", table) - table);
    EXPECT_NE(points_table.find("<thead><tr>" + row.head + "</tr></thead>"), std::string::npos)
        << points_table;
    EXPECT_NE(points_table.find("<tr>" + row.k1_row + "</tr>"), std::string::npos) << points_table;
    EXPECT_NE(points_table.find("<tr>" + row.k4_row + "</tr>"), std::string::npos) << points_table;
  }
}

// Whatever a name holds stays text in the HTML; the plot is placed as it is.
TEST(CalibrationHtml, EscapesEveryTextAndPlacesThePlot) {
  const struct {
    std::string text, escaped;
  } escapes[] = {{"K<1>", "K&lt;1&gt;"},
                 {"A&B", "A&amp;B"},
                 {"\"'", "&quot;&#39;"},
                 {"点 1", "点 1"},
                 {"]]>", "]]&gt;"},
                 {"</svg>", "&lt;/svg&gt;"},
                 // What XML 1.0's Char leaves out, or HTML takes for a fault, is U+FFFD
                 // (once made the SVG unreadable); tab, LF and CR are XML's.
                 {"K1\x01", "K1\uFFFD"},
                 {"\x1F\x7F", "\uFFFD\uFFFD"},
                 {"a\tb\nc\r", "a\tb\nc\r"},
                 {"\u0085\u009F\u00A0", "\uFFFD\uFFFD\u00A0"},
                 {"\xEF\xBF\xBE\xEF\xBF\xBF\uFFFD", "\uFFFD\uFFFD\uFFFD"},
                 // Bytes that are not UTF-8 (点 in GBK; a lone lead byte): one U+FFFD each
                 // (once left the HTML file not UTF-8).
                 {"K\xB5\xE3", "K\uFFFD\uFFFD"},
                 {"K\xE7\x82", "K\uFFFD\uFFFD"},
                 // A right-to-left override is text, ended with its element.
                 {"\u202E1K", "\u202E1K"}};
  for (const auto& row : escapes) EXPECT_EQ(MarkupEscape(row.text), row.escaped);

  CalibrationDocument doc;
  doc.title = "坐标转换参数计算报告";
  doc.title_block = {{"工程", "<script>x</script>", ""}};
  // The site atop every printed page, in the style's @page too: a text
  // there that would end the string or the style stays text.
  doc.header = "工程：\"}\\</style><script>x</script>\n";
  doc.rows = {
      {"参与平差", "K&1", "1.000", "-2.000", "2.236", "", "", "", "", "", "", false, false}};
  doc.files = {{"a\"b.csv", 3, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"}};
  const struct {
    std::string svg;
    std::string placed;  // empty: no plot
  } plots[] = {
      {"", ""},
      {"<svg xmlns=\"http://www.w3.org/2000/svg\"/>",
       "<figure class=\"plot\">\n<svg xmlns=\"http://www.w3.org/2000/svg\"/>"},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg/>", "<figure class=\"plot\">\n<svg/>"}};
  for (const auto& plot : plots) {
    const std::string html = CalibrationHtml(doc, plot.svg);
    EXPECT_TRUE(html.starts_with("<!DOCTYPE html>\n"));
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(html.find("<td class=\"value\">&lt;script&gt;x&lt;/script&gt;</td>"),
              std::string::npos);
    EXPECT_EQ(html.find("<script>"), std::string::npos);
    EXPECT_EQ(html.find("</style>"), html.rfind("</style>"));
    EXPECT_NE(html.find("content: \"工程：\\22 }\\5c \\3c /style\\3e \\3c script\\3e x\\3c "
                        "/script\\3e \\0a \";"),
              std::string::npos)
        << html.substr(html.find("@page {"), 300);
    EXPECT_NE(html.find("<td class=\"name\">K&amp;1</td>"), std::string::npos);
    EXPECT_NE(html.find("<td class=\"file\">a&quot;b.csv</td>"), std::string::npos);
    EXPECT_EQ(html.find("<?xml"), std::string::npos);
    EXPECT_EQ(html.find("<figure"),
              plot.placed.empty() ? std::string::npos : html.find(plot.placed));
    // No standardized residuals: no such columns.
    EXPECT_EQ(html.find("class=\"wx\""), std::string::npos);
  }
}

}  // namespace
}  // namespace torvane
