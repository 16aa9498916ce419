// The site plot: its geometry, its painting and its view in the workbench.
// State / Action / Expected; expected values worked by hand from the
// plot's rules (a margin of an eighth of the smaller side, X up, Y right).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QXmlStreamReader>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <tuple>
#include <variant>

#include "desktop/site_plot.h"
#include "report/label_placement.h"
#include "report/plot_svg.h"
#include "workbench/plot_view.h"

namespace torvane {
namespace {

constexpr PlotSize kSize{400, 300};
constexpr QSize kPixels(400, 300);

PlotPoint Point(const char* name, double x, double y, PointRole role = PointRole::kFit) {
  return {name, role, x, y, std::nullopt, std::nullopt};
}

// A site of four points 100 m north, south, east and west of (3000000, 500000).
SitePlot Cross() {
  return {{Point("N", 3000100, 500000), Point("S", 2999900, 500000), Point("E", 3000000, 500100),
           Point("W", 3000000, 499900)},
          std::nullopt,
          std::nullopt,
          std::nullopt};
}

TEST(SitePlot, FitViewShowsEveryPointNorthUpEastRight) {
  const struct {
    const char* state;
    SitePlot plot;
    std::vector<QPointF> expected;  // each point's pixel in a 400 x 300 plot
  } rows[] = {
      // 200 m both ways in 225 pixels of height (300 less two 37.5 margins):
      // 112.5 pixels from the centre each way, N above S, E right of W.
      {"cross", Cross(), {{200, 37.5}, {200, 262.5}, {312.5, 150}, {87.5, 150}}},
      // On one north-south line: the height sets the scale.
      {"north-south line",
       {{Point("A", 100, 0), Point("B", 0, 0)}, {}, {}, {}},
       {{200, 37.5}, {200, 262.5}}},
      // Wider than high: the width sets it, 325 pixels for 650 m.
      {"east-west line",
       {{Point("A", 0, 650), Point("B", 10, 0)}, {}, {}, {}},
       {{362.5, 152.5}, {37.5, 147.5}}},
      // One point (and two on one spot): in the middle.
      {"one point", {{Point("A", 3000000, 500000)}, {}, {}, {}}, {{200, 150}}},
      {"one spot twice",
       {{Point("A", 5, 5), Point("B", 5, 5)}, {}, {}, {}},
       {{200, 150}, {200, 150}}},
  };
  for (const auto& row : rows) {
    const PlotView view = FitView(row.plot, kSize);
    EXPECT_GT(view.metres_per_pixel, 0) << row.state;
    for (std::size_t i = 0; i < row.expected.size(); ++i) {
      const PlotXY at = ToPixel(view, kSize, row.plot.points[i].x, row.plot.points[i].y);
      EXPECT_NEAR(at.x, row.expected[i].x(), 1e-6) << row.state << " point " << i;
      EXPECT_NEAR(at.y, row.expected[i].y(), 1e-6) << row.state << " point " << i;
      const GridPoint back = FromPixel(view, kSize, at);
      EXPECT_NEAR(back.x, row.plot.points[i].x, 1e-6) << row.state << " point " << i;
      EXPECT_NEAR(back.y, row.plot.points[i].y, 1e-6) << row.state << " point " << i;
    }
  }
  // No points: a view still, drawn without points. A collapsed view: a
  // view still, and nothing painted.
  EXPECT_EQ(FitView(SitePlot{}, kSize).metres_per_pixel, 1);
  EXPECT_GT(FitView(Cross(), PlotSize{0, 0}).metres_per_pixel, 0);
  QImage image(10, 10, QImage::Format_ARGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  PaintSitePlot(painter, QSizeF(0, 0), Cross(), PlotView{});
  EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::black));
}

TEST(SitePlot, PointAtPicksTheNearestWithinSixPixels) {
  SitePlot plot = Cross();
  plot.points.push_back(Point("E again", 3000000, 500100));
  const PlotView view = FitView(plot, kSize);  // E and E again at (312.5, 150)
  const struct {
    QPointF click;
    std::optional<std::size_t> expected;
  } rows[] = {
      {{312.5, 150}, 2},     // on E and on E again: the first
      {{316.5, 154}, 2},     // 5.7 pixels away
      {{318.5, 151}, {}},    // 6.1 pixels away: a miss
      {{200, 150}, {}},      // the empty middle
      {{200, 43}, 0},        // 5.5 below N
      {{87.5, 150 + 6}, 3},  // exactly at the radius
  };
  for (const auto& row : rows) {
    EXPECT_EQ(PointAt(plot, view, kSize, ToPlot(row.click)), row.expected)
        << row.click.x() << "," << row.click.y();
  }
}

TEST(SitePlot, RoundScaleBarIsOneTwoOrFiveTimesAPowerOfTen) {
  const struct {
    double max_metres;
    BarUnit unit;
    double metres;
    const char* text;
  } rows[] = {
      {0.007, BarUnit::kMillimetre, 0.005, "5 mm"},
      {0.025, BarUnit::kMillimetre, 0.02, "20 mm"},
      {0.0999, BarUnit::kMillimetre, 0.05, "50 mm"},
      {0.1, BarUnit::kMillimetre, 0.1, "100 mm"},
      {0.005, BarUnit::kMillimetre, 0.005, "5 mm"},
      {0.001, BarUnit::kMillimetre, 0.001, "1 mm"},
      // Round lengths worked out a hair short of their value are the value.
      {0.011 - 0.001, BarUnit::kMillimetre, 0.01, "10 mm"},  // 0.009999999999999998
      {0.15 - 0.13, BarUnit::kMillimetre, 0.02, "20 mm"},    // 0.01999999999999999
      {0.3 - 0.1, BarUnit::kMetre, 0.2, "0.2 m"},            // 0.19999999999999998
      {0.0004, BarUnit::kMillimetre, 0.0002, "0.2 mm"},
      {180, BarUnit::kMetre, 100, "100 m"},
      {1, BarUnit::kMetre, 1, "1 m"},
      {0.3, BarUnit::kMetre, 0.2, "0.2 m"},
      {999, BarUnit::kMetre, 500, "500 m"},
      {1000, BarUnit::kMetre, 1000, "1 km"},
      {2600, BarUnit::kMetre, 2000, "2 km"},
  };
  for (const auto& row : rows) {
    const ScaleBar bar = RoundScaleBar(row.max_metres, row.unit);
    EXPECT_DOUBLE_EQ(bar.metres, row.metres) << row.max_metres;
    EXPECT_EQ(bar.text, row.text) << row.max_metres;
  }
}

TEST(SitePlot, ResidualsAreDrawnTheLargestAnEighthOfTheSmallerSide) {
  auto with = [](std::optional<double> dx, std::optional<double> dy) {
    SitePlot plot = Cross();
    plot.points[0].dx = 0.003;
    plot.points[0].dy = -0.004;  // 5 mm
    plot.points[1].dx = dx;
    plot.points[1].dy = dy;
    return plot;
  };
  SitePlot zero = Cross();
  zero.points[0].dx = zero.points[0].dy = 0;
  const struct {
    const char* state;
    SitePlot plot;
    PlotSize size;
    std::optional<double> expected;  // units of the plot a metre: smaller side / 8 / largest
  } rows[] = {
      {"5 mm largest", with(0.001, 0), kSize, 37.5 / 0.005},
      {"10 mm largest", with(0, -0.01), kSize, 3750},
      {"10 mm, 800 x 1000", with(0, -0.01), PlotSize{800, 1000}, 10000},
      {"collapsed view", with(0.001, 0), PlotSize{0, 0}, std::nullopt},
      {"not solved", Cross(), kSize, std::nullopt},
      {"all zero", zero, kSize, std::nullopt},
  };
  for (const auto& row : rows) {
    const auto got = ResidualExaggeration(row.plot, row.size);
    ASSERT_EQ(got.has_value(), row.expected.has_value()) << row.state;
    if (got) {
      EXPECT_DOUBLE_EQ(*got, *row.expected) << row.state;
    }
  }
}

TEST(SitePlot, TextWidthIsEstimatedOneEmAChineseCharacter) {
  const struct {
    const char* text;
    double expected;  // units at 12 units an em: 12 a Chinese character, 7.2 any other
  } rows[] = {
      {"", 0},
      {"参与平差", 48},
      {"施工X", 31.2},
      {"A1", 14.4},
      {"é", 7.2},  // two bytes, one narrow character
      {"한", 12},  // Hangul: wide
      {"𠀀", 12},  // four bytes, beyond the first plane: wide
      {"\x80"
       "A",
       14.4},  // a stray continuation byte: a character of its own
  };
  for (const auto& row : rows) {
    EXPECT_DOUBLE_EQ(EstimatedTextWidth(row.text, 12), row.expected) << row.text;
  }
}

// The texts of `drawing`, in drawing order.
std::vector<std::string> Texts(const PlotDrawing& drawing) {
  std::vector<std::string> texts;
  for (const PlotPrimitive& item : drawing.items) {
    if (const auto* text = std::get_if<PlotText>(&item)) texts.push_back(text->text);
  }
  return texts;
}

// The texts of the <text> elements of `svg` read by Qt's XML reader; a
// reading error, or a root element other than SVG's <svg> of 400 x 300,
// is a failure.
std::vector<std::string> SvgTexts(const std::string& svg) {
  std::vector<std::string> texts;
  QXmlStreamReader reader(QString::fromStdString(svg));
  bool root = true;
  while (!reader.atEnd()) {
    if (reader.readNext() != QXmlStreamReader::StartElement) continue;
    if (root) {
      EXPECT_EQ(reader.name().toString(), "svg");
      EXPECT_EQ(reader.namespaceUri().toString(), "http://www.w3.org/2000/svg");
      EXPECT_EQ(reader.attributes().value("viewBox").toString(), "0 0 400 300");
      EXPECT_EQ(reader.attributes().value("width").toString(), "400px");
      root = false;
    }
    if (reader.name() == QStringLiteral("text")) {
      texts.push_back(reader.readElementText().toStdString());
    }
  }
  EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString() << "\n" << svg;
  return texts;
}

TEST(SitePlot, DrawingAndSvgHoldEveryMarkAndName) {
  SitePlot marked = Cross();
  marked.points[0].name = "A<&\"'>";
  marked.points[1].name = "控制点]]>1";
  marked.points[1].role = PointRole::kCheck;
  marked.points[3].role = PointRole::kOff;
  // By height, N 4.25 mm above the model the largest: the legend says what
  // its deepest red and blue stand for.
  SitePlot by_height = marked;
  by_height.by_height = true;
  by_height.points[0].dh = 0.00425;
  by_height.points[1].dh = -0.001;
  const struct {
    const char* state;
    SitePlot plot;
    std::vector<std::string> texts;  // the names, the legend, the bar of 50 m (under a
                                     // quarter of 400 units at 200/225 m a unit)
    int discs, polygons;             // mark circles and polygons besides the ground
  } rows[] = {
      {"no points: the hint alone", SitePlot{}, {"没有公共点"}, 0, 0},
      {"names with XML's characters",
       marked,
       {"A<&\"'>", "控制点]]>1", "E", "W", "参与平差", "检核", "不用", "50 m"},
       // N, E and the legend's fit mark; S and the legend's check mark, the legend box.
       3,
       3},
      {"by height: the legend's colours",
       by_height,
       {"A<&\"'>", "控制点]]>1", "E", "W", "参与平差", "检核", "不用", "高于模型 4.3 mm",
        "低于模型 4.3 mm", "50 m"},
       5,
       3},
  };
  for (const auto& row : rows) {
    const PlotDrawing drawing = DrawSitePlot(row.plot, FitView(row.plot, kSize), kSize);
    EXPECT_EQ(Texts(drawing), row.texts) << row.state;
    EXPECT_EQ(SvgTexts(PlotSvg(drawing, kSize)), row.texts) << row.state;
    int discs = 0, polygons = -1;  // the white ground is a polygon
    for (const PlotPrimitive& item : drawing.items) {
      discs += std::holds_alternative<PlotCircle>(item);
      polygons += std::holds_alternative<PlotPolygon>(item);
    }
    EXPECT_EQ(discs, row.discs) << row.state;
    EXPECT_EQ(polygons, row.polygons) << row.state;
  }
  // The legend's box sized by the estimate: the widest row 参与平差, 48
  // units, and 30 for its mark; 8 from the right edge.
  const PlotDrawing drawing = DrawSitePlot(marked, FitView(marked, kSize), kSize);
  bool legend = false;
  for (const PlotPrimitive& item : drawing.items) {
    const auto* box = std::get_if<PlotPolygon>(&item);
    if (box && box->edge && box->corners.size() == 4 && box->corners[0].x == 400 - 48 - 38) {
      legend = box->corners[1].x == 400 - 8;
    }
  }
  EXPECT_TRUE(legend);
}

TEST(SitePlot, MadeFromASolveFitCheckThenExcluded) {
  const std::vector<CommonPoint> fitted = {{"F1", 0, {10, 20}, {}, {}, {}},
                                           {"F2", 0, {11, 21}, {}, {}, {}}},
                                 excluded = {{"X1", 0, {12, 22}, {}, {}, {}}},
                                 check = {{"C1", 0, {13, 23}, {}, {}, {}}};
  FitReport report;
  report.residuals = {{0.001, 0.002, 0}, {0.003, 0.004, 0}};
  report.excluded_residuals = {{0.005, 0.006, 0}};
  report.check_residuals = {{0.007, 0.008, 0}};
  report.params = RunParams{1, 2, 0.5, 1};
  report.largest = 1;
  const struct {
    const char* state;
    std::optional<std::size_t> most_standardized;
    std::size_t worst;  // the standardized residual's point where there is one, else the largest
  } rows[] = {{"standardized", 0, 0}, {"largest only", std::nullopt, 1}};
  for (const auto& row : rows) {
    report.most_standardized = row.most_standardized;
    const SitePlot plot = MakeSitePlot(report, fitted, excluded, check);
    ASSERT_EQ(plot.points.size(), 4u) << row.state;
    const struct {
      const char* name;
      PointRole role;
      double x, dy;
    } expected[] = {{"F1", PointRole::kFit, 10, 0.002},
                    {"F2", PointRole::kFit, 11, 0.004},
                    {"C1", PointRole::kCheck, 13, 0.008},
                    {"X1", PointRole::kOff, 12, 0.006}};
    for (std::size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(plot.points[i].name, expected[i].name) << row.state;
      EXPECT_EQ(plot.points[i].role, expected[i].role) << row.state;
      EXPECT_EQ(plot.points[i].x, expected[i].x) << row.state;
      EXPECT_EQ(plot.points[i].dy, expected[i].dy) << row.state;
    }
    EXPECT_EQ(plot.worst, row.worst) << row.state;
    ASSERT_TRUE(plot.params) << row.state;
    EXPECT_EQ(plot.params->theta, 0.5) << row.state;
  }
  // Not solved: the same points without residuals, grid or worst point.
  const SitePlot unsolved = MakeSitePlot(fitted, excluded, check);
  ASSERT_EQ(unsolved.points.size(), 4u);
  EXPECT_EQ(unsolved.points[3].name, "X1");
  EXPECT_FALSE(unsolved.points[0].dx);
  EXPECT_FALSE(unsolved.params);
  EXPECT_FALSE(unsolved.worst);
}

// The names of `drawing`, each with its estimated box: the texts drawn
// in the plot's text colour on a baseline (the legend's are centred).
std::vector<std::pair<PlotText, PlotBox>> Names(const PlotDrawing& drawing) {
  std::vector<std::pair<PlotText, PlotBox>> names;
  for (const PlotPrimitive& item : drawing.items) {
    const auto* text = std::get_if<PlotText>(&item);
    if (text && text->baseline == TextBaseline::kBaseline) {
      names.emplace_back(*text, EstimatedTextBox(*text));
    }
  }
  return names;
}

// A point at pixel (`px`, `py`) of a 400 x 300 plot seen at one metre a
// unit about the grid's origin.
PlotPoint At(std::string name, double px, double py) {
  return {std::move(name), PointRole::kFit, 150 - py, px - 200, std::nullopt, std::nullopt};
}
constexpr PlotView kMetreAUnit{0, 0, 1};

TEST(SitePlot, NamesNeverCoverEachOther) {
  SitePlot crowd;  // 50 points on one spot: four places, four names
  for (int i = 0; i < 50; ++i) crowd.points.push_back(At("K" + std::to_string(i), 200, 150));
  SitePlot crowd_selected = crowd;
  crowd_selected.selected = 49;
  crowd_selected.worst = 48;
  const struct {
    const char* state;
    SitePlot plot;
    // Each name drawn: its text, anchor point and anchor, worked from the
    // places beside a mark (8 units right or left of it; the baseline 5
    // above it, or 17 below it: 5 and a font size of 12).
    std::vector<std::tuple<std::string, PlotXY, TextAnchor>> expected;
  } rows[] = {
      {"apart: each at the usual place",
       {{At("A", 100, 100), At("B", 300, 200)}, {}, {}, {}},
       {{"A", {108, 95}, TextAnchor::kStart}, {"B", {308, 195}, TextAnchor::kStart}}},
      // B 10 units right of A: right above would cover A's name (A1 is
      // 14.4 wide from 108); right below is free.
      {"side by side: the second below",
       {{At("A1", 100, 100), At("B1", 110, 100)}, {}, {}, {}},
       {{"A1", {108, 95}, TextAnchor::kStart}, {"B1", {118, 117}, TextAnchor::kStart}}},
      // C 2 units right of B: both right places taken (a unit kept clear
      // around each name); left above, ending 8 left of C, is free.
      {"three in a row: the third left of its mark",
       {{At("A1", 100, 100), At("B1", 110, 100), At("C1", 112, 100)}, {}, {}, {}},
       {{"A1", {108, 95}, TextAnchor::kStart},
        {"B1", {118, 117}, TextAnchor::kStart},
        {"C1", {104, 95}, TextAnchor::kEnd}}},
      // Right of the mark the name would run off the plot: left of it.
      {"at the right edge: left of its mark",
       {{At("A1", 395, 150)}, {}, {}, {}},
       {{"A1", {387, 145}, TextAnchor::kEnd}}},
      // The legend's box spans 314 to 392 across, 8 to 71.2 down (rows of
      // 18.4): both places right of the mark meet it.
      {"below the legend: left of its mark",
       {{At("A1", 300, 40)}, {}, {}, {}},
       {{"A1", {292, 35}, TextAnchor::kEnd}}},
      {"fifty on one spot: four names, the first four",
       crowd,
       {{"K0", {208, 145}, TextAnchor::kStart},
        {"K1", {208, 167}, TextAnchor::kStart},
        {"K2", {192, 145}, TextAnchor::kEnd},
        {"K3", {192, 167}, TextAnchor::kEnd}}},
      {"fifty on one spot: the selected and the worst first",
       crowd_selected,
       {{"K0", {192, 145}, TextAnchor::kEnd},
        {"K1", {192, 167}, TextAnchor::kEnd},
        {"K48", {208, 167}, TextAnchor::kStart},
        {"K49", {208, 145}, TextAnchor::kStart}}},
  };
  for (const auto& row : rows) {
    const PlotDrawing drawing = DrawSitePlot(row.plot, kMetreAUnit, kSize);
    const auto names = Names(drawing);
    ASSERT_EQ(names.size(), row.expected.size()) << row.state;
    for (std::size_t i = 0; i < names.size(); ++i) {
      const auto& [text, at, anchor] = row.expected[i];
      EXPECT_EQ(names[i].first.text, text) << row.state;
      EXPECT_DOUBLE_EQ(names[i].first.at.x, at.x) << row.state << " " << text;
      EXPECT_DOUBLE_EQ(names[i].first.at.y, at.y) << row.state << " " << text;
      EXPECT_EQ(names[i].first.anchor, anchor) << row.state << " " << text;
    }
  }

  // 10,000 points at random on the plot and around it: no two names'
  // boxes meet; many names drawn, many left out.
  std::mt19937 random(7);
  std::uniform_real_distribution<double> across(-50, 450), down(-50, 350);
  SitePlot many;
  for (int i = 0; i < 10000; ++i)
    many.points.push_back(At("P" + std::to_string(i), across(random), down(random)));
  const auto names = Names(DrawSitePlot(many, kMetreAUnit, kSize));
  EXPECT_GT(names.size(), 100u);
  EXPECT_LT(names.size(), 10000u);
  for (std::size_t i = 0; i < names.size(); ++i) {
    for (std::size_t j = i + 1; j < names.size(); ++j) {
      ASSERT_FALSE(Overlap(names[i].second, names[j].second))
          << names[i].first.text << " and " << names[j].first.text;
    }
  }
}

// Pixels of `image` within `radius` of `centre` close to `colour`: each
// channel within 60, so that a line of 1.5 pixels on a pixel edge, three
// quarters over each of two pixels, counts.
int PixelsNear(const QImage& image, QPointF centre, double radius, QColor colour) {
  int found = 0;
  for (int y = int(centre.y() - radius); y <= int(centre.y() + radius); ++y) {
    for (int x = int(centre.x() - radius); x <= int(centre.x() + radius); ++x) {
      if (!image.rect().contains(x, y) || std::hypot(x - centre.x(), y - centre.y()) > radius) {
        continue;
      }
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) <= 60 && std::abs(c.green() - colour.green()) <= 60 &&
          std::abs(c.blue() - colour.blue()) <= 60) {
        ++found;
      }
    }
  }
  return found;
}

QImage Painted(const SitePlot& plot) {
  QImage image(kPixels, QImage::Format_ARGB32);
  image.fill(Qt::black);  // the plot paints its own white ground
  QPainter painter(&image);
  PaintSitePlot(painter, QSizeF(kPixels), plot, FitView(plot, kSize));
  return image;
}

TEST(SitePlot, PaintsMarksHighlightsAndTheConstructionGrid) {
  const QColor red(0xe0, 0, 0), amber(0xff, 0xd5, 0x4f), blue(0x1f, 0x3a, 0x93),
      grey(0x90, 0x90, 0x90), white(Qt::white), teal(0, 0x83, 0x8f), hint(0x80, 0x80, 0x80),
      purple(0xb0, 0x30, 0x9a);
  SitePlot highlighted = Cross();
  highlighted.points[1].role = PointRole::kCheck;
  highlighted.points[3].role = PointRole::kOff;
  highlighted.worst = 2;     // E
  highlighted.selected = 3;  // W
  // The construction grid's origin at the site's centre, its X axis 30° east of north.
  SitePlot origin_on = Cross();
  origin_on.params = RunParams{3000000, 500000, std::numbers::pi / 6, 1};
  // Its origin 10 km east, its axes turned 45° (so neither crosses the
  // plot): an arrow at the right edge, level with the centre.
  SitePlot origin_off = Cross();
  origin_off.params = RunParams{3000000, 510000, std::numbers::pi / 4, 1};
  // N's residual 5 mm east, the largest: 37.5 pixels to its right.
  SitePlot residuals = Cross();
  residuals.points[0].dx = 0;
  residuals.points[0].dy = 0.005;
  residuals.points[1].dx = 0.002;
  residuals.points[1].dy = 0;
  // By height: N 4 mm above the model, the largest; check S 2 mm below,
  // half of it: its fill 255 − (255 − c)·0.5 of the blue (0x20, 0x50, 0xd0).
  SitePlot by_height = Cross();
  by_height.points[1].role = PointRole::kCheck;
  by_height.by_height = true;
  by_height.points[0].dh = 0.004;
  by_height.points[1].dh = -0.002;
  const QColor above(0xd0, 0x20, 0x20), half_below(144, 168, 232);
  const struct {
    const char* state;
    const SitePlot& plot;
    QPointF centre;
    double radius;
    QColor colour;
    bool expected;
  } rows[] = {
      {"worst E: its red ring", highlighted, {312.5, 150}, 10, red, true},
      {"no ring at N", highlighted, {200, 37.5}, 10, red, false},
      {"selected W: its amber disc", highlighted, {87.5, 150}, 11, amber, true},
      {"no disc at E", highlighted, {312.5, 150}, 11, amber, false},
      {"fit N: filled blue", highlighted, {200, 37.5}, 2, blue, true},
      {"check S: hollow", highlighted, {200, 262.5}, 1, white, true},
      {"check S: not blue", highlighted, {200, 262.5}, 2, blue, false},
      {"off W: grey cross", highlighted, {87.5, 150}, 1.5, grey, true},
      {"origin on the plot: marked", origin_on, {200, 150}, 6, teal, true},
      // 施工X 30° east of north: its arrow at 30 pixels along (sin 30°, −cos 30°).
      {"origin on the plot: X axis", origin_on, {215, 124}, 2, teal, true},
      {"origin off: arrow at the right edge", origin_off, {382, 150}, 6, teal, true},
      {"origin off: none at the centre", origin_off, {200, 150}, 6, teal, false},
      {"residual of N: east", residuals, {225, 37.5}, 2, purple, true},
      {"residual of N: not west", residuals, {175, 37.5}, 2, purple, false},
      {"residual of S: 15 pixels north", residuals, {200, 255}, 2, purple, true},
      {"by height: N full red", by_height, {200, 37.5}, 2, above, true},
      {"by height: N not blue", by_height, {200, 37.5}, 2, blue, false},
      {"by height: check S half blue", by_height, {200, 262.5}, 1, half_below, true},
      {"by height: E without a height, blue", by_height, {312.5, 150}, 2, blue, true},
      {"no points: the hint in the middle", SitePlot{}, {200, 150}, 30, hint, true},
      {"no points: white ground", SitePlot{}, {20, 20}, 5, white, true},
  };
  for (const auto& row : rows) {
    const int found = PixelsNear(Painted(row.plot), row.centre, row.radius, row.colour);
    EXPECT_EQ(found > 0, row.expected) << row.state << ": " << found << " pixels";
  }
}

// Sends a mouse event of `type` at `at` to `view`.
void Mouse(SitePlotView& view, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
  QMouseEvent event(type, at, view.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(&view, &event);
}

enum class Gesture { kWheel, kDrag, kClick, kDoubleClick };

// Does `gesture` on `view` at `from` (a drag ends at `to`; a wheel turns
// `eighths` of a degree, 120 a notch).
void Do(SitePlotView& view, Gesture gesture, QPointF from, QPointF to, int eighths) {
  switch (gesture) {
    case Gesture::kWheel: {
      QWheelEvent event(from, view.mapToGlobal(from), QPoint(), QPoint(0, eighths), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(&view, &event);
      break;
    }
    case Gesture::kDrag:
      Mouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton);
      Mouse(view, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
      Mouse(view, QEvent::MouseMove, to, Qt::LeftButton);
      Mouse(view, QEvent::MouseButtonRelease, to, Qt::NoButton);
      break;
    case Gesture::kClick:
      Mouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton);
      Mouse(view, QEvent::MouseButtonRelease, from, Qt::NoButton);
      break;
    case Gesture::kDoubleClick:
      Mouse(view, QEvent::MouseButtonDblClick, from, Qt::LeftButton);
      break;
  }
}

TEST(SitePlotView, ZoomsPansAndPicksWithTheMouse) {
  SitePlotView view;
  view.resize(kPixels);
  view.SetPlot(Cross());  // the first points: fitted
  const PlotView fitted = FitView(Cross(), kSize);
  ASSERT_DOUBLE_EQ(view.View().metres_per_pixel, fitted.metres_per_pixel);
  QSignalSpy clicked(&view, &SitePlotView::PointClicked);

  // Each row starts from the view the one before left. The grid point under
  // `from` comes to lie under `to` (a wheel: stays under the cursor), except
  // where the view is fitted again.
  const struct {
    Gesture gesture;
    QPointF from, to;
    int eighths;
    double zoom;               // the fitted scale over the scale after it
    bool fits;                 // the view is the fitted one after it
    std::vector<int> clicked;  // PointClicked's indexes
  } rows[] = {
      {Gesture::kWheel, {300, 80}, {300, 80}, 120, 1.25, false, {}},       // a notch in
      {Gesture::kWheel, {50, 250}, {50, 250}, -240, 0.8, false, {}},       // two out
      {Gesture::kDrag, {100, 100}, {150, 130}, 0, 0.8, false, {}},         // moved
      {Gesture::kDoubleClick, {10, 10}, {10, 10}, 0, 1, true, {}},         // empty ground
      {Gesture::kClick, {314, 151}, {314, 151}, 0, 1, true, {2}},          // on E
      {Gesture::kClick, {319.5, 150}, {319.5, 150}, 0, 1, true, {}},       // 7 pixels from E
      {Gesture::kDrag, {200, 37.5}, {200, 57.5}, 0, 1, false, {}},         // from N: no pick
      {Gesture::kDoubleClick, {200, 57.5}, {200, 57.5}, 0, 1, false, {}},  // on N: no fit
  };
  for (const auto& row : rows) {
    const PlotView before = view.View();
    clicked.clear();
    Do(view, row.gesture, row.from, row.to, row.eighths);
    const PlotView after = view.View();
    const std::string what = std::to_string(&row - rows) + ": " + std::to_string(row.from.x()) +
                             "," + std::to_string(row.from.y());
    EXPECT_NEAR(fitted.metres_per_pixel / after.metres_per_pixel, row.zoom, 1e-9) << what;
    if (row.fits) {
      EXPECT_NEAR(after.centre_x, fitted.centre_x, 1e-6) << what;
      EXPECT_NEAR(after.centre_y, fitted.centre_y, 1e-6) << what;
    } else {
      const GridPoint was = FromPixel(before, kSize, ToPlot(row.from));
      const GridPoint now = FromPixel(after, kSize, ToPlot(row.to));
      EXPECT_NEAR(now.x, was.x, 1e-6) << what;
      EXPECT_NEAR(now.y, was.y, 1e-6) << what;
    }
    std::vector<int> got;
    for (const auto& signal : clicked) got.push_back(int(signal.at(0).value<std::size_t>()));
    EXPECT_EQ(got, row.clicked) << what;
  }
}

TEST(SitePlotView, NewPointsKeepTheViewUnlessAskedToFit) {
  SitePlotView view;
  view.resize(kPixels);
  view.SetPlot(Cross());
  const PlotView zoomed{3000000, 500000, 0.01};
  view.SetView(zoomed);
  SitePlot moved = Cross();
  moved.points[0].x += 50;
  view.SetPlot(moved);
  EXPECT_EQ(view.View().metres_per_pixel, 0.01);
  view.SetPlot(moved, PlotFit::kFitToWindow);
  EXPECT_EQ(view.View().metres_per_pixel, FitView(moved, kSize).metres_per_pixel);
  // From no points to some: fitted, as nothing was shown.
  view.SetPlot(SitePlot{});
  view.SetView(zoomed);
  view.SetPlot(Cross());
  EXPECT_EQ(view.View().metres_per_pixel, FitView(Cross(), kSize).metres_per_pixel);
  // The 适合窗口 action fits too.
  view.SetView(zoomed);
  view.FitAction()->trigger();
  EXPECT_EQ(view.View().metres_per_pixel, FitView(Cross(), kSize).metres_per_pixel);
  // The selection reaches the plot that is painted.
  view.SetSelected(1);
  EXPECT_EQ(view.Plot().selected, std::optional<std::size_t>(1));
}

}  // namespace
}  // namespace torvane

namespace torvane {
namespace {

// State: the command line's worked heights (solve_points.yaml), F a check
// point, G a fit point without heights, H off, the plane's residuals drawn.
// Action: shown by height under 自动. Expected: each point's height
// residual (the plane's: A −0.8 mm, E 3.2 mm; F's misclosure 1.2 mm),
// none for G and H, no plane residuals left, and E, the largest
// standardized residual (1.41 against −0.58), the worst.
TEST(SitePlot, ShownByHeightResiduals) {
  const std::vector<ProjectPoint> table = {
      {"A", PointRole::kFit, "1000", "2000", "0", "0", "10.000", "8.505"},
      {"B", PointRole::kFit, "1100", "2000", "100", "0", "10.000", "8.485"},
      {"H", PointRole::kOff, "1000", "2000", "0", "0", "10.000", "8.5"},
      {"C", PointRole::kFit, "1000", "2100", "0", "100", "10.000", "8.515"},
      {"D", PointRole::kFit, "1100", "2100", "100", "100", "10.000", "8.495"},
      {"F", PointRole::kCheck, "1050", "2150", "50", "150", "10.000", "8.508"},
      {"E", PointRole::kFit, "1050", "2050", "50", "50", "10.000", "8.496"},
      {"G", PointRole::kFit, "1000", "2050", "0", "50", "", ""}};
  const SitePoints points = ReadSitePoints(table);
  const SiteHeights heights = SolveHeights(points, HeightChoice::kAuto);
  SitePlot plot = MakeSitePlot(points.fit, points.off, points.check);
  std::vector<std::size_t> rows = points.fit_rows;
  rows.insert(rows.end(), points.check_rows.begin(), points.check_rows.end());
  rows.insert(rows.end(), points.off_rows.begin(), points.off_rows.end());
  for (PlotPoint& p : plot.points) p.dx = p.dy = 0.001;
  ShowHeightResiduals(plot, rows, heights);
  const struct {
    const char* name;
    std::optional<double> dh;  // metres
  } expected[] = {{"A", -0.0008}, {"B", -0.0008},      {"C", -0.0008}, {"D", -0.0008},
                  {"E", 0.0032},  {"G", std::nullopt}, {"F", 0.0012},  {"H", std::nullopt}};
  ASSERT_EQ(plot.points.size(), std::size(expected));
  for (std::size_t i = 0; i < plot.points.size(); ++i) {
    const PlotPoint& p = plot.points[i];
    EXPECT_EQ(p.name, expected[i].name);
    EXPECT_EQ(p.dh.has_value(), expected[i].dh.has_value()) << p.name;
    if (p.dh && expected[i].dh) {
      EXPECT_NEAR(*p.dh, *expected[i].dh, 1e-9) << p.name;
    }
    EXPECT_FALSE(p.dx || p.dy) << p.name;
  }
  EXPECT_TRUE(plot.by_height);
  ASSERT_TRUE(plot.worst.has_value());
  EXPECT_EQ(plot.points[*plot.worst].name, "E");
}

}  // namespace
}  // namespace torvane
