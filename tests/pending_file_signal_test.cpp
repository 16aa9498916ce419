// How a run that is stopped from outside leaves the result's folder: a
// signal, a file-size limit. Each run is a child process, stopped as a
// surveyor's Ctrl-C, a shutdown or a full quota would stop it.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "batch/conversion_run.h"
#include "os/file_system.h"
#include "os/pending_file.h"
#include "report/result_table.h"
#include "temp_dir.h"

namespace torvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;

const std::string kEarlier = "an earlier table\r\n";

// Runs `child` in a child process; its wait status.
template <class F>
int InChild(F child) {
  const pid_t pid = fork();
  if (pid == 0) {
    child();
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

TEST(PendingFileSignals, StoppedMidTableLeavesTheEarlierTableAndNothingElse) {
  const struct {
    const char* what;
    bool unnamed;
    int signal_number;
  } rows[] = {
      {"unnamed, SIGKILL", true, SIGKILL}, {"unnamed, SIGTERM", true, SIGTERM},
      {"named, SIGINT", false, SIGINT},    {"named, SIGTERM", false, SIGTERM},
      {"named, SIGHUP", false, SIGHUP},    {"named, SIGQUIT (Ctrl-\\)", false, SIGQUIT},
      {"named, SIGPIPE", false, SIGPIPE},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    TempDir dir;
    const std::string table = dir.Write("table.txt", kEarlier);
    const int status = InChild([&] {
      const rlimit no_core{0, 0};  // SIGQUIT's core would land in the test's folder
      setrlimit(RLIMIT_CORE, &no_core);
      int error = 0;
      auto pending = PendingFile::Begin(PathFromUtf8(table), &error, row.unnamed);
      if (!pending) _exit(1);
      const std::string block(1 << 20, 'x');
      std::fwrite(block.data(), 1, block.size(), pending->stream());
      std::fflush(pending->stream());
      if (row.signal_number == SIGPIPE) {
        // A reader that went away, as `| head` leaves it.
        int ends[2];
        if (pipe(ends) != 0) _exit(1);
        close(ends[0]);
        (void)!write(ends[1], "x", 1);
      }
      raise(row.signal_number);
    });
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), row.signal_number);
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"table.txt"});
    EXPECT_EQ(ReadBytes(table), kEarlier);
  }
}

TEST(PendingFileSignals, AFileSizeLimitIsAWriteErrorNotADeath) {
  TempDir dir;
  std::string points;
  for (int i = 0; i < 20000; ++i) points += "P" + std::to_string(i) + ",755.5,740.8,1\r\n";
  const std::string point_file = dir.Write("p.csv", points);
  const std::string table = dir.Write("table.txt", kEarlier);
  const int status = InChild([&] {
    const rlimit limit{64 << 10, 64 << 10};
    setrlimit(RLIMIT_FSIZE, &limit);
    RunRequest request;
    request.point_path = point_file;
    request.result_path = table;
    auto run = ConvertRun(request, RunParams{500, 600, 0.5}, *MakeTableWriter());
    _exit(!run.ok() && Describe(run.error()) == table + ": cannot write: File too large" ? 0 : 1);
  });
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"p.csv", "table.txt"}));
  EXPECT_EQ(ReadBytes(table), kEarlier);
}

}  // namespace
}  // namespace torvane
