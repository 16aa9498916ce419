#include "batch/conversion_run.h"

#include <gtest/gtest.h>

#include "app/window_rules.h"
#include "batch/result_path.h"
#include "report/result_csv.h"
#include "report/result_format.h"
#include "report/result_table.h"
#include "temp_dir.h"

namespace torvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;

const RunParams kParams{500, 600, 0.5280590614494144};  // 30.1520 in ddd.mmss

const char kHelpExample[] =
    "III11 , 755.500 , 740.800 , 1215.101 \r\n"
    "III12 , 761.500 , 782.300 , 1211.210 \r\n"
    "III13 , 750.000 , 651.350 , 1215.471 \r\n"
    "III14 , 691.500 , 757.150 , 1270.221\r\n";

// Checked digit for digit against PROJ's cct with the same rigid motion.
const char kHelpExampleConverted[] =
    "III11       291.64066         -7.11449           1215.1010\r\n"
    "III12       317.73347         25.70951           1211.2100\r\n"
    "III13       241.81976         -81.60899          1215.4710\r\n"
    "III14       244.59639         39.25532           1270.2210\r\n";

class ConversionRun : public ::testing::Test {
 protected:
  Expected<RunSummary, RunError> Run(const std::string& bytes,
                                     Direction direction = Direction::kSurveyToConstruction,
                                     RunParams params = kParams) {
    request_.point_path = dir_.Write("pts.csv", bytes);
    request_.result_path = ResultPathFor(request_.point_path);
    request_.direction = direction;
    return ConvertRun(request_, params, *MakeResultWriter(format_, decimals_, request_.layout));
  }
  std::string Result() const { return ReadBytes(request_.result_path); }

  TempDir dir_;
  RunRequest request_;
  ResultFormat format_ = ResultFormat::kTable;
  int decimals_ = 5;
};

TEST_F(ConversionRun, HelpExampleBothWays) {
  auto run = Run(kHelpExample);
  ASSERT_TRUE(run.ok()) << Describe(run.error());
  EXPECT_EQ(run->points, 4u);
  EXPECT_EQ(request_.result_path, dir_ / "pts转化后成果表.txt");
  EXPECT_EQ(Result(), kHelpExampleConverted);
  EXPECT_EQ(dir_.Files(), (std::vector<std::string>{"pts.csv", "pts转化后成果表.txt"}));

  // The table read back as a point file and converted the other way.
  std::string back_in;
  for (const char* line :
       {"III11, 291.64066, -7.11449, 1215.101\r\n", "III14, 244.59639, 39.25532, 1270.221\r\n"}) {
    back_in += line;
  }
  ASSERT_TRUE(Run(back_in, Direction::kConstructionToSurvey).ok());
  EXPECT_EQ(Result(),
            "III11       755.50000         740.80000          1215.1010\r\n"
            "III14       691.50000         757.15000          1270.2210\r\n");
}

TEST_F(ConversionRun, AHeightModelMovesEachHeightAtItsSurveyXY) {
  // d = 2 + 10·u − 5·v, u and v the survey X, Y about (700, 700) in km,
  // known over the triangle (700, 700), (800, 700), (700, 800). Worked by
  // hand: III11 d = 2 + 0.555 − 0.204 = 2.351, H 1215.101 − 2.351; III12
  // d = 2 + 0.615 − 0.4115 = 2.2035, H 1211.21 − 2.2035, and it lies 31 m
  // beyond the triangle's long side (761.5 + 782.3 − 1500)/√2; III13 has no
  // height, and neither moves nor counts though it lies outside (X and Y
  // as the help example has them).
  request_.height_model = HeightSurface{HeightModel::kPlane, {700, 700}, {2, 10, -5}};
  request_.height_hull = {{700, 700}, {800, 700}, {700, 800}};
  auto run =
      Run("III11 , 755.500 , 740.800 , 1215.101\r\nIII12 , 761.500 , 782.300 , 1211.210\r\n"
          "III13 , 750.000 , 651.350\r\n");
  ASSERT_TRUE(run.ok()) << Describe(run.error());
  EXPECT_EQ(Result(),
            "III11       291.64066         -7.11449           1212.7500\r\n"
            "III12       317.73347         25.70951           1209.0065\r\n"
            "III13       241.81976         -81.60899          \r\n");
  EXPECT_EQ(run->outside_coverage, 1u);
  EXPECT_EQ(run->outside_names, std::vector<std::string>{"III12"});
  // Back: d at the survey X, Y converted, the height as it was.
  run = Run("III11, 291.64066, -7.11449, 1212.75\r\n", Direction::kConstructionToSurvey);
  ASSERT_TRUE(run.ok()) << Describe(run.error());
  EXPECT_EQ(Result(), "III11       755.50000         740.80000          1215.1010\r\n");
  EXPECT_EQ(run->outside_coverage, 0u);
  // A height that is not a number cannot be moved.
  run = Run("III11, 755.5, 740.8, 12x\r\n");
  ASSERT_FALSE(run.ok());
  EXPECT_EQ(run.error().kind, RunErrorKind::kNotANumber);
}

TEST_F(ConversionRun, FailuresLeaveTheEarlierResultAlone) {
  const struct {
    std::string bytes;
    std::string message;  // after "<point file>"
    ResultFormat format = ResultFormat::kTable;
  } rows[] = {
      {"A,1,2,3\r\nB,abc,2,3\r\n", ":2: X field \"abc\" is not a number"},
      {"A,1,2,3\r\nB,abc,2,3\r\n", ":2: X field \"abc\" is not a number", ResultFormat::kCsv},
      {"A,1,2,3\r\nB,1e308,1e308,3\r\n", ":2: converted X is too large to write",
       ResultFormat::kJson},
      {"A,1,2,3\r\nB,1,2m,3\r\n", ":2: Y field \"2m\" is not a number"},
      {"A,1,2,3\r\n\r\nB,1\r\n", ":3: line \"B,1\" has fewer than three fields (name, X, Y)"},
      {"A,1e400,2,3\r\n", ":1: X field \"1e400\" is too large"},
      {"A,1e308,1e308,3\r\n", ":1: converted X is too large to write"},
      {"", ": no points: the file is empty or holds only blank lines"},
      {" \r\n\t\r\n", ": no points: the file is empty or holds only blank lines"},
      {"A,1,2,3\r\n\xFF\xFF,1,2\r\n", ":2: line is neither UTF-8 nor GBK text"},
      // Quoted texts of a GBK file in UTF-8: 点 was its GBK bytes B5 E3.
      {"A,1,2,3\r\nB,\xB5\xE3,2,3\r\n", ":2: X field \"点\" is not a number"},
      {"\xB5\xE3,1\r\n", ":1: line \"点,1\" has fewer than three fields (name, X, Y)"},
  };
  for (const auto& row : rows) {
    dir_.Write("pts转化后成果表.txt", "earlier result\r\n");
    format_ = row.format;
    auto run = Run(row.bytes, Direction::kSurveyToConstruction, RunParams{-1e308, 1e308, 1});
    ASSERT_FALSE(run.ok()) << row.message;
    EXPECT_EQ(Describe(run.error()), request_.point_path + row.message);
    EXPECT_EQ(Result(), "earlier result\r\n") << row.message;
    EXPECT_EQ(dir_.Files(), (std::vector<std::string>{"pts.csv", "pts转化后成果表.txt"}));
  }
}

TEST_F(ConversionRun, EveryFormatInTheLayoutAndEncodingOfThePointFile) {
  const std::vector<PointField> cass{PointField::kName, PointField::kCode, PointField::kY,
                                     PointField::kX, PointField::kH};
  const std::vector<PointField> usual = PointLayout{}.fields;
  const struct {
    const char* bytes;
    ResultFormat format;
    std::vector<PointField> columns;
    FieldDelimiter delimiter;
    int decimals;
    const char* result;
  } rows[] = {
      // The table in the point file's encoding: GBK, UTF-8 with its BOM
      // kept, UTF-8; CR LF whatever the file's line ends.
      {"\xB5\xE3"
       "1,755.5,740.8,1\r\n",
       ResultFormat::kTable, usual, FieldDelimiter::kComma, 5,
       "\xB5\xE3"
       "1         291.64066         -7.11449           1.0000\r\n"},
      {"\xEF\xBB\xBF点1,755.5,740.8,1\n", ResultFormat::kTable, usual, FieldDelimiter::kComma, 5,
       "\xEF\xBB\xBF点1         291.64066         -7.11449           1.0000\r\n"},
      {"点1,755.5,740.8,1\r", ResultFormat::kTable, usual, FieldDelimiter::kComma, 5,
       "点1         291.64066         -7.11449           1.0000\r\n"},
      // Lines the partial reader garbled: a trailing empty line, a blank
      // line between points, a line of three fields and one of five; each
      // point keeps its own fields.
      {"A,755.5,740.8,1215.101\r\n\r\nB,755.5,740.8\r\nC,755.5,740.8,1,code\r\n\r\n",
       ResultFormat::kTable, usual, FieldDelimiter::kComma, 5,
       "A           291.64066         -7.11449           1215.1010\r\n"
       "B           291.64066         -7.11449           \r\n"
       "C           291.64066         -7.11449           1.0000\r\n"},
      // CSV in the point file's columns and encoding, a BOM kept, CR LF.
      {"\xEF\xBB\xBF点1,755.5,740.8,1215.1010\nB,755.5,740.8\n", ResultFormat::kCsv, usual,
       FieldDelimiter::kComma, 5,
       "\xEF\xBB\xBF点1,291.64066,-7.11449,1215.1010\r\nB,291.64066,-7.11449,\r\n"},
      {"\xB5\xE3"
       "1,755.5,740.8,x\r\n",
       ResultFormat::kCsv, usual, FieldDelimiter::kComma, 0,
       "\xB5\xE3"
       "1,292,-7,x\r\n"},
      // South CASS: the code comes back as it was, Y before X.
      {"A,128,740.8,755.5,3\r\nB,,740.8,755.5\r\n", ResultFormat::kCsv, cass,
       FieldDelimiter::kComma, 8,
       "A,128,-7.11449031,291.64065908,3\r\nB,,-7.11449031,291.64065908,\r\n"},
      {"a;b,\"c\"  755.5 740.8 -",
       ResultFormat::kCsv,
       {PointField::kName, PointField::kX, PointField::kY, PointField::kSkip},
       FieldDelimiter::kWhitespace,
       1,
       "\"a;b,\"\"c\"\"\",291.6,-7.1,\r\n"},
      // JSON: UTF-8 whatever the file's encoding, names escaped, h a number, a text or null.
      {"\xB5\xE3"
       "1,755.5,740.8,1215.1010\r\nq\"\\\x01,755.5,740.8,12.5m\r\nC,-755.5,-740.8\r\n",
       ResultFormat::kJson, usual, FieldDelimiter::kComma, 5,
       "[\n"
       "  {\"name\": \"点1\", \"x\": 291.64066, \"y\": -7.11449, \"h\": 1215.101},\n"
       "  {\"name\": \"q\\\"\\\\\\u0001\", \"x\": 291.64066, \"y\": -7.11449, \"h\": \"12.5m\"},\n"
       "  {\"name\": \"C\", \"x\": -1760.05659, \"y\": -525.57176, \"h\": null}\n"
       "]\n"},
      {"A,128,740.8,755.5,-1e3", ResultFormat::kJson, cass, FieldDelimiter::kComma, 2,
       "[\n  {\"name\": \"A\", \"x\": 291.64, \"y\": -7.11, \"h\": -1000}\n]\n"},
      // Quoted fields, as spreadsheets and the CSV result write them, read
      // as their text in every delimiter (the quotes were kept, the
      // delimiter inside split the field).
      {"\"P \"\"7\"\", east\",755.5,740.8,\"1,5\"\r\n", ResultFormat::kCsv, usual,
       FieldDelimiter::kComma, 1, "\"P \"\"7\"\", east\",291.6,-7.1,\"1,5\"\r\n"},
      {" \"A;B\" ; \"755.5\";740.8;\"\"\"\"\r\n", ResultFormat::kCsv, usual,
       FieldDelimiter::kSemicolon, 1, "A;B,291.6,-7.1,\"\"\"\"\r\n"},
      {"\"A\tB\"\t755.5\t740.8\r\n", ResultFormat::kCsv, usual, FieldDelimiter::kTab, 1,
       "A\tB,291.6,-7.1,\r\n"},
      {"\"Point  \"\"A\"\"\"  755.5 \"740.8\" \"\"\r\n", ResultFormat::kCsv, usual,
       FieldDelimiter::kWhitespace, 1, "\"Point  \"\"A\"\"\",291.6,-7.1,\r\n"},
      // Not quoted fields: a quote after the text, one not closed, or
      // text after the closing quote; each field is its bytes.
      {"A\"B,755.5,740.8,\"x\"y\r\n\"C,755.5,740.8\r\n", ResultFormat::kCsv, usual,
       FieldDelimiter::kComma, 1,
       "\"A\"\"B\",291.6,-7.1,\"\"\"x\"\"y\"\r\n\"\"\"C\",291.6,-7.1,\r\n"},
  };
  for (const auto& row : rows) {
    format_ = row.format;
    decimals_ = row.decimals;
    request_.layout.fields = row.columns;
    request_.layout.delimiter = row.delimiter;
    auto run = Run(row.bytes);
    ASSERT_TRUE(run.ok()) << row.bytes << ": " << Describe(run.error());
    EXPECT_EQ(Result(), row.result) << row.bytes;
  }
}

// CSV written, read back, written again: the names stay as they were
// (quoted names grew by a layer of quotes every pass, or were split).
TEST_F(ConversionRun, CsvNamesComeBackAsWritten) {
  format_ = ResultFormat::kCsv;
  for (const char* name : {"A\"B", "\"A\"\"B\"", "A,B", "A;B", "\"", ",;\" x ;,", "点\"1\""}) {
    PointRecord point;
    point.name = name;
    std::string written;
    AppendCsvLine(written, point, {755.5, 740.8}, PointLayout{}.fields, "0.00000");
    ASSERT_TRUE(Run(written).ok()) << name;
    const std::string once = Result();
    ASSERT_TRUE(Run(once, Direction::kConstructionToSurvey).ok()) << name;
    EXPECT_EQ(Result(), written) << name;
  }
}

// The command line writes the results of all its point files with one
// writer: each result starts afresh (a JSON array that went on from the
// file before, or a byte-order mark that stayed, would be a fault). The
// points are the help example's first, rounded; JSON is UTF-8 without a
// byte-order mark.
TEST_F(ConversionRun, OneWriterServesResultAfterResult) {
  const struct {
    ResultFormat format;
    const char* first;
    const char* second;
  } rows[] = {
      {ResultFormat::kTable,
       "\xEF\xBB\xBF"
       "A           291.64066         -7.11449           \r\n",
       "B           291.64066         -7.11449           1.0000\r\n"},
      {ResultFormat::kCsv,
       "\xEF\xBB\xBF"
       "A,291.6,-7.1,\r\n",
       "B,291.6,-7.1,1\r\n"},
      {ResultFormat::kJson, "[\n  {\"name\": \"A\", \"x\": 291.6, \"y\": -7.1, \"h\": null}\n]\n",
       "[\n  {\"name\": \"B\", \"x\": 291.6, \"y\": -7.1, \"h\": 1}\n]\n"},
  };
  for (const auto& row : rows) {
    const std::unique_ptr<ResultWriter> writer = MakeResultWriter(row.format, 1, request_.layout);
    std::vector<std::string> results;
    for (const char* bytes : {"\xEF\xBB\xBF"
                              "A,755.5,740.8\n",
                              "B,755.5,740.8,1\r\n"}) {
      request_.point_path = dir_.Write("pts.csv", bytes);
      request_.result_path = ResultPathFor(request_.point_path, writer->Extension());
      auto run = ConvertRun(request_, kParams, *writer);
      ASSERT_TRUE(run.ok()) << Describe(run.error());
      results.push_back(Result());
    }
    EXPECT_EQ(results, (std::vector<std::string>{row.first, row.second}));
  }
}

TEST_F(ConversionRun, WindowLimitOf4000Fields) {
  std::string thousand;
  for (int i = 0; i < 1000; ++i) thousand += "P,1,2,3\r\n";
  request_.field_limit = kWindowFieldLimit;
  ASSERT_TRUE(Run(thousand).ok());
  auto run = Run(thousand + "Q,1,2,3\r\n");
  ASSERT_FALSE(run.ok());
  EXPECT_EQ(run.error().kind, RunErrorKind::kTooManyFields);
  EXPECT_EQ(Describe(run.error()),
            request_.point_path + ":1001: more than 4000 fields in the file");
  request_.field_limit.reset();
  EXPECT_TRUE(Run(thousand + "Q,1,2,3\r\n").ok());
}

TEST_F(ConversionRun, WindowRefusesParametersNotAllNonZero) {
  request_.refuse_unset_params = true;
  const struct {
    RunParams params;
    RunErrorKind kind;
  } rows[] = {
      {{0, 0, 0}, RunErrorKind::kParamsNotComputed},
      {{500, 0, 0.5}, RunErrorKind::kParamsIncomplete},
      {{500, 600, 0}, RunErrorKind::kParamsIncomplete},
  };
  for (const auto& row : rows) {
    auto run = Run(kHelpExample, Direction::kSurveyToConstruction, row.params);
    ASSERT_FALSE(run.ok());
    EXPECT_EQ(run.error().kind, row.kind);
    EXPECT_EQ(dir_.Files(), std::vector<std::string>{"pts.csv"});
  }
  // A bad file is reported before the parameters are judged.
  auto run = Run("A,x,1\r\n", Direction::kSurveyToConstruction, {0, 0, 0});
  ASSERT_FALSE(run.ok());
  EXPECT_EQ(run.error().kind, RunErrorKind::kNotANumber);
}

TEST_F(ConversionRun, ResultThatCannotBeWritten) {
  request_.point_path = dir_.Write("pts.csv", kHelpExample);
  for (const std::string& result : {dir_ / "folder", dir_ / "missing/pts.txt"}) {
    std::filesystem::create_directory(dir_ / "folder");
    request_.result_path = result;
    auto run = ConvertRun(request_, kParams, *MakeTableWriter());
    ASSERT_FALSE(run.ok()) << result;
    EXPECT_EQ(run.error().kind, RunErrorKind::kCannotWrite);
    EXPECT_EQ(run.error().path, result);
    EXPECT_EQ(dir_.Files(), (std::vector<std::string>{"folder", "pts.csv"}));
  }
  EXPECT_EQ(Describe(ConvertRun(request_, kParams, *MakeTableWriter()).error()),
            dir_ / "missing/pts.txt" + ": cannot write: No such file or directory");
}

TEST_F(ConversionRun, NeverReplacesItsOwnPointFile) {
  request_.point_path = dir_.Write("pts.csv", kHelpExample);
  // Another name for the same file: a hard link, which Windows has too.
  std::filesystem::create_hard_link(request_.point_path, dir_ / "link.txt");
  for (const std::string& result : {request_.point_path, dir_ / "link.txt"}) {
    request_.result_path = result;
    auto run = ConvertRun(request_, kParams, *MakeTableWriter());
    ASSERT_FALSE(run.ok()) << result;
    EXPECT_EQ(run.error().kind, RunErrorKind::kResultIsPointFile);
    EXPECT_EQ(ReadBytes(request_.point_path), kHelpExample);
    EXPECT_EQ(dir_.Files(), (std::vector<std::string>{"link.txt", "pts.csv"}));
  }
}

// `count` points of one line length each, "P00000,755.5,740.8,1\r\n" on:
// the share of the file read after n points is n / count.
std::string ManyPoints(int count, const char* delimiter = ",") {
  std::string bytes;
  char line[64];
  for (int i = 0; i < count; ++i) {
    std::snprintf(line, sizeof line, "P%05d%s755.5%s740.8%s1\r\n", i, delimiter, delimiter,
                  delimiter);
    bytes += line;
  }
  return bytes;
}

// A run stopped by its progress callback, wherever it stops (while the
// file is checked, while points are converted, after the last one), leaves
// no result and no temporary file, and an earlier result byte for byte.
TEST_F(ConversionRun, CancelledRunWritesNothing) {
  const struct {
    const char* what;
    int points;
    bool checked_first;  // refuse_unset_params: the file is read twice
    bool whitespace;     // a layout of its own: every line read on its own
    int cancel_at;       // the call of the callback that returns false
    int calls;           // the calls a run to its end makes
  } rows[] = {
      {"first call, while converting", 10000, false, false, 1, 3},
      {"mid-run", 10000, false, false, 2, 3},
      {"at the end", 10000, false, false, 3, 3},
      {"a file of four points: its one call", 4, false, false, 1, 1},
      {"while the file is checked", 10000, true, false, 1, 5},
      {"converting, after the check", 10000, true, false, 3, 5},
      {"at the end, after the check", 10000, true, false, 5, 5},
      {"mid-run, lines read one by one", 10000, false, true, 2, 3},
  };
  for (const auto& row : rows) {
    for (const bool earlier : {false, true}) {
      SCOPED_TRACE(std::string(row.what) + (earlier ? ", an earlier result" : ""));
      std::filesystem::remove(PathFromUtf8(dir_ / "pts转化后成果表.txt"));
      if (earlier) dir_.Write("pts转化后成果表.txt", "earlier result\r\n");
      request_.refuse_unset_params = row.checked_first;
      request_.layout.delimiter =
          row.whitespace ? FieldDelimiter::kWhitespace : FieldDelimiter::kComma;
      int calls = 0;
      request_.progress = [&](double) { return ++calls < row.cancel_at; };
      auto run = Run(ManyPoints(row.points, row.whitespace ? " " : ","));
      ASSERT_FALSE(run.ok());
      EXPECT_EQ(Describe(run.error()), request_.point_path + ": cancelled: no result written");
      EXPECT_EQ(calls, row.cancel_at);
      if (earlier) {
        EXPECT_EQ(Result(), "earlier result\r\n");
        EXPECT_EQ(dir_.Files(), (std::vector<std::string>{"pts.csv", "pts转化后成果表.txt"}));
      } else {
        EXPECT_EQ(dir_.Files(), std::vector<std::string>{"pts.csv"});
      }
      // The same run not cancelled: the calls it makes, and a result.
      calls = 0;
      request_.progress = [&](double) { return ++calls > 0; };
      ASSERT_TRUE(Run(ManyPoints(row.points, row.whitespace ? " " : ",")).ok());
      EXPECT_EQ(calls, row.calls);
      EXPECT_EQ(dir_.Files(), (std::vector<std::string>{"pts.csv", "pts转化后成果表.txt"}));
    }
  }
}

// The shares a run to its end tells: by the bytes read, the first reading
// of a file checked first counting half; never going back, ending at 1.
TEST_F(ConversionRun, ProgressSharesGrowToOne) {
  const struct {
    bool checked_first;
    // After n of the 10000 points read, n / 10000 (of the half, when
    // checked first), to within a point's line: the reader's batches end
    // a line apart from multiples of 4096.
    std::vector<double> shares;
  } rows[] = {
      {false, {0.4096, 0.8192, 1}},
      {true, {0.2048, 0.4096, 0.7048, 0.9096, 1}},
  };
  for (const auto& row : rows) {
    request_.refuse_unset_params = row.checked_first;
    std::vector<double> shares;
    request_.progress = [&](double share) {
      shares.push_back(share);
      return true;
    };
    auto run = Run(ManyPoints(10000));
    ASSERT_TRUE(run.ok()) << Describe(run.error());
    EXPECT_EQ(run->points, 10000u);
    ASSERT_EQ(shares.size(), row.shares.size());
    for (std::size_t i = 0; i < shares.size(); ++i) {
      EXPECT_NEAR(shares[i], row.shares[i], 0.0001) << i;
      if (i > 0) {
        EXPECT_LE(shares[i - 1], shares[i]) << i;
      }
    }
    EXPECT_EQ(shares.back(), 1.0);
  }
}

}  // namespace
}  // namespace torvane
