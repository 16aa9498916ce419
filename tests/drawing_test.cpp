#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "batch/point_file.h"
#include "drawing/drawing_run.h"
#include "drawing/dxf_groups.h"
#include "drawing/exact_dot.h"
#include "temp_dir.h"

namespace torvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;

// ---- sums of products in sloping planes ----

// Expected: the exact sum (Python's fractions) rounded to a double; the
// plain sum, and a chain of fma that is not fused (MinGW-w64's), miss it.
TEST(Dot3, Table) {
  const struct {
    const char* what;
    double a, b, c, d, e, f, sum;
  } rows[] = {
      {"(1e8 + 1)(1e8 - 1) - 1e16: 1e16 - 1 is not a double", 1e8 + 1, 1e8 - 1, -1e16, 1, 0, 0, -1},
      {"the small term between two that cancel", 1e16, 1, 1, 1, -1e16, 1, 1},
      {"a point near 4e6 m read on a plane's axis", 3352096.3678, -0.7876338239599568, 4285405.2171,
       0.6161436190972164, 2.5, 0.3, 201.34930949020438},
      {"beyond the split: the plain sum", 1e305, 1e-5, 0, 0, 0, 0, 1e300},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Dot3(row.a, row.b, row.c, row.d, row.e, row.f), row.sum) << row.what;
  }
}

// ---- the group reader ----

struct ReadGroup {
  int code;
  std::string value, end;
  std::uint64_t line;
};

// Every group of `bytes`, then the status that ended the reading.
std::vector<ReadGroup> ReadAll(const std::string& bytes, DxfGroupReader::Status* last,
                               std::uint64_t* bad_line) {
  std::FILE* file = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  DxfGroupReader reader(file);
  std::vector<ReadGroup> groups;
  DxfGroup g;
  while ((*last = reader.Next(&g)) == DxfGroupReader::Status::kGroup) {
    groups.push_back({g.code, std::string(g.value), std::string(g.value_end), g.line});
  }
  *bad_line = reader.bad_line();
  std::fclose(file);
  return groups;
}

TEST(DxfGroupReader, Table) {
  using S = DxfGroupReader::Status;
  const struct {
    std::string bytes;
    std::vector<ReadGroup> groups;
    S last;
    std::uint64_t bad_line;
  } rows[] = {
      // LF, CR LF, code lines padded as R12 writes them; the last line without its end.
      {"  0\nLINE\n 10\r\n1.5 \r\n", {{0, "LINE", "\n", 1}, {10, "1.5 ", "\r\n", 3}}, S::kEnd, 0},
      {"0\nEOF", {{0, "EOF", "", 1}}, S::kEnd, 0},
      // A UTF-8 byte order mark before the first code.
      {"\xEF\xBB\xBF  0\nEOF\n", {{0, "EOF", "\n", 1}}, S::kEnd, 0},
      {"", {}, S::kEnd, 0},
      // An odd number of lines: a code with no value.
      {"0\nLINE\n10\n", {{0, "LINE", "\n", 1}}, S::kOddLine, 4},
      {"0\nLINE\n10", {{0, "LINE", "\n", 1}}, S::kOddLine, 4},
      // A code that is not a number, on its line.
      {"0\nLINE\n1x\n5\n", {{0, "LINE", "\n", 1}}, S::kBadCode, 3},
      {"\n5\n", {}, S::kBadCode, 1},
      // A line longer than kMaxLineBytes, ended or not: refused as soon as it is.
      {"0\nTEXT\n1\n" + std::string(kMaxLineBytes + 1, 'a') + "\r\n0\nEOF\n",
       {{0, "TEXT", "\n", 1}},
       S::kLongLine,
       4},
      {"0\nTEXT\n" + std::string(kMaxLineBytes + 2, '1'), {{0, "TEXT", "\n", 1}}, S::kLongLine, 3},
  };
  for (const auto& row : rows) {
    S last;
    std::uint64_t bad_line = 0;
    const auto groups = ReadAll(row.bytes, &last, &bad_line);
    ASSERT_EQ(groups.size(), row.groups.size()) << row.bytes;
    for (std::size_t i = 0; i < groups.size(); ++i) {
      EXPECT_EQ(groups[i].code, row.groups[i].code) << row.bytes;
      EXPECT_EQ(groups[i].value, row.groups[i].value) << row.bytes;
      EXPECT_EQ(groups[i].end, row.groups[i].end) << row.bytes;
      EXPECT_EQ(groups[i].line, row.groups[i].line) << row.bytes;
    }
    EXPECT_EQ(last, row.last) << row.bytes;
    EXPECT_EQ(bad_line, row.bad_line) << row.bytes;
  }
}

// The longest line, longer than the reader's block with its line end, and
// groups across its blocks.
TEST(DxfGroupReader, LongLinesAndManyBlocks) {
  std::string bytes = "1\n" + std::string(kMaxLineBytes, 'a') + "\r\n";
  for (int i = 0; i < 200000; ++i) bytes += "10\n" + std::to_string(i) + "\r\n";
  DxfGroupReader::Status last;
  std::uint64_t bad_line;
  const auto groups = ReadAll(bytes, &last, &bad_line);
  ASSERT_EQ(groups.size(), 200001u);
  EXPECT_EQ(groups[0].value.size(), kMaxLineBytes);
  EXPECT_EQ(groups[200000].value, "199999");
  EXPECT_EQ(groups[200000].line, 400001u);
  EXPECT_EQ(last, DxfGroupReader::Status::kEnd);
}

// ---- drawings ----

// A drawing of lines "code\nvalue\n" given as "code value" pairs.
std::string Dxf(const std::vector<std::string>& pairs, const char* end = "\n") {
  std::string text;
  for (const std::string& pair : pairs) {
    const std::size_t space = pair.find(' ');
    text += pair.substr(0, space) + end + pair.substr(space + 1) + end;
  }
  return text;
}

std::vector<std::string> InEntities(std::vector<std::string> entity) {
  std::vector<std::string> all = {"0 SECTION", "2 ENTITIES"};
  all.insert(all.end(), entity.begin(), entity.end());
  all.insert(all.end(), {"0 ENDSEC", "0 EOF"});
  return all;
}

// Shift (X0 100, Y0 200), no rotation, scale 2: survey to construction
// takes DXF x (east, Y) to (x - 200) / 2 and y (north, X) to (y - 100) / 2,
// every length to half of it: worked out by hand.
const RunParams kHalving{100, 200, 0, 2};
const RunParams kIdentity{0, 0, 0, 1};
const RunParams kTurning{500, 600, 0.5280590614494144};  // 30.1520 in ddd.mmss
// Past half a turn, where the sign of the turn alone once mistook its size.
const RunParams kTurningFar{500, 600, 5.2359877559829887};  // 300°

class Drawing : public ::testing::Test {
 protected:
  Expected<DrawingSummary, RunError> Run(const std::string& bytes, RunParams params = kHalving) {
    request_.drawing_path = dir_.Write("site.dxf", bytes);
    request_.result_path = DrawingResultPathFor(request_.drawing_path);
    return ConvertDrawing(request_, params);
  }
  std::string Result() const { return ReadBytes(request_.result_path); }

  TempDir dir_;
  DrawingRequest request_;
};

TEST_F(Drawing, EntityTable) {
  const struct {
    const char* what;
    std::vector<std::string> in, out;
  } rows[] = {
      {"LINE: points moved, heights kept",
       {"0 LINE", "5 1F", "10 300", "20 150", "30 7.5", "11 400.0", "21 300", "31 0"},
       {"0 LINE", "5 1F", "10 50", "20 25", "30 7.5", "11 100", "21 100", "31 0"}},
      {"CIRCLE: centre and radius",
       {"0 CIRCLE", "10 300", "20 150", "40 5"},
       {"0 CIRCLE", "10 50", "20 25", "40 2.5"}},
      {"CIRCLE mirrored (extrusion 0,0,-1): its x is -x of the world",
       {"0 CIRCLE", "10 -300", "20 150", "40 5", "210 0", "220 0", "230 -1"},
       {"0 CIRCLE", "10 -50", "20 25", "40 2.5", "210 0", "220 0", "230 -1"}},
      {"extrusions a rounding error off (0,0,1) and (0,0,-1): the drawing's plane, kept as written",
       {"0 CIRCLE", "10 300", "20 150", "40 5", "210 1.2e-17", "220 -3.4e-18", "230 1.0",
        "0 CIRCLE", "10 -300", "20 150", "40 5", "210 -1.9e-17", "220 0",
        "230 -0.9999999999999999"},
       {"0 CIRCLE", "10 50", "20 25", "40 2.5", "210 1.2e-17", "220 -3.4e-18", "230 1.0",
        "0 CIRCLE", "10 -50", "20 25", "40 2.5", "210 -1.9e-17", "220 0",
        "230 -0.9999999999999999"}},
      {"LWPOLYLINE: vertices, widths scaled, bulges kept",
       {"0 LWPOLYLINE", "90 2", "43 1", "10 300", "20 150", "42 0.5", "10 400", "20 300", "40 3"},
       {"0 LWPOLYLINE", "90 2", "43 0.5", "10 50", "20 25", "42 0.5", "10 100", "20 100",
        "40 1.5"}},
      {"POLYLINE: its own point is none; its vertices move",
       {"0 POLYLINE", "66 1", "10 0", "20 0", "30 0", "0 VERTEX", "10 300", "20 150", "0 SEQEND"},
       {"0 POLYLINE", "66 1", "10 0", "20 0", "30 0", "0 VERTEX", "10 50", "20 25", "0 SEQEND"}},
      {"polyface face record: its point is none",
       {"0 POLYLINE", "66 1", "70 64", "0 VERTEX", "10 300", "20 150", "70 192", "0 VERTEX", "10 0",
        "20 0", "70 128", "71 1", "0 SEQEND"},
       {"0 POLYLINE", "66 1", "70 64", "0 VERTEX", "10 50", "20 25", "70 192", "0 VERTEX", "10 0",
        "20 0", "70 128", "71 1", "0 SEQEND"}},
      {"XLINE: a direction is never moved nor scaled",
       {"0 XLINE", "10 300", "20 150", "11 1", "21 0"},
       {"0 XLINE", "10 50", "20 25", "11 1", "21 0"}},
      {"ELLIPSE: the major axis is a vector of a length",
       {"0 ELLIPSE", "10 300", "20 150", "11 10", "21 4", "40 0.5"},
       {"0 ELLIPSE", "10 50", "20 25", "11 5", "21 2", "40 0.5"}},
      {"TEXT in GBK (测量): its bytes kept as they are",
       {"0 TEXT", "10 300", "20 150", "1 \xB2\xE2\xC1\xBF"},
       {"0 TEXT", "10 50", "20 25", "1 \xB2\xE2\xC1\xBF"}},
      {"TEXT: both points, height",
       {"0 TEXT", "10 300", "20 150", "40 2.5", "1 测量", "50 30", "11 400", "21 300"},
       {"0 TEXT", "10 50", "20 25", "40 1.25", "1 测量", "50 30", "11 100", "21 100"}},
      {"MTEXT with its embedded columns: their direction, point, widths and heights as its own",
       {"0 MTEXT",   "10 300", "20 150",
        "40 2",      "41 20",  "1 测量",
        "11 1",      "21 0",   "101 Embedded Object",
        "70 1",      "10 1",   "20 0",
        "30 0",      "11 300", "21 150",
        "31 0",      "40 20",  "41 0",
        "42 20",     "43 4",   "71 2",
        "72 1",      "44 20",  "45 1",
        "73 0",      "74 0",   "46 4",
        "1001 ACAD", "1040 3"},
       {"0 MTEXT",   "10 50", "20 25",
        "40 1",      "41 10", "1 测量",
        "11 1",      "21 0",  "101 Embedded Object",
        "70 1",      "10 1",  "20 0",
        "30 0",      "11 50", "21 25",
        "31 0",      "40 10", "41 0",
        "42 10",     "43 2",  "71 2",
        "72 1",      "44 10", "45 0.5",
        "73 0",      "74 0",  "46 2",
        "1001 ACAD", "1040 3"}},
      {"INSERT without scale factors: the scale written out (z kept)",
       {"0 INSERT", "2 B1", "10 300", "20 150", "30 0", "8 0"},
       {"0 INSERT", "2 B1", "10 50", "20 25", "30 0", "41 0.5", "42 0.5", "8 0"}},
      {"INSERT: point, scale factors (z kept), with its ATTRIB",
       {"0 INSERT", "66 1", "2 B1", "10 300", "20 150", "41 -1", "42 1", "43 1", "0 ATTRIB",
        "10 400", "20 300", "40 2", "0 SEQEND"},
       {"0 INSERT", "66 1", "2 B1", "10 50", "20 25", "41 -0.5", "42 0.5", "43 1", "0 ATTRIB",
        "10 100", "20 100", "40 1", "0 SEQEND"}},
      {"SOLID and 3DFACE: every corner",
       {"0 SOLID", "10 300",   "20 150", "11 400", "21 150", "12 300", "22 300", "13 400",
        "23 300",  "0 3DFACE", "10 300", "20 150", "30 1",   "11 400", "21 150", "31 1",
        "12 300",  "22 300",   "32 1",   "13 300", "23 300", "33 1"},
       {"0 SOLID", "10 50",    "20 25", "11 100", "21 25",  "12 50",  "22 100", "13 100",
        "23 100",  "0 3DFACE", "10 50", "20 25",  "30 1",   "11 100", "21 25",  "31 1",
        "12 50",   "22 100",   "32 1",  "13 50",  "23 100", "33 1"}},
      {"DIMENSION: definition points",
       {"0 DIMENSION", "2 *D1", "10 300", "20 150", "11 400", "21 300", "70 32", "13 300", "23 150",
        "14 400", "24 150", "42 100"},
       {"0 DIMENSION", "2 *D1", "10 50", "20 25", "11 100", "21 100", "70 32", "13 50", "23 25",
        "14 100", "24 25", "42 50"}},
      {"LEADER: vertices, its offsets scaled, its direction kept",
       {"0 LEADER", "10 300", "20 150", "10 400", "20 300", "211 1", "221 0", "213 4", "223 2"},
       {"0 LEADER", "10 50", "20 25", "10 100", "20 100", "211 1", "221 0", "213 2", "223 1"}},
      {"HATCH: boundary, pattern base and offset, spacing, seed; its elevation point kept",
       {"0 HATCH", "10 0",   "20 0",   "30 0",   "2 ANSI31", "70 0",   "71 0",   "91 2",   "92 7",
        "72 0",    "73 1",   "93 2",   "10 300", "20 150",   "10 400", "20 300", "97 0",   "92 1",
        "93 2",    "72 2",   "10 300", "20 150", "40 6",     "50 0",   "51 90",  "73 1",   "72 3",
        "10 300",  "20 150", "11 8",   "21 0",   "40 0.5",   "50 0",   "51 180", "73 1",   "97 0",
        "75 0",    "76 1",   "52 0",   "41 1",   "77 0",     "78 1",   "53 45",  "43 200", "44 100",
        "45 -1",   "46 1",   "79 0",   "98 1",   "10 300",   "20 150"},
       {"0 HATCH", "10 0",   "20 0",  "30 0",   "2 ANSI31", "70 0",   "71 0",   "91 2", "92 7",
        "72 0",    "73 1",   "93 2",  "10 50",  "20 25",    "10 100", "20 100", "97 0", "92 1",
        "93 2",    "72 2",   "10 50", "20 25",  "40 3",     "50 0",   "51 90",  "73 1", "72 3",
        "10 50",   "20 25",  "11 4",  "21 0",   "40 0.5",   "50 0",   "51 180", "73 1", "97 0",
        "75 0",    "76 1",   "52 0",  "41 0.5", "77 0",     "78 1",   "53 45",  "43 0", "44 0",
        "45 -0.5", "46 0.5", "79 0",  "98 1",   "10 50",    "20 25"}},
      {"XDATA: a world position moves, a displacement and a distance scale, a direction "
       "and a scale factor stay",
       {"0 POINT", "10 300", "20 150", "1001 APP", "1010 300", "1020 150", "1011 300", "1021 150",
        "1012 2", "1022 4", "1013 1", "1023 0", "1041 4", "1042 3"},
       {"0 POINT", "10 50", "20 25", "1001 APP", "1010 300", "1020 150", "1011 50", "1021 25",
        "1012 1", "1022 2", "1013 1", "1023 0", "1041 2", "1042 3"}},
      // Rows ezdxf cannot write (tests/dxf_test.py checks the others). The
      // same codes mean other things in each part of a MULTILEADER: the
      // context's base point (10) and its own block scale (10, 20; z kept);
      // the text's normal (11, kept), a leader's dogleg direction (11,
      // kept) and a leader line's break point (11); the context's scale and
      // a leader's dogleg length (40); a text that reads "LEADER_LINE{".
      {"MULTILEADER: each part's groups by their part",
       {"0 MULTILEADER", "300 CONTEXT_DATA{",
        "40 1",          "10 300",
        "20 150",        "304 LEADER_LINE{",
        "11 0",          "21 0",
        "31 1",          "302 LEADER{",
        "11 0",          "21 1",
        "40 8",          "304 LEADER_LINE{",
        "11 300",        "21 150",
        "305 }",         "303 }",
        "301 }",         "10 2",
        "20 2",          "30 2"},
       {"0 MULTILEADER", "300 CONTEXT_DATA{",
        "40 0.5",        "10 50",
        "20 25",         "304 LEADER_LINE{",
        "11 0",          "21 0",
        "31 1",          "302 LEADER{",
        "11 0",          "21 1",
        "40 4",          "304 LEADER_LINE{",
        "11 50",         "21 25",
        "305 }",         "303 }",
        "301 }",         "10 1",
        "20 1",          "30 2"}},
      {"ACAD_TABLE: its first point and direction; its cells' groups kept",
       {"0 ACAD_TABLE", "2 *T1", "10 300", "20 150", "11 1", "21 0", "141 8", "10 300", "20 150"},
       {"0 ACAD_TABLE", "2 *T1", "10 50", "20 25", "11 1", "21 0", "141 8", "10 300", "20 150"}},
      {"SHAPE mirrored: its point in world coordinates all the same",
       {"0 SHAPE", "10 300", "20 150", "40 4", "210 0", "220 0", "230 -1"},
       {"0 SHAPE", "10 50", "20 25", "40 2", "210 0", "220 0", "230 -1"}},
      {"ARC_DIMENSION of type 5 (as R2013 writes it): its measured arc a length all the same",
       {"0 ARC_DIMENSION", "70 5", "42 10", "13 300", "23 150", "40 0.5"},
       {"0 ARC_DIMENSION", "70 5", "42 5", "13 50", "23 25", "40 0.5"}},
      {"paper space is kept, whatever it holds",
       {"0 LINE", "67 1", "10 300", "20 150", "0 MLINE", "67 1", "10 300", "20 150"},
       {"0 LINE", "67 1", "10 300", "20 150", "0 MLINE", "67 1", "10 300", "20 150"}},
      {"a value whose double stays keeps its text",
       {"0 LINE", "10 300", "20  150.0000 ", "11 -200.0", "21 -1e2"},
       {"0 LINE", "10 50", "20 25", "11 -200.0", "21 -1e2"}},
  };
  for (const auto& row : rows) {
    auto run = Run(Dxf(InEntities(row.in)));
    ASSERT_TRUE(run.ok()) << row.what << ": " << Describe(run.error());
    EXPECT_EQ(Result(), Dxf(InEntities(row.out))) << row.what;
  }
}

// Entities in a sloping plane, moved by (X0 100, Y0 200) alone: worked
// out by hand. The normal (0, 0.6, 0.8) has the axes x (-1, 0, 0) and
// y (0, -0.8, 0.6) by the arbitrary-axis algorithm; (0, 0.6, -0.8) has
// x (-1, 0, 0) and y (0, 0.8, 0.6). The world moves by (-200, -100, 0),
// with H0 10 by (-200, -100, -10): the plane's own coordinates by those
// dotted with its axes, (200, 80, -60), (200, -80, -60) and (200, 74, -68).
TEST_F(Drawing, SlopingPlanes) {
  const std::vector<std::string> up = {"210 0", "220 0.6", "230 0.8"};
  const std::vector<std::string> down = {"210 0", "220 0.6", "230 -0.8"};
  const auto with = [](std::vector<std::string> groups, const std::vector<std::string>& more) {
    groups.insert(groups.end(), more.begin(), more.end());
    return groups;
  };
  const struct {
    const char* what;
    std::optional<std::string> offset;
    std::vector<std::string> in, out;
  } rows[] = {
      {"CIRCLE: its centre and height in the plane move, its radius and normal stay", std::nullopt,
       with({"0 CIRCLE", "10 10", "20 20", "30 5", "40 3"}, up),
       with({"0 CIRCLE", "10 210", "20 100", "30 -55", "40 3"}, up)},
      {"LWPOLYLINE: one elevation for every vertex, bulges and widths kept", std::nullopt,
       with({"0 LWPOLYLINE", "90 2", "38 5", "10 10", "20 20", "42 0.5", "10 0", "20 0", "40 2"},
            up),
       with({"0 LWPOLYLINE", "90 2", "38 -55", "10 210", "20 100", "42 0.5", "10 200", "20 80",
             "40 2"},
            up)},
      {"LWPOLYLINE without an elevation: it gets the plane's", std::nullopt,
       with({"0 LWPOLYLINE", "90 1", "70 0", "10 0", "20 0"}, up),
       with({"0 LWPOLYLINE", "90 1", "70 0", "38 -60", "10 200", "20 80"}, up)},
      {"TEXT in a plane facing down: both points at one height, its rotation kept", std::nullopt,
       with({"0 TEXT", "10 10", "20 20", "30 5", "40 2", "50 30", "11 0", "21 0", "31 5"}, down),
       with({"0 TEXT", "10 210", "20 -60", "30 -55", "40 2", "50 30", "11 200", "21 -80", "31 -55"},
            down)},
      {"2D POLYLINE: its elevation and its VERTEXes in its plane", std::nullopt,
       with({"0 POLYLINE", "66 1", "10 0", "20 0", "30 5"},
            with(up, {"0 VERTEX", "10 10", "20 20", "30 5", "0 SEQEND"})),
       with({"0 POLYLINE", "66 1", "10 0", "20 0", "30 -55"},
            with(up, {"0 VERTEX", "10 210", "20 100", "30 -55", "0 SEQEND"}))},
      {"a height offset: the world's z moves by -10, the plane's height by -68", "+10",
       with({"0 CIRCLE", "10 10", "20 20", "30 5", "40 3"}, up),
       with({"0 CIRCLE", "10 210", "20 94", "30 -63", "40 3"}, up)},
      {"LINE: world points, moved as any; the normal kept by a motion that does not turn",
       std::nullopt, with({"0 LINE", "10 300", "20 150", "30 7", "11 0", "21 0", "31 0"}, up),
       with({"0 LINE", "10 100", "20 50", "30 7", "11 -200", "21 -100", "31 0"}, up)},
  };
  for (const auto& row : rows) {
    request_.heights = DrawingHeights::kMoved;
    request_.height_offset = row.offset;
    auto run = Run(Dxf(InEntities(row.in)), RunParams{100, 200, 0, 1});
    ASSERT_TRUE(run.ok()) << row.what << ": " << Describe(run.error());
    EXPECT_EQ(Result(), Dxf(InEntities(row.out))) << row.what;
  }
}

// A plane's x axis is level (the world's z crossed with its normal) unless
// its normal is within 1/64 of the vertical: a turn about the vertical
// takes it onto the turned plane's, and an angle in the plane stays as it
// is, to the bit; in a plane near the vertical (x from the world's y) it
// turns, and a block at 0° gets its rotation written out.
TEST_F(Drawing, AnglesInSlopingPlanes) {
  const struct {
    const char* what;
    std::vector<std::string> in;
    bool turned;
  } rows[] = {
      {"a text's rotation", {"0 TEXT", "10 1", "20 2", "30 3", "40 2", "50 35"}, false},
      {"a block at 0°", {"0 INSERT", "2 B", "10 1", "20 2", "30 3"}, false},
      {"an arc's angles", {"0 ARC", "10 1", "20 2", "30 3", "40 2", "50 10", "51 200"}, false},
  };
  for (const auto& row : rows) {
    for (const char* x : {"0.3", "0.01"}) {
      std::vector<std::string> in = row.in;
      in.insert(in.end(), {std::string("210 ") + x, "220 0", "230 1"});
      auto run = Run(Dxf(InEntities(in)), kTurning);
      ASSERT_TRUE(run.ok()) << row.what << ": " << Describe(run.error());
      const bool level = std::string(x) == "0.3";
      // Every angle kept, or none.
      std::size_t kept = 0, angles = 0;
      const std::string out = Result();
      for (const std::string& pair : in) {
        if (pair.starts_with("50 ") || pair.starts_with("51 ")) {
          ++angles;
          kept += out.find("\n" + pair.substr(0, 2) + "\n" + pair.substr(3) + "\n") !=
                  std::string::npos;
        }
      }
      if (angles == 0) {
        EXPECT_EQ(out.find("\n50\n") == std::string::npos, level) << row.what << " " << x;
      } else {
        EXPECT_EQ(kept, level ? angles : 0) << row.what << " " << x << "\n" << out;
      }
    }
  }
}

TEST_F(Drawing, HeaderViewAndBlocks) {
  const std::vector<std::string> in = {"999 made by hand",
                                       "0 SECTION",
                                       "2 HEADER",
                                       "9 $EXTMIN",
                                       "10 300",
                                       "20 150",
                                       "30 -2",
                                       "9 $EXTMAX",
                                       "10 400",
                                       "20 300",
                                       "30 9",
                                       "9 $LIMMAX",
                                       "10 400",
                                       "20 300",
                                       "0 ENDSEC",
                                       "0 SECTION",
                                       "2 TABLES",
                                       "0 TABLE",
                                       "2 VPORT",
                                       "0 VPORT",
                                       "2 *ACTIVE",
                                       "12 300",
                                       "22 150",
                                       "40 100",
                                       "41 1.5",
                                       "0 VPORT",
                                       "2 OTHER",
                                       "12 300",
                                       "22 150",
                                       "0 ENDTAB",
                                       "0 ENDSEC",
                                       "0 SECTION",
                                       "2 BLOCKS",
                                       "0 BLOCK",
                                       "2 B1",
                                       "10 0",
                                       "20 0",
                                       "0 LINE",
                                       "10 300",
                                       "20 150",
                                       "0 ENDBLK",
                                       "0 BLOCK",
                                       "2 *D1",
                                       "10 0",
                                       "20 0",
                                       "0 LINE",
                                       "10 300",
                                       "20 150",
                                       "0 ENDBLK",
                                       "0 BLOCK",
                                       "2 *D2",
                                       "0 LINE",
                                       "10 300",
                                       "20 150",
                                       "0 ENDBLK",
                                       "0 BLOCK",
                                       "2 *D3",
                                       "0 LINE",
                                       "10 300",
                                       "20 150",
                                       "0 ENDBLK",
                                       "0 ENDSEC",
                                       "0 SECTION",
                                       "2 ENTITIES",
                                       "0 DIMENSION",
                                       "2 *D1",
                                       "0 DIMENSION",
                                       "2 *D2",
                                       "67 1",
                                       "0 ENDSEC",
                                       "0 EOF"};
  std::vector<std::string> out = in;
  // The extents' box and the active view's centre and height.
  out[4] = "10 50";
  out[5] = "20 25";
  out[8] = "10 100";
  out[9] = "20 100";
  out[21] = "12 50";
  out[22] = "22 25";
  out[23] = "40 50";
  // Only the block of model space's dimension is drawn in world
  // coordinates: not that of a dimension in paper space (*D2), nor one
  // that no dimension of model space draws with (*D3).
  out[46] = "10 50";
  out[47] = "20 25";
  auto run = Run(Dxf(in, "\r\n") + "after the end\n");
  ASSERT_TRUE(run.ok()) << Describe(run.error());
  EXPECT_EQ(Result(), Dxf(out, "\r\n") + "after the end\n");
}

// Heights move by H0 only when asked, and never a plan's (every z and
// elevation of model space and of the blocks 0), which a shift by H0
// would lift off its plane. Moved, they shift exactly in decimal, a
// mirrored entity's z runs down, the header's box with them. Worked out
// by hand: H0 1.25, construction z = survey z - 1.25.
TEST_F(Drawing, HeightOffset) {
  using D = DrawingHeightsDone;
  // The header's box, in the survey grid (at 300, 150) or in construction (at 50, 25).
  const auto header = [](std::string low, std::string high, bool moved = true) {
    const std::string x = moved ? "50" : "300", y = moved ? "25" : "150";
    return Dxf({"0 SECTION", "2 HEADER", "9 $EXTMIN", "10 " + x, "20 " + y, "30 " + low,
                "9 $EXTMAX", "10 " + x, "20 " + y, "30 " + high, "0 ENDSEC"});
  };
  const auto block = [](std::string z) {
    return Dxf({"0 SECTION", "2 BLOCKS", "0 BLOCK", "2 TREE", "10 0", "20 0", "30 0", "0 CIRCLE",
                "10 0", "20 0", "30 " + z, "40 1", "0 ENDBLK", "0 ENDSEC"});
  };
  // A line and a mirrored circle, with heights; and in construction.
  const std::vector<std::string> raised = {"0 LINE", "10 300",   "20 150",  "30 7.5", "11 300",
                                           "21 150", "0 CIRCLE", "10 -300", "20 150", "30 2",
                                           "40 1",   "210 0",    "220 0",   "230 -1"};
  const std::vector<std::string> raised_moved = {
      "0 LINE", "10 50", "20 25",   "30 6.25", "11 50", "21 25", "0 CIRCLE",
      "10 -50", "20 25", "30 3.25", "40 0.5",  "210 0", "220 0", "230 -1"};
  const std::vector<std::string> raised_kept = {"0 LINE", "10 50",    "20 25",  "30 7.5", "11 50",
                                                "21 25",  "0 CIRCLE", "10 -50", "20 25",  "30 2",
                                                "40 0.5", "210 0",    "220 0",  "230 -1"};
  // A plan: its heights 0 however written, a polyline without elevation,
  // a block inserted at 0.
  const std::vector<std::string> flat = {"0 LINE", "10 300",  "20 150",       "30 0",   "11 300",
                                         "21 150", "31 -0.0", "0 LWPOLYLINE", "90 1",   "70 0",
                                         "10 300", "20 150",  "0 INSERT",     "2 TREE", "10 300",
                                         "20 150", "30 +0e0"};
  const std::vector<std::string> flat_moved = {
      "0 LINE",       "10 50", "20 25",   "30 0",   "11 50", "21 25",    "31 -0.0",
      "0 LWPOLYLINE", "90 1",  "70 0",    "10 50",  "20 25", "0 INSERT", "2 TREE",
      "10 50",        "20 25", "30 +0e0", "41 0.5", "42 0.5"};
  const auto with = [](std::vector<std::string> entities, std::vector<std::string> more) {
    entities.insert(entities.end(), more.begin(), more.end());
    return entities;
  };
  // A plan's polyline, given the elevation H0 would make its plane's.
  std::vector<std::string> flat_lifted = flat_moved;
  flat_lifted[3] = "30 -1.25";
  flat_lifted[6] = "31 -1.25";
  flat_lifted.insert(flat_lifted.begin() + 10, "38 -1.25");
  flat_lifted[17] = "30 -1.25";
  const std::vector<std::string> paper = {"0 CIRCLE", "67 1", "10 1", "20 1", "30 9", "40 1"};
  const struct {
    const char* what;
    DrawingHeights asked;
    std::optional<std::string> offset;
    std::string in, out;
    D done;
  } rows[] = {
      {"with heights, asked", DrawingHeights::kMoved, "1.25",
       header("2", "7.5", false) + Dxf(InEntities(raised)),
       header("0.75", "6.25") + Dxf(InEntities(raised_moved)), D::kMoved},
      {"with heights, not asked: kept", DrawingHeights::kKept, "1.25",
       header("2", "7.5", false) + Dxf(InEntities(raised)),
       header("2", "7.5") + Dxf(InEntities(raised_kept)), D::kNotAsked},
      // The fault: every z of a plan came out at -H0.
      {"a plan, asked: kept", DrawingHeights::kMoved, "1.25",
       header("0", "0", false) + block("0") + Dxf(InEntities(flat)),
       header("0", "0") + block("0") + Dxf(InEntities(flat_moved)), D::kPlan},
      // What paper space holds is not drawn in the plan.
      {"a plan with heights in paper space", DrawingHeights::kMoved, "1.25",
       Dxf(InEntities(with(flat, paper))), Dxf(InEntities(with(flat_moved, paper))), D::kPlan},
      // A block drawn with heights, or one elevation, makes no plan.
      {"a block with a height", DrawingHeights::kMoved, "1.25",
       header("0", "0", false) + block("2") + Dxf(InEntities(flat)),
       header("-1.25", "-1.25") + block("2") + Dxf(InEntities(flat_lifted)), D::kMoved},
      {"an elevation", DrawingHeights::kMoved, "1.25",
       Dxf(InEntities(with(flat, {"0 LWPOLYLINE", "38 0.5", "90 0"}))),
       Dxf(InEntities(with(flat_lifted, {"0 LWPOLYLINE", "38 -0.75", "90 0"}))), D::kMoved},
      {"no H0", DrawingHeights::kMoved, std::nullopt,
       header("2", "7.5", false) + Dxf(InEntities(raised)),
       header("2", "7.5") + Dxf(InEntities(raised_kept)), D::kNoOffset},
  };
  for (const auto& row : rows) {
    request_.heights = row.asked;
    request_.height_offset = row.offset;
    auto run = Run(row.in);
    ASSERT_TRUE(run.ok()) << row.what << ": " << Describe(run.error());
    EXPECT_EQ(Result(), row.out) << row.what;
    EXPECT_EQ(run->heights, row.done) << row.what;
  }
}

// Parameters that move nothing give the drawing back byte for byte.
TEST_F(Drawing, IdentityIsByteForByte) {
  const std::string bytes =
      Dxf(InEntities({"0 LINE",  "5 1F",  "10 300.000", "20 +150", "11 1e2",   "21  -0.0 ",
                      "0 ARC",   "10 1",  "20 2",       "40 .5",   "50 370",   "51 -10",
                      "210 0",   "220 0", "230 -1",     "0 TEXT",  "10 3.5",   "20 -2",
                      "30 1.25", "40 2",  "50 10",      "210 0.3", "220 -0.2", "230 0.93"}),
          "\r\n");
  auto run = Run(bytes, kIdentity);
  ASSERT_TRUE(run.ok()) << Describe(run.error());
  EXPECT_EQ(Result(), bytes);
}

// Each refusal names the entity's kind, handle and line, and nothing is written.
TEST_F(Drawing, Refusals) {
  const struct {
    std::string name;
    std::string bytes;
    RunErrorKind kind;
    std::size_t line;
    std::string entity_type, handle, field_text;
  } rows[] = {
      {"site.dxf", Dxf(InEntities({"0 LINE", "10 1", "20 1", "0 MESH", "5 2F", "10 1", "20 1"})),
       RunErrorKind::kDrawingEntity, 11, "MESH", "2F", ""},
      // An ACIS body.
      {"site.dxf", Dxf(InEntities({"0 3DSOLID", "5 2E", "1 acis"})), RunErrorKind::kDrawingEntity,
       5, "3DSOLID", "2E", ""},
      // An object embedded where the rule knows nothing of it.
      {"site.dxf",
       Dxf(InEntities({"0 INSERT", "5 2D", "10 1", "20 1", "101 Embedded Object", "10 1", "20 1"})),
       RunErrorKind::kDrawingEntity, 5, "INSERT", "2D", ""},
      {"site.dxf", Dxf(InEntities({"0 ACAD_PROXY_ENTITY", "5 30"})), RunErrorKind::kDrawingProxy, 5,
       "ACAD_PROXY_ENTITY", "30", ""},
      // In a sloping plane (upright, or leaning by more than 2e-17 rad),
      // with the scale 2: a circle would turn into an ellipse. A LINE's
      // thickness runs along its normal, which a scale tilts.
      {"site.dxf", Dxf(InEntities({"0 CIRCLE", "5 31", "10 1", "20 1", "210 1", "220 0", "230 0"})),
       RunErrorKind::kDrawingExtrusion, 5, "CIRCLE", "31", ""},
      {"site.dxf",
       Dxf(InEntities({"0 CIRCLE", "5 31", "10 1", "20 1", "210 1.5e-17", "220 1.5e-17", "230 1"})),
       RunErrorKind::kDrawingExtrusion, 5, "CIRCLE", "31", ""},
      {"site.dxf",
       Dxf(InEntities({"0 LINE", "5 34", "39 2", "10 1", "20 1", "11 2", "21 1", "210 0", "220 0.6",
                       "230 0.8"})),
       RunErrorKind::kDrawingExtrusion, 5, "LINE", "34", ""},
      // A dimension in a sloping plane, whose block is drawn in that plane.
      {"site.dxf",
       Dxf(InEntities(
           {"0 DIMENSION", "5 35", "2 *D1", "10 1", "20 1", "210 0", "220 0.6", "230 0.8"})),
       RunErrorKind::kDrawingEntity, 5, "DIMENSION", "35", ""},
      // An extrusion that is no direction: damaged.
      {"site.dxf",
       Dxf(InEntities({"0 CIRCLE", "5 31", "10 1", "20 1", "210 0", "220 0", "230 nan"})),
       RunErrorKind::kDrawingDamaged, 14, "CIRCLE", "31", "(0,0,nan)"},
      {"site.dxf", Dxf(InEntities({"0 CIRCLE", "5 31", "10 1", "20 1", "210 0", "220 0", "230 0"})),
       RunErrorKind::kDrawingDamaged, 14, "CIRCLE", "31", "(0,0,0)"},
      {"site.dxf", Dxf(InEntities({"0 LINE", "5 32", "10 abc", "20 1"})),
       RunErrorKind::kDrawingDamaged, 10, "LINE", "32", "abc"},
      {"site.dxf", Dxf(InEntities({"0 LINE", "5 33", "10 1", "11 1"})),
       RunErrorKind::kDrawingDamaged, 10, "LINE", "33", "1"},
      {"site.dxf", "0\nSECTION\n2\n", RunErrorKind::kDrawingDamaged, 4, "", "", ""},
      // Read by its structure: a section's start lost (the header's extents
      // would move, the entities not), a section not ended, a drawing cut
      // short or without its end, a file that is no drawing.
      {"site.dxf",
       Dxf({"0 SECTION", "2 HEADER", "9 $EXTMIN", "10 300", "20 150", "0 ENDSEC", "2 ENTITIES",
            "0 LINE", "10 300", "20 150", "0 ENDSEC", "0 EOF"}),
       RunErrorKind::kDrawingDamaged, 13, "", "", "ENTITIES"},
      {"site.dxf", Dxf({"0 LINE", "10 300", "20 150", "0 EOF"}), RunErrorKind::kDrawingDamaged, 1,
       "", "", "LINE"},
      {"site.dxf", Dxf({"0 SECTION", "2 HEADER", "0 SECTION", "2 ENTITIES", "0 ENDSEC", "0 EOF"}),
       RunErrorKind::kDrawingDamaged, 5, "", "", ""},
      {"site.dxf", Dxf({"0 SECTION", "2 ENTITIES", "0 LINE", "10 300", "20 150", "0 EOF"}),
       RunErrorKind::kDrawingDamaged, 11, "", "", ""},
      {"site.dxf", Dxf({"0 ENDSEC", "0 EOF"}), RunErrorKind::kDrawingDamaged, 1, "", "", ""},
      {"site.dxf", Dxf({"0 SECTION", "0 ENDSEC", "0 EOF"}), RunErrorKind::kDrawingDamaged, 1, "",
       "", ""},
      {"site.dxf", Dxf({"0 SECTION", "2 ENTITIES", "0 LINE", "10 300", "20 150"}),
       RunErrorKind::kDrawingDamaged, 11, "", "", ""},
      {"site.dxf", Dxf({"0 SECTION", "2 ENTITIES", "0 ENDSEC"}), RunErrorKind::kDrawingDamaged, 7,
       "", "", ""},
      {"site.dxf", "", RunErrorKind::kDrawingDamaged, 1, "", "", ""},
      {"site.dxf", "1\n2\n3\n4\n", RunErrorKind::kDrawingDamaged, 1, "", "", "2"},
      {"site.dxf", "name,x,y\nA,1,2\n", RunErrorKind::kDrawingDamaged, 1, "", "", ""},
      // A value longer than a line may be: memory stays bounded.
      {"site.dxf", Dxf(InEntities({"0 TEXT", "1 " + std::string(kMaxLineBytes + 1, 'a')})),
       RunErrorKind::kDrawingDamaged, 8, "", "", ""},
      {"site.dxf", "0\nSECTION\nx\nENTITIES\n", RunErrorKind::kDrawingDamaged, 3, "", "", ""},
      {"site.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "rest",
       RunErrorKind::kDrawingBinary, 0, "", "", ""},
      {"site.dxf", "AC1032\0\0\0", RunErrorKind::kDrawingDwg, 0, "", "", ""},
      {"site.dwg", "AC1032", RunErrorKind::kDrawingDwg, 0, "", "", ""},
  };
  for (const auto& row : rows) {
    TempDir dir;
    DrawingRequest request;
    request.drawing_path = dir.Write(row.name, row.bytes);
    request.result_path = dir / "out.dxf";
    auto run = ConvertDrawing(request, kHalving);
    ASSERT_FALSE(run.ok()) << row.bytes;
    EXPECT_EQ(run.error().kind, row.kind) << Describe(run.error());
    EXPECT_EQ(run.error().line, row.line) << Describe(run.error());
    EXPECT_EQ(run.error().entity_type, row.entity_type) << Describe(run.error());
    EXPECT_EQ(run.error().handle, row.handle) << Describe(run.error());
    EXPECT_EQ(run.error().field_text, row.field_text) << Describe(run.error());
    EXPECT_EQ(run.error().path, request.drawing_path);
    EXPECT_EQ(dir.Files(), std::vector<std::string>{row.name});
  }
}

// Every entity that stops a drawing is named in one run, by kind, the
// first ten of a kind by line and handle: worked out from the lines below.
TEST_F(Drawing, EveryBlockerNamed) {
  std::vector<std::string> entities;
  const char* handles[] = {"A0", "A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A9", "AA", "AB"};
  for (const char* handle : handles) {
    entities.insert(entities.end(), {"0 MESH", std::string("5 ") + handle});  // lines 5, 9, ... 49
  }
  entities.insert(entities.end(), {"0 ACAD_PROXY_ENTITY", "5 B0", "0 CIRCLE", "5 C0", "10 1",
                                   "20 1", "210 1", "220 0", "230 0", "0 LINE", "10 1", "20 1"});
  const std::string result = dir_.Write("site转化后.dxf", "earlier");
  auto run = Run(Dxf(InEntities(entities)));
  ASSERT_FALSE(run.ok());
  EXPECT_EQ(run.error().kind, RunErrorKind::kDrawingEntity);
  EXPECT_EQ(run.error().line, 5u);
  EXPECT_EQ(run.error().handle, "A0");
  const std::string described = Describe(run.error());
  EXPECT_TRUE(described.ends_with(
      ": every entity that stops the drawing, by kind:\n"
      "  MESH (not converted): 12, on lines 5 (handle A0), 9 (handle A1), 13 (handle A2), "
      "17 (handle A3), 21 (handle A4), 25 (handle A5), 29 (handle A6), 33 (handle A7), "
      "37 (handle A8), 41 (handle A9) and 2 more\n"
      "  ACAD_PROXY_ENTITY (a proxy): 1, on line 53 (handle B0)\n"
      "  CIRCLE (sloping plane, scale not 1): 1, on line 57 (handle C0)"))
      << described;
  EXPECT_EQ(ReadBytes(result), "earlier");
  // One entity alone: named as ever, with no list.
  auto one = Run(Dxf(InEntities({"0 MESH", "5 A0", "0 LINE", "10 1", "20 1"})));
  ASSERT_FALSE(one.ok());
  EXPECT_TRUE(one.error().blocking.empty());
}

TEST_F(Drawing, EarlierResultKeptAndDrawingNeverReplaced) {
  const std::string result = dir_.Write("site转化后.dxf", "earlier");
  auto run = Run(Dxf(InEntities({"0 MESH", "5 2F"})));
  ASSERT_FALSE(run.ok());
  EXPECT_EQ(ReadBytes(result), "earlier");
  request_.result_path = request_.drawing_path;
  auto same = ConvertDrawing(request_, kHalving);
  ASSERT_FALSE(same.ok());
  EXPECT_EQ(same.error().kind, RunErrorKind::kResultIsPointFile);
}

// Cancelled by its progress callback (the workbench's 取消), even as the
// last byte is read: nothing written, the earlier result kept.
TEST_F(Drawing, CancelledWritesNothing) {
  const std::string result = dir_.Write("site转化后.dxf", "earlier");
  std::vector<double> shares;
  request_.progress = [&](double share) {
    shares.push_back(share);
    return false;
  };
  auto run = Run(Dxf(InEntities({"0 LINE", "10 300", "20 150", "11 400", "21 300"})));
  ASSERT_FALSE(run.ok());
  EXPECT_EQ(run.error().kind, RunErrorKind::kCancelled);
  EXPECT_EQ(shares, std::vector<double>{1.0});
  EXPECT_EQ(ReadBytes(result), "earlier");
  EXPECT_EQ(dir_.Files(), (std::vector<std::string>{"site.dxf", "site转化后.dxf"}));
}

// The numbers of a converted drawing, read back group by group.
std::vector<std::pair<int, double>> Numbers(const std::string& bytes) {
  std::vector<std::pair<int, double>> numbers;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t code_end = bytes.find('\n', at);
    const std::size_t value_end = bytes.find('\n', code_end + 1);
    const int code = std::stoi(bytes.substr(at, code_end - at));
    const std::string value = bytes.substr(code_end + 1, value_end - code_end - 1);
    char* end = nullptr;
    const double number = std::strtod(value.c_str(), &end);
    numbers.emplace_back(code, *end == '\0' && !value.empty() ? number : NAN);
    at = value_end + 1;
  }
  return numbers;
}

double Value(const std::vector<std::pair<int, double>>& numbers, int code, int nth = 0) {
  for (const auto& [c, v] : numbers) {
    if (c == code && nth-- == 0) return v;
  }
  ADD_FAILURE() << "no group " << code;
  return NAN;
}

// A text along a line stays along it, an arc's start stays on the moved
// start point, in both directions and with both axes: checked from the
// converted points themselves, not from a rule of signs.
TEST_F(Drawing, AnglesTurnWithTheGeometry) {
  constexpr double kDegree = 3.14159265358979323846 / 180;
  for (const RunParams& turning : {kTurning, kTurningFar}) {
    for (const Direction direction :
         {Direction::kSurveyToConstruction, Direction::kConstructionToSurvey}) {
      for (const DrawingAxis axis : {DrawingAxis::kEastNorth, DrawingAxis::kNorthEast}) {
        request_.direction = direction;
        request_.axis = axis;
        // A line at 20°, a text along it, an arc of a mirrored plane from
        // (-1, 0) of the world round its centre at the line's start.
        const double dx = 10 * std::cos(20 * kDegree), dy = 10 * std::sin(20 * kDegree);
        auto run =
            Run(Dxf(InEntities({"0 LINE", "10 1000", "20 2000", "11 " + std::to_string(1000 + dx),
                                "21 " + std::to_string(2000 + dy), "0 TEXT", "10 1000", "20 2000",
                                "40 1", "50 20", "0 ARC", "10 -1000", "20 2000", "40 1", "50 0",
                                "51 90", "210 0", "220 0", "230 -1"})),
                turning);
        ASSERT_TRUE(run.ok()) << Describe(run.error());
        const auto n = Numbers(Result());
        const double line_angle =
            std::atan2(Value(n, 21) - Value(n, 20, 0), Value(n, 11) - Value(n, 10, 0));
        const double text_angle = Value(n, 50, 0) * kDegree;
        EXPECT_NEAR(std::remainder(line_angle - text_angle, 360 * kDegree), 0, 1e-6);
        // The arc's start: world (-x_ocs - cos a, y + sin a) is the moved (999, 2000).
        double x = 999, y = 2000;
        const DrawingMotion motion(turning, direction, axis);
        motion.MovePoint(&x, &y);
        const double a = Value(n, 50, 1) * kDegree;
        EXPECT_NEAR(-(Value(n, 10, 2) + std::cos(a)), x, 1e-6);
        EXPECT_NEAR(Value(n, 20, 2) + std::sin(a), y, 1e-6);
      }
    }
  }
}

}  // namespace
}  // namespace torvane
