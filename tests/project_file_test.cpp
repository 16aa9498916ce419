#include "site/project_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace torvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;

// A worked example: the file the README shows, written by hand.
const std::string kExample = R"({
  "format": "torvane-project",
  "version": 1,
  "site": "东区 1#楼",
  "notes": "control from the 2024 survey\nIII12 disturbed",
  "model": "similarity",
  "height_offset": "-0.125",
  "layout": {
    "columns": "name,code,y,x,h",
    "delimiter": "whitespace",
    "skip_lines": 1,
    "encoding": "gbk"
  },
  "parameters": {
    "x_offset": "1000.000161",
    "y_offset": "2000.",
    "angle": "30.152",
    "scale": "1.000012345",
    "source": "solved"
  },
  "points": [
    {
      "name": "III11",
      "role": "fit",
      "xs": "755.500",
      "ys": "740.800",
      "xc": "100.000",
      "yc": "200.000"
    },
    {
      "name": "III12",
      "role": "off",
      "xs": "1e3",
      "ys": "-12.5",
      "xc": "0",
      "yc": "300."
    }
  ]
}
)";

Project ExampleProject() {
  Project project;
  project.site = "东区 1#楼";
  project.notes = "control from the 2024 survey\nIII12 disturbed";
  project.model = FitModel::kSimilarity;
  project.height_offset = "-0.125";
  project.layout.fields = {PointField::kName, PointField::kCode, PointField::kY, PointField::kX,
                           PointField::kH};
  project.layout.delimiter = FieldDelimiter::kWhitespace;
  project.layout.skip_lines = 1;
  project.encoding = TextEncoding::kGbk;
  project.parameters =
      ProjectParams{{"1000.000161", "2000.", "30.152"}, "1.000012345", ParamSource::kSolved};
  project.points = {{"III11", PointRole::kFit, "755.500", "740.800", "100.000", "200.000"},
                    {"III12", PointRole::kOff, "1e3", "-12.5", "0", "300."}};
  return project;
}

// The example with heights where a point has them, as the README shows them.
std::string WithHeights(std::string bytes, const std::string& after, const std::string& heights) {
  bytes.insert(bytes.find(after) + after.size(), heights);
  return bytes;
}

// Worked examples: each file read is its project, and the project written
// is the file, byte for byte. A site without heights has no "hs" nor "hc".
TEST(ProjectFile, TheExampleReadsAndWritesByteForByte) {
  const std::string iii11_heights = ",\n      \"hs\": \"12.345\",\n      \"hc\": \"-0.500\"";
  const std::string iii12_height = ",\n      \"hc\": \"1e1\"";
  Project heights = ExampleProject();
  heights.points[0].hs = "12.345";
  heights.points[0].hc = "-0.500";
  heights.points[1].hc = "1e1";
  const struct {
    std::string bytes;
    Project project;
  } rows[] = {
      {kExample, ExampleProject()},
      {WithHeights(WithHeights(kExample, "\"200.000\"", iii11_heights), "\"300.\"", iii12_height),
       heights},
  };
  TempDir dir;
  for (const auto& row : rows) {
    const std::string path = dir.Write("site.torvane", row.bytes);
    auto read = ReadProject(path);
    ASSERT_TRUE(read.ok()) << read.error();
    EXPECT_EQ(*read, row.project) << row.bytes;
    const std::string copy = dir / "copy.torvane";
    ASSERT_TRUE(WriteProject(row.project, copy).ok());
    EXPECT_EQ(ReadBytes(copy), row.bytes);
  }
}

// Random projects: written, read, written again give the same bytes, and the
// project read is the one written.
TEST(ProjectFile, RandomProjectsComeBackUnchanged) {
  std::mt19937_64 random(20260);
  auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
  auto text = [&](std::size_t most) {
    static const std::vector<std::string> pieces = {
        "A", "z", "7", " ", "施", "工", "\"", "\\", "/", "\n", "\t", "\x01", "\x7f", "é", "😀", "#"};
    std::string s;
    for (std::size_t n = pick(most + 1); n > 0; --n) s += pieces[pick(pieces.size())];
    return s;
  };
  auto number = [&] {
    std::string s = pick(3) == 0 ? "-" : pick(2) == 0 ? "+" : "";
    s += std::to_string(random() % 100000000);
    if (pick(2) == 0) s += "." + std::to_string(random() % 1000000);
    if (pick(4) == 0) s += "e" + std::to_string(static_cast<int>(pick(41)) - 20);
    return pick(8) == 0 ? " " + s + "\t" : s;
  };
  const std::vector<std::vector<PointField>> columns = {
      PointLayout{}.fields,
      {PointField::kName, PointField::kCode, PointField::kY, PointField::kX, PointField::kH},
      {PointField::kSkip, PointField::kX, PointField::kSkip, PointField::kY}};
  TempDir dir;
  const std::string path = dir / "random.torvane";
  for (int round = 0; round < 50; ++round) {
    Project project;
    project.site = text(8);
    project.notes = text(40);
    if (pick(2)) project.operator_name = text(8);
    project.model = pick(2) ? FitModel::kRigid : FitModel::kSimilarity;
    if (pick(2)) {
      project.height_offset = number();
    } else if (pick(2)) {
      ProjectHeightModel kept;
      kept.model = static_cast<HeightModel>(1 + pick(3));
      kept.centroid_x = number();
      kept.centroid_y = number();
      for (std::size_t i = TermCount(kept.model); i > 0; --i) kept.terms.push_back(number());
      for (std::size_t n = 1 + pick(5); n > 0; --n) kept.hull.push_back({number(), number()});
      project.height_model = kept;
    }
    project.layout.fields = columns[pick(columns.size())];
    project.layout.delimiter = static_cast<FieldDelimiter>(pick(4));
    project.layout.skip_lines = pick(2) ? 0 : random() >> 1;
    if (pick(3)) project.encoding = pick(2) ? TextEncoding::kUtf8 : TextEncoding::kGbk;
    project.drawing_axis = pick(2) ? DrawingAxis::kEastNorth : DrawingAxis::kNorthEast;
    project.drawing_heights = pick(2) ? DrawingHeights::kKept : DrawingHeights::kMoved;
    if (pick(3)) {
      auto texts = MakeParamTexts((static_cast<double>(random() % 2000000000) - 1e9) / 1e3,
                                  (static_cast<double>(random() % 2000000000) - 1e9) / 1e3,
                                  (static_cast<double>(random() % 2000000) / 1e6 - 1) * 3.14);
      ASSERT_TRUE(texts.ok());
      project.parameters = ProjectParams{*texts, "0.99" + std::to_string(random() % 10000000),
                                         pick(2) ? ParamSource::kSolved : ParamSource::kTyped};
    }
    for (std::size_t n = pick(12); n > 0; --n) {
      project.points.push_back({"P" + std::to_string(n) + text(4), static_cast<PointRole>(pick(3)),
                                number(), number(), number(), number(), pick(2) ? number() : "",
                                pick(2) ? number() : ""});
    }
    auto written = WriteProject(project, path);
    ASSERT_TRUE(written.ok()) << written.error();
    const std::string bytes = ReadBytes(path);
    // A project without a fitted height model is one an earlier Torvane reads.
    EXPECT_NE(bytes.find(project.height_model ? "\"version\": 2," : "\"version\": 1,"),
              std::string::npos);
    auto read = ReadProject(path);
    ASSERT_TRUE(read.ok()) << read.error() << "\n" << bytes;
    EXPECT_EQ(*read, project) << bytes;
    ASSERT_TRUE(WriteProject(*read, path).ok());
    EXPECT_EQ(ReadBytes(path), bytes);
  }
}

// The example with one text replaced, and the message it is refused with
// after "PATH: " (empty: read, the change ignored).
TEST(ProjectFile, RefusedFilesSayWhy) {
  const std::string deep(100000, '[');
  // The limits the README states: 4 MiB a file, 1024 bytes a text, 64 KiB
  // the notes; a text quoted by its first 60 bytes and its length.
  const std::string whole_limit = kExample + std::string((4 << 20) - kExample.size(), ' ');
  const auto text = [](std::size_t bytes) { return "\"" + std::string(bytes, 'x') + "\""; };
  const auto excerpt = [](std::size_t bytes) {
    return "\"" + std::string(60, 'x') + "... (" + std::to_string(bytes) + " bytes)\"";
  };
  const struct {
    std::string from, to;  // `from` empty: the whole file is `to`
    std::string error;
  } rows[] = {
      // damaged: the byte, counted from 1, where the text stops being JSON
      // (one past the end for a file cut short)
      {"", "", "damaged JSON at byte 1"},
      {"", "{\"format\": \"torvane-project\",", "damaged JSON at byte 30"},
      {"\"notes\": \"control", "\"notes\": \"\xff", "damaged JSON at byte 88"},
      {"", deep, "damaged JSON at byte 100001"},
      {"\"version\": 1", "\"version\": 1e400",
       "damaged JSON: a number is beyond the range of doubles"},
      // the same in members Torvane ignores, or of the wrong kind
      {"\"version\": 1", "\"version\": 1, \"x\": -1e400",
       "damaged JSON: a number is beyond the range of doubles"},
      {"\"skip_lines\": 1", "\"skip_lines\": 1e400",
       "damaged JSON: a number is beyond the range of doubles"},
      {"\"-0.125\"", "1e400", "damaged JSON: a number is beyond the range of doubles"},
      {"\"x_offset\": \"1000.000161\"", "\"x_offset\": \"1000.000161\", \"k\": [{\"z\": 1e-400}]",
       ""},
      // sizes: the file refused unparsed, each text as it is read
      {"", whole_limit, ""},
      {"", whole_limit + " ", "more than 4194304 bytes, too large for a project"},
      {"", std::string(5 << 20, '['), "more than 4194304 bytes, too large for a project"},
      {"\"东区 1#楼\"", text(1024), ""},
      {"\"东区 1#楼\"", text(1025), "site " + excerpt(1025) + " is longer than 1024 bytes"},
      {"\"东区 1#楼\"", text(20 << 20), "more than 4194304 bytes, too large for a project"},
      {"\"control from the 2024 survey\\nIII12 disturbed\"", text(65536), ""},
      {"\"control from the 2024 survey\\nIII12 disturbed\"", text(65537),
       "notes " + excerpt(65537) + " is longer than 65536 bytes"},
      // the operator, a member of its own that older projects have not
      {"\"notes\"", "\"operator\": " + text(1024) + ", \"notes\"", ""},
      {"\"notes\"", "\"operator\": " + text(1025) + ", \"notes\"",
       "operator " + excerpt(1025) + " is longer than 1024 bytes"},
      {"\"notes\"", "\"operator\": 7, \"notes\"", "\"operator\" is not a text"},
      {"\"III12\"", text(1025), "point 2: name " + excerpt(1025) + " is longer than 1024 bytes"},
      {"\"-12.5\"", "\"" + std::string(1025, '1') + "\"",
       "point 2: ys \"" + std::string(60, '1') + "... (1025 bytes)\" is longer than 1024 bytes"},
      // foreign JSON, another format tag
      {"", "[1, 2]", "not a Torvane project"},
      {"", "{\"type\": \"FeatureCollection\"}", "not a Torvane project"},
      {"\"torvane-project\"", "\"torvane-results\"", "not a Torvane project"},
      {"\"format\": \"torvane-project\"", "\"format\": 1", "not a Torvane project"},
      // versions
      {"\"version\": 1", "\"version\": 3",
       "made by a newer Torvane (project version 3; this one reads 2)"},
      // a fitted height model: offset, plane or quadric, its terms, its hull
      {"\"height_offset\": \"-0.125\",",
       "\"height_offset\": null, \"height_model\": {\"model\": \"plane\", \"centroid_x\": \"1\", "
       "\"centroid_y\": \"2\", \"terms\": [\"1\", \"0.5\", \"-0.2\"], \"hull\": [[\"1\", \"2\"]]},",
       ""},
      {"\"height_offset\": \"-0.125\",",
       "\"height_offset\": null, \"height_model\": {\"model\": \"cubic\", \"centroid_x\": \"1\", "
       "\"centroid_y\": \"2\", \"terms\": [\"1\"], \"hull\": [[\"1\", \"2\"]]},",
       "height_model: model \"cubic\" is not offset, plane or quadric"},
      {"\"height_offset\": \"-0.125\",",
       "\"height_offset\": null, \"height_model\": {\"model\": \"plane\", \"centroid_x\": \"1\", "
       "\"centroid_y\": \"2\", \"terms\": [\"1\"], \"hull\": [[\"1\", \"2\"]]},",
       "height_model: terms has 1 items, not 3"},
      {"\"height_offset\": \"-0.125\",",
       "\"height_offset\": null, \"height_model\": {\"model\": \"offset\", \"centroid_x\": \"1\", "
       "\"centroid_y\": \"2\", \"terms\": [\"x\"], \"hull\": [[\"1\", \"2\"]]},",
       "height_model: terms has an item that is not a number as a text"},
      {"\"height_offset\": \"-0.125\",",
       "\"height_offset\": null, \"height_model\": {\"model\": \"offset\", \"centroid_x\": \"1\", "
       "\"centroid_y\": \"2\", \"terms\": [\"1\"], \"hull\": []},",
       "height_model: hull is not a list of points"},
      {"\"height_offset\": \"-0.125\",",
       "\"height_offset\": \"-0.125\", \"height_model\": {\"model\": \"offset\", \"centroid_x\": "
       "\"1\", \"centroid_y\": \"2\", \"terms\": [\"1\"], \"hull\": [[\"1\", \"2\"]]},",
       "height_offset and height_model are both given: a site's heights move by one or follow "
       "the other"},
      {"\"version\": 1", "\"version\": \"1\"", "\"version\" is not a whole number from 1"},
      {"\"version\": 1", "\"version\": 0", "\"version\" is not a whole number from 1"},
      {"\"version\": 1", "\"version\": 1, \"camera\": \"unknown members are ignored\"", ""},
      // points
      {"\"xs\": \"1e3\"", "\"xs\": \"abc\"", "point 2: xs \"abc\" is not a number"},
      {"\"yc\": \"300.\"", "\"yc\": \"1e999\"", "point 2: yc \"1e999\" is too large"},
      {"\"ys\": \"-12.5\"", "\"ys\": -12.5", "point 2: \"ys\" is not a text"},
      {"\"xc\": \"0\",", "", "point 2: \"xc\" is missing"},
      // heights, members of their own that older projects have not
      {"\"300.\"", "\"300.\", \"hs\": \"1e3\", \"hc\": \" -0.5\"", ""},
      {"\"300.\"", "\"300.\", \"hs\": \"12.5x\"", "point 2: hs \"12.5x\" is not a number"},
      {"\"300.\"", "\"300.\", \"hc\": \"\"", "point 2: hc \"\" is not a number"},
      {"\"300.\"", "\"300.\", \"hc\": \"1e999\"", "point 2: hc \"1e999\" is too large"},
      {"\"300.\"", "\"300.\", \"hs\": 12.5", "point 2: \"hs\" is not a text"},
      {"\"300.\"", "\"300.\", \"hc\": null", "point 2: \"hc\" is not a text"},
      {"\"300.\"", "\"300.\", \"hs\": \"" + std::string(1025, '1') + "\"",
       "point 2: hs \"" + std::string(60, '1') + "... (1025 bytes)\" is longer than 1024 bytes"},
      {"\"III12\"", "\"III11\"", "point 2: name \"III11\" is also point 1's"},
      {"\"III12\"", "\"\"", "point 2: the name is empty"},
      {"\"off\"", "\"maybe\"", "point 2: role \"maybe\" is not fit, check or off"},
      {"\"points\": [", "\"points\": [7, ", "point 1 is not an object"},
      {"\"points\": [", "\"points\": \"none\", \"old\": [", "\"points\" is not a list"},
      // the rest
      {"\"similarity\"", "\"affine\"", "model \"affine\" is not rigid or similarity"},
      {"\"-0.125\"", "\"1 m\"", "height_offset \"1 m\" is not a number"},
      {"\"-0.125\"", "null", ""},
      {"\"-0.125\",", "\"-0.125\", \"drawing_heights\": \"move\",", ""},
      {"\"-0.125\",", "\"-0.125\", \"drawing_heights\": true,",
       "\"drawing_heights\" is not a text"},
      {"\"-0.125\",", "\"-0.125\", \"drawing_heights\": \"up\",",
       "drawing_heights \"up\" is not keep or move"},
      {"\"name,code,y,x,h\"", "\"name,x\"", "layout: columns \"name,x\" has no y"},
      {"\"whitespace\"", "\"pipe\"",
       "layout: delimiter \"pipe\" is not comma, whitespace, tab or semicolon"},
      {"\"skip_lines\": 1", "\"skip_lines\": -1",
       "layout: \"skip_lines\" is not a whole number from 0"},
      {"\"gbk\"", "\"latin1\"", "layout: encoding \"latin1\" is not utf-8 or gbk (nor null)"},
      {"\"gbk\"", "\"gbk\", \"drawing_axis\": \"up\"",
       "layout: drawing_axis \"up\" is not east-north or north-east"},
      {"\"30.152\"", "\"1e400\"", "parameters: rotation: number \"1e400\" is too large"},
      {"\"1.000012345\"", "\"0\"", "parameters: scale \"0\" is not greater than 0"},
      {"\"solved\"", "\"guessed\"", "parameters: source \"guessed\" is not solved or typed"},
  };
  TempDir dir;
  for (const auto& row : rows) {
    std::string bytes = row.to;
    if (!row.from.empty()) {
      bytes = kExample;
      const auto at = bytes.find(row.from);
      ASSERT_NE(at, std::string::npos) << row.from;
      bytes.replace(at, row.from.size(), row.to);
    }
    const std::string path = dir.Write("site.torvane", bytes);
    auto read = ReadProject(path);
    if (row.error.empty()) {
      EXPECT_TRUE(read.ok()) << row.to.substr(0, 100) << ": " << read.error();
    } else {
      ASSERT_FALSE(read.ok()) << row.to.substr(0, 100);
      EXPECT_EQ(read.error(), path + ": " + row.error);
    }
  }
}

// A file that is not a project this version reads is never replaced; an
// earlier project is.
TEST(ProjectFile, WritesOnlyOverProjects) {
  const struct {
    std::string before;
    const char* error;  // after "PATH: "; empty: replaced
  } rows[] = {
      {"name,x,y,h\nP1,1,2,3\n",
       "not replaced, as it is not a project this Torvane reads (damaged JSON at byte 2)"},
      {"{\"format\": \"torvane-project\", \"version\": 3}",
       "not replaced, as it is not a project this Torvane reads (made by a newer Torvane "
       "(project version 3; this one reads 2))"},
      {"{\"format\": \"torvane-project\", \"version\": 1, \"skip_lines\": 1e400}",
       "not replaced, as it is not a project this Torvane reads (damaged JSON: a number is "
       "beyond the range of doubles)"},
      {kExample + std::string(4 << 20, '\n'),
       "not replaced, as it is not a project this Torvane reads (more than 4194304 bytes, too "
       "large for a project)"},
      {kExample, ""},
  };
  TempDir dir;
  for (const auto& row : rows) {
    const std::string path = dir.Write("site.torvane", row.before);
    Project project;
    project.site = "west";
    auto written = WriteProject(project, path);
    if (*row.error == '\0') {
      EXPECT_TRUE(written.ok()) << written.error();
      EXPECT_EQ(ReadProject(path)->site, "west");
    } else {
      ASSERT_FALSE(written.ok());
      EXPECT_EQ(written.error(), path + ": " + row.error);
      EXPECT_EQ(ReadBytes(path), row.before);
    }
  }
  EXPECT_EQ(WriteProject(Project{}, dir / ".").error(), dir / "." + ": is a folder");
  // Projects that would not open again are not written.
  const std::string other = dir / "other.torvane";
  Project faulty = ExampleProject();
  faulty.notes = "\xC9\xE8";  // GBK, not converted
  EXPECT_EQ(WriteProject(faulty, other).error(), other + ": not written: a text is not UTF-8");
  faulty = ExampleProject();
  faulty.points[1].name = "III11";
  EXPECT_EQ(WriteProject(faulty, other).error(),
            other + ": not written: point 2: name \"III11\" is also point 1's");
  faulty = ExampleProject();
  faulty.site = std::string(1025, 'x');
  EXPECT_EQ(WriteProject(faulty, other).error(),
            other + ": not written: site \"" + std::string(60, 'x') +
                "... (1025 bytes)\" is longer than 1024 bytes");
  // 40,000 points of some 125 bytes each are more than the 4 MiB a file may hold.
  faulty = ExampleProject();
  for (int i = 0; i < 40000; ++i) {
    faulty.points.push_back({"P" + std::to_string(i), PointRole::kFit, "1", "2", "3", "4"});
  }
  EXPECT_EQ(WriteProject(faulty, other).error(),
            other + ": not written: more than 4194304 bytes, too large for a project");
  faulty = ExampleProject();
  faulty.layout.fields = {PointField::kName, PointField::kX};
  EXPECT_EQ(WriteProject(faulty, other).error(),
            other + ": not written: layout: columns \"name,x\" has no y");
  EXPECT_EQ(dir.Files(), std::vector<std::string>{"site.torvane"});
}

}  // namespace
}  // namespace torvane
