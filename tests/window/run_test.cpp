// The conversion button on real point files, and the browse button.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "desktop/qt_platform.h"
#include "desktop/text_editor.h"
#include "window_fixture.h"

namespace torvane::testing {
namespace {

const QByteArray kTwoPoints =
    "III11 , 755.500 , 740.800 , 1215.101\r\n"
    "III12 , 761.500 , 782.300 , 1211.210\r\n";

// Name from column 1, X from 13, Y from 31, H from 50, CR LF.
QByteArray ResultLine(const char* name, const char* x, const char* y, const char* h) {
  QByteArray line(name);
  line = line.leftJustified(12, ' ') + x;
  line = line.leftJustified(30, ' ') + y;
  line = line.leftJustified(49, ' ') + h;
  return line + "\r\n";
}

class RunTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(folder_.isValid());
  }
  // QTemporaryDir cannot remove names that are not UTF-8: they go by their bytes.
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(folder_.path().toStdString(), ec);
  }

  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = folder_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }
  QString ResultOf(const QString& point_file) const {
    const QFileInfo info(point_file);
    return info.dir().filePath(info.completeBaseName() + "转化后成果表.txt");
  }
  static QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  // Parameters typed, then Com1 with the dialog choosing `path`.
  void Run(const QString& path) {
    platform_.ChooseNextFile(path);
    Click("Com1");
  }
  void ConvertOnce() {
    TypeParams("500", "600", "30.1520");
    Run(Write("pts.csv", kTwoPoints));
    ASSERT_FALSE(window_.ResultFilePath().isEmpty());
    platform_.ClearCalls();
  }

  QTemporaryDir folder_;
};

struct DirectionCase {
  const char* name;
  const char* option;
  QByteArray expected;
};

void PrintTo(const DirectionCase& value, std::ostream* out) { *out << value.name; }

class DirectionTest : public RunTest, public ::testing::WithParamInterface<DirectionCase> {};

TEST_P(DirectionTest, WritesTheResultTableBesideThePointFile) {
  // State: X0 500, Y0 600, rotation 30.1520, the direction chosen.
  TypeParams("500", "600", "30.1520");
  Click(GetParam().option);
  const QString points = Write("pts.csv", kTwoPoints);
  // Action: press Com1 and choose the point file.
  Run(points);
  // Expected: one dialog as laid down, then the result table and its path,
  // with nothing announced.
  const std::vector<Call> dialogs = platform_.CallsOf(CallKind::kOpenDialog);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].dialog_title, "选取要转换的坐标文件");
  EXPECT_EQ(dialogs[0].filters,
            QStringList({"Excel文件(*.csv)", "记事本(*.dat)", "文本文件(*.txt)", "所有文件(*.*)"}));
  EXPECT_EQ(CallKinds(), std::vector<CallKind>{CallKind::kOpenDialog});
  EXPECT_EQ(window_.ResultFilePath(), ResultOf(points));
  EXPECT_EQ(Read(ResultOf(points)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Directions, DirectionTest,
    ::testing::Values(DirectionCase{"SurveyToConstruction", "Op1",
                                    ResultLine("III11", "291.64066", "-7.11449", "1215.1010") +
                                        ResultLine("III12", "317.73347", "25.70951", "1211.2100")},
                      DirectionCase{
                          "ConstructionToSurvey", "Op2",
                          ResultLine("III11", "779.33301", "1620.55767", "1215.1010") +
                              ResultLine("III12", "763.60563", "1659.42796", "1211.2100")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunTest, DialogOffersTheFileChosenBefore) {
  // State: one run done on pts.csv.
  ConvertOnce();
  const QString first = folder_.filePath("pts.csv");
  // Action: press Com1 again and cancel.
  platform_.ChooseNextFile(std::nullopt);
  Click("Com1");
  // Expected: the dialog started from the file chosen before; the
  // cancelled run said nothing and kept the earlier result path.
  const std::vector<Call> dialogs = platform_.CallsOf(CallKind::kOpenDialog);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].file_name_shown, first);
  EXPECT_EQ(CallKinds(), std::vector<CallKind>{CallKind::kOpenDialog});
  EXPECT_EQ(window_.ResultFilePath(), ResultOf(first));
}

TEST_F(RunTest, CancelInTheDialogEndsTheRunSilently) {
  TypeParams("500", "600", "30.1520");
  platform_.ChooseNextFile(std::nullopt);
  Click("Com1");
  EXPECT_EQ(CallKinds(), std::vector<CallKind>{CallKind::kOpenDialog});
  EXPECT_TRUE(window_.ResultFilePath().isEmpty());
  EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList());
}

TEST_F(RunTest, ParametersNotComputedBeepAndAskForThemAfterTheFileIsChosen) {
  // State: parameter boxes empty.
  const QString points = Write("pts.csv", kTwoPoints);
  // Action: press Com1 and choose a good point file.
  Run(points);
  // Expected: dialog, beep, then the question box; nothing written.
  EXPECT_EQ(CallKinds(),
            (std::vector<CallKind>{CallKind::kOpenDialog, CallKind::kBeep, CallKind::kMessage}));
  const std::vector<Call> messages = Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].prompt, "请先计算Torvane参数！");
  EXPECT_EQ(messages[0].title, "Torvane");
  EXPECT_EQ(messages[0].icon, MessageIcon::kQuestion);
  EXPECT_EQ(messages[0].buttons, MessageButtons::kOk);
  EXPECT_FALSE(QFile::exists(ResultOf(points)));
  EXPECT_TRUE(window_.ResultFilePath().isEmpty());
}

TEST_F(RunTest, IncompleteParametersAreReportedAndNothingIsWritten) {
  // State: a pure rotation and shift mixed: Y offset zero.
  TypeParams("500", "0", "30.3");
  const QString points = Write("pts.csv", kTwoPoints);
  Run(points);
  const std::vector<Call> messages = Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, MessageIcon::kWarning);
  EXPECT_TRUE(messages[0].prompt.contains("X偏移量、Y偏移量和转角必须全部不为零"));
  EXPECT_TRUE(platform_.CallsOf(CallKind::kBeep).empty());
  EXPECT_FALSE(QFile::exists(ResultOf(points)));
  EXPECT_TRUE(window_.ResultFilePath().isEmpty());
}

TEST_F(RunTest, AParameterTooLargeToReadStopsBeforeTheDialog) {
  TypeParams("1e999", "600", "30.1520");
  Click("Com1");
  const std::vector<Call> messages = Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].prompt.contains("X偏移量"));
  EXPECT_TRUE(platform_.CallsOf(CallKind::kOpenDialog).empty());
}

struct Failure {
  const char* name;
  QByteArray bytes;               // the point file's contents
  bool create = true;             // false: the chosen name does not exist
  bool result_is_folder = false;  // a folder stands where the result goes
  const char* line;               // expected in the message ("" for none)
  const char* quoted;             // expected in the message
};

void PrintTo(const Failure& value, std::ostream* out) { *out << value.name; }

QByteArray ManyPoints(int count) {
  QByteArray bytes;
  for (int i = 0; i < count; ++i) bytes += "P" + QByteArray::number(i) + ",1.0,2.0,3.0\r\n";
  return bytes;
}

class FailureTest : public RunTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(FailureTest, SaysWhatAndWhereAndWritesNoResult) {
  const Failure& failure = GetParam();
  // State: parameters set; the point file (or its absence) as described.
  TypeParams("500", "600", "30.1520");
  const QString points =
      failure.create ? Write("pts.csv", failure.bytes) : folder_.filePath("missing.csv");
  if (failure.result_is_folder) {
    ASSERT_TRUE(QDir().mkpath(ResultOf(points)));
  }
  // Action: press Com1 and choose the file.
  Run(points);
  // Expected: one warning captioned Torvane naming the file, the line and
  // the field, saying no result table was written; none written.
  const std::vector<Call> messages = Messages();
  ASSERT_EQ(messages.size(), 1u);
  const Call& message = messages[0];
  EXPECT_EQ(message.title, "Torvane");
  EXPECT_EQ(message.icon, MessageIcon::kWarning);
  EXPECT_EQ(message.buttons, MessageButtons::kOk);
  EXPECT_TRUE(message.prompt.contains(
      QDir::toNativeSeparators(failure.result_is_folder ? ResultOf(points) : points)))
      << message.prompt.toStdString();
  EXPECT_TRUE(message.prompt.contains(QString::fromUtf8(failure.line)))
      << message.prompt.toStdString();
  EXPECT_TRUE(message.prompt.contains(QString::fromUtf8(failure.quoted)))
      << message.prompt.toStdString();
  EXPECT_TRUE(message.prompt.contains("未写出成果表")) << message.prompt.toStdString();
  EXPECT_EQ(QFileInfo(ResultOf(points)).isFile(), false);
  EXPECT_TRUE(window_.ResultFilePath().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, FailureTest,
    ::testing::Values(
        Failure{"XNotANumber", "III11 , abc , 740.800 , 1215.101\r\n", true, false, "第 1 行",
                "“abc”"},
        Failure{"YOfSecondPointNotANumber", kTwoPoints + "III13 , 750.000 , 651.35m , 1.0\r\n",
                true, false, "第 3 行", "“651.35m”"},
        Failure{"NotAPoint", "III11 , 755.500\r\n", true, false, "第 1 行", "III11"},
        Failure{"FileMissing", "", false, false, "", "无法打开"},
        Failure{"MoreThan4000Fields", ManyPoints(1001), true, false, "", "4000"},
        Failure{"ResultCannotBeWritten", kTwoPoints, true, true, "", "无法写入成果表"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunTest, NamesAreTakenAsTheyAre) {
  // State: the table of pts.csv is there; so are " pts.csv", and a file
  // whose name is not UTF-8, which the dialog shows with U+FFFD.
  TypeParams("500", "600", "30.1520");
  const QString earlier = Write("pts转化后成果表.txt", "an earlier table\r\n");
  const QString spaced = Write(" pts.csv", kTwoPoints);
  const std::string folder = folder_.path().toStdString();
  { std::ofstream(folder + "/p\xff.csv", std::ios::binary) << kTwoPoints.toStdString(); }
  // Action: convert each.
  Run(spaced);
  Run(folder_.filePath(QString::fromUtf8("p\xff.csv")));
  // Expected: each its own table, the earlier one untouched, no message.
  EXPECT_TRUE(Messages().empty()) << Messages()[0].prompt.toStdString();
  const QByteArray table = ResultLine("III11", "291.64066", "-7.11449", "1215.1010") +
                           ResultLine("III12", "317.73347", "25.70951", "1211.2100");
  EXPECT_EQ(Read(folder_.filePath(" pts转化后成果表.txt")), table);
  EXPECT_EQ(Read(earlier), "an earlier table\r\n");
  std::ifstream own(folder + "/p\xff转化后成果表.txt", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(own), {}), table.toStdString());
}

// Names that are not UTF-8 reach the window as the dialog shows them, each
// bad byte a U+FFFD. Each point file named here holds one point named after
// its place in the list, so that the table tells which file was read.
struct UndecodableCase {
  const char* name;
  std::vector<const char*> files;  // bytes, relative to the folder; folders made on the way
  const char* chosen;              // bytes of the name chosen, shown as the dialog shows it
  const char* converted;           // bytes of the file converted; null when refused
  const char* refusal;             // the message, %1 the folder; null when converted
};

void PrintTo(const UndecodableCase& value, std::ostream* out) { *out << value.name; }

class UndecodableNameTest : public RunTest,
                            public ::testing::WithParamInterface<UndecodableCase> {};

TEST_P(UndecodableNameTest, ConvertsTheChosenFileOrRefusesToGuess) {
  const UndecodableCase& row = GetParam();
  namespace fs = std::filesystem;
  const fs::path folder(folder_.path().toStdString());
  // State: the files, parameters typed.
  for (std::size_t i = 0; i < row.files.size(); ++i) {
    const fs::path file = folder / row.files[i];
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << 'F' << i << " , 755.500 , 740.800 , 1215.101\r\n";
  }
  TypeParams("500", "600", "30.1520");
  // Action: press Com1 and choose the name as the dialog shows it.
  Run(folder_.filePath(QFile::decodeName(row.chosen)));
  // Expected: the table of the chosen file beside it and no other table,
  // which 成果浏览 opens; or the refusal and no table at all.
  std::vector<std::string> tables;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.path().native().find("转化后成果表") != std::string::npos) {
      std::ifstream in(entry.path(), std::ios::binary);
      tables.push_back(fs::relative(entry.path(), folder).native() + ": " +
                       std::string(std::istreambuf_iterator<char>(in), {}));
    }
  }
  if (row.refusal == nullptr) {
    EXPECT_TRUE(Messages().empty()) << Messages()[0].prompt.toStdString();
    const std::string converted(row.converted);
    std::size_t index = 0;
    while (row.files[index] != converted) ++index;
    const std::string table =
        ResultLine(("F" + std::to_string(index)).c_str(), "291.64066", "-7.11449", "1215.1010")
            .toStdString();
    EXPECT_EQ(tables, std::vector<std::string>{fs::path(converted).replace_extension().native() +
                                               "转化后成果表.txt: " + table});
    // 成果浏览 then opens that very table, by its own bytes.
    Click("Command1");
    const std::vector<Call> editors = platform_.CallsOf(CallKind::kTextEditor);
    ASSERT_EQ(editors.size(), 1u);
    EXPECT_EQ(editors[0].local_path,
              (folder / fs::path(converted).replace_extension()).native() + "转化后成果表.txt");
    EXPECT_TRUE(Messages().empty()) << Messages()[0].prompt.toStdString();
  } else {
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].prompt,
              QString::fromUtf8(row.refusal).arg(QDir::toNativeSeparators(folder_.path())));
    EXPECT_EQ(Messages()[0].icon, MessageIcon::kWarning);
    EXPECT_EQ(tables, std::vector<std::string>{});
    EXPECT_TRUE(window_.ResultFilePath().isEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, UndecodableNameTest,
    ::testing::Values(
        // Both show as "gbk��.csv": the first the folder listed was read.
        UndecodableCase{"TwoFilesShownAlike",
                        {"gbk\xb2\xe2.csv", "gbk\xb2\xe3.csv"},
                        "gbk\xb2\xe3.csv",
                        nullptr,
                        "有 2 个文件的名称都显示为“%1/gbk��.csv”：名称中有不是 UTF-8 "
                        "编码的字符，无法确定选取的是哪一个。\n请将文件改名后再选取。\n"
                        "未写出成果表。"},
        // A name holding U+FFFD itself is one of those shown alike.
        UndecodableCase{"ARealReplacementCharacterShownAlike",
                        {"gbk��.csv", "gbk\xb2\xe2.csv"},
                        "gbk��.csv",
                        nullptr,
                        "有 2 个文件的名称都显示为“%1/gbk��.csv”：名称中有不是 UTF-8 "
                        "编码的字符，无法确定选取的是哪一个。\n请将文件改名后再选取。\n"
                        "未写出成果表。"},
        UndecodableCase{"ShownOtherwiseIsNoMatch",
                        {"gbk\xb2\xe2.csv", "gbk\xb2.csv"},
                        "gbk\xb2.csv",
                        "gbk\xb2.csv",
                        nullptr},
        // Could not be opened: the folder's name was taken with U+FFFD.
        UndecodableCase{"FolderNotUtf8",
                        {"d\xb2\xe2/pts.csv"},
                        "d\xb2\xe2/pts.csv",
                        "d\xb2\xe2/pts.csv",
                        nullptr},
        UndecodableCase{"FolderAndFileNotUtf8",
                        {"d\xb2\xe2/q.csv", "d\xb2\xe2/p\xff.csv"},
                        "d\xb2\xe2/p\xff.csv",
                        "d\xb2\xe2/p\xff.csv",
                        nullptr},
        UndecodableCase{"TwoFoldersShownAlike",
                        {"d\xb2\xe2/pts.csv", "d\xb3\xe4/pts.csv"},
                        "d\xb3\xe4/pts.csv",
                        nullptr,
                        "有 2 个文件夹的名称都显示为“%1/d��”：名称中有不是 UTF-8 "
                        "编码的字符，无法确定选取的是哪一个。\n请将文件夹改名后再选取。\n"
                        "未写出成果表。"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunTest, RunningOutOfMemoryIsReportedAndKeepsWhatWasTyped) {
  // State: parameters typed.
  TypeParams("500", "600", "30.1520");
  // Action: press Com1; memory runs out while the dialog is shown.
  platform_.RunOutOfMemoryInNextDialog();
  Click("Com1");
  // Expected: a warning saying so; the boxes as typed; the window goes on.
  const std::vector<Call> messages = Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].prompt, "内存不足，这一步没有完成。\n已输入的数值保留不变。");
  EXPECT_EQ(messages[0].icon, MessageIcon::kWarning);
  EXPECT_EQ(Text("Text9"), "500");
  EXPECT_EQ(Text("Text11"), "30.1520");
  Run(Write("pts.csv", kTwoPoints));
  EXPECT_EQ(window_.ResultFilePath(), ResultOf(folder_.filePath("pts.csv")));
}

TEST_F(RunTest, AFailedRunKeepsThePathOfTheLastWrittenResult) {
  ConvertOnce();
  const QString first = window_.ResultFilePath();
  Run(Write("bad.csv", "III11 , abc , 740.800 , 1215.101\r\n"));
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(window_.ResultFilePath(), first);
}

TEST_F(RunTest, FileErrorsComeBeforeTheParameterTest) {
  const struct {
    const char* bytes;
    const char* told;  // a piece of the message
  } rows[] = {
      {"III11 , abc , 740.800 , 1215.101\r\n", "“abc”不是数字"},
      // A GBK header, 点名,X坐标,Y坐标,H: told as a header, in Chinese that
      // reads (it was X坐标 garbled).
      {"\xB5\xE3\xC3\xFB,X\xD7\xF8\xB1\xEA,Y\xD7\xF8\xB1\xEA,H\r\nA,755.5,740.8,1\r\n",
       "第 1 行“点名,X坐标,Y坐标,H”像是表头"},
      // An .xlsx workbook (it was told as a NUL byte).
      {"PK\x03\x04\x14", "是电子表格工作簿，不是文本文件"},
  };
  for (const auto& row : rows) {
    platform_.ClearCalls();
    // State: parameters not computed, and a point file that cannot be read.
    Run(Write("bad.csv", row.bytes));
    // Expected: the file's error, no beep.
    ASSERT_EQ(Messages().size(), 1u) << row.told;
    EXPECT_TRUE(Messages()[0].prompt.contains(QString::fromUtf8(row.told)))
        << Messages()[0].prompt.toStdString();
    EXPECT_TRUE(platform_.CallsOf(CallKind::kBeep).empty());
  }
}

struct BrowseCase {
  const char* name;
  std::vector<const char*> choose;  // options chosen after the run
  bool opens;
};

void PrintTo(const BrowseCase& value, std::ostream* out) { *out << value.name; }

class BrowseTest : public RunTest, public ::testing::WithParamInterface<BrowseCase> {};

TEST_P(BrowseTest, OpensTheResultUnlessOp2AndOp4AreBothSelected) {
  // State: one run done, then the options chosen.
  ConvertOnce();
  for (const char* option : GetParam().choose) Click(option);
  // Action: press Command1.
  Click("Command1");
  // Expected: the editor on the result table, or nothing at all.
  if (GetParam().opens) {
    const std::vector<Call> editors = platform_.CallsOf(CallKind::kTextEditor);
    ASSERT_EQ(editors.size(), 1u);
    EXPECT_EQ(editors[0].path, window_.ResultFilePath());
    EXPECT_EQ(platform_.calls().size(), 1u);
  } else {
    EXPECT_TRUE(platform_.calls().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Options, BrowseTest,
                         ::testing::Values(BrowseCase{"Op1Op3", {}, true},
                                           BrowseCase{"Op2Op3", {"Op2"}, true},
                                           BrowseCase{"Op1Op4", {"Op4"}, true},
                                           BrowseCase{"Op2Op4", {"Op2", "Op4"}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunTest, BrowsingWithoutAResultSaysSoInsteadOfOpeningAnEmptyEditor) {
  // State: no run yet.  Action: press Command1.
  Click("Command1");
  // Expected: a message, no editor.
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].title, "Torvane");
  EXPECT_TRUE(platform_.CallsOf(CallKind::kTextEditor).empty());

  // State: a run done, its result deleted.  Action: press Command1.
  ConvertOnce();
  ASSERT_TRUE(QFile::remove(window_.ResultFilePath()));
  Click("Command1");
  // Expected: a message naming the missing file, no editor.
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_TRUE(Messages()[0].prompt.contains(QDir::toNativeSeparators(window_.ResultFilePath())));
  EXPECT_TRUE(platform_.CallsOf(CallKind::kTextEditor).empty());
}

TEST_F(RunTest, TwoClicksStartTwoEditorsAndAFailedStartIsReported) {
  ConvertOnce();
  Click("Command1");
  Click("Command1");
  EXPECT_EQ(platform_.CallsOf(CallKind::kTextEditor).size(), 2u);
  EXPECT_TRUE(Messages().empty());
  platform_.SetEditorStarts(false);
  Click("Command1");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].icon, MessageIcon::kWarning);
}

// The editor's command line: c:\windows\notepad.exe where it exists, else
// notepad.exe in the system's Windows folder; then a space and the path as
// it is, unquoted.
TEST(NotepadCommandLineTest, EditorThenASpaceThenThePathUnquoted) {
  const QString result = QStringLiteral(R"(D:\my data\pts转化后成果表.txt)");
  const struct {
    bool default_exists;
    const char* windows_folder;
    const char* expected;
  } rows[] = {
      {true, R"(C:\WINDOWS)", R"(c:\windows\notepad.exe D:\my data\pts转化后成果表.txt)"},
      {true, R"(D:\Windows)", R"(c:\windows\notepad.exe D:\my data\pts转化后成果表.txt)"},
      {false, R"(D:\Windows)", R"(D:\Windows\notepad.exe D:\my data\pts转化后成果表.txt)"},
      {false, R"(E:\WINNT\)", R"(E:\WINNT\notepad.exe D:\my data\pts转化后成果表.txt)"},
      // No folder known: the default, whose failure the window reports.
      {false, "", R"(c:\windows\notepad.exe D:\my data\pts转化后成果表.txt)"},
  };
  for (const auto& row : rows) {
    const QString editor = NotepadPath(row.default_exists, QString::fromUtf8(row.windows_folder));
    EXPECT_EQ(NotepadCommandLine(editor, result).toStdString(), row.expected) << row.windows_folder;
  }
}

// Qt's own file dialog, closed by Cancel, leaves nothing in the user's home
// or configuration folder: Qt writes its QtProject.conf there unless told
// otherwise, and the window keeps no settings.
TEST(QtFileDialogTest, ClosingItLeavesNoSettingsInTheUserFolders) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  const QByteArray old_home = qgetenv("HOME");
  const QByteArray old_config = qgetenv("XDG_CONFIG_HOME");
  qputenv("HOME", QFile::encodeName(home.path()));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(".config")));
  bool shown = false;
  {
    QtPlatform platform;
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&shown] {
      if (QWidget* dialog = QApplication::activeModalWidget()) {
        shown = true;
        QMetaObject::invokeMethod(dialog, "reject");
      }
    });
    cancel.start(10);
    OpenFileDialog dialog;
    dialog.title = QStringLiteral("打开");
    dialog.filters = QStringList{QStringLiteral("*.*")};
    EXPECT_FALSE(platform.ShowOpenDialog(nullptr, dialog));
  }
  qputenv("HOME", old_home);
  qputenv("XDG_CONFIG_HOME", old_config);
  EXPECT_TRUE(shown);
  // Expected: empty (Qt's default: .config/QtProject.conf).
  EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
}

}  // namespace
}  // namespace torvane::testing
