// torvane-bench-start TORVANE [RUNS]: the time from starting
// `TORVANE --workbench` to its first frame, against a bare Qt window with
// as many widgets, started alternately RUNS times each (20 by default);
// prints the medians, the fastest runs and the ratio of the medians. The
// same bare window after the set-up both windows start with
// (SetUpApplication: the Chinese font, the icon, Qt's Chinese texts) is
// timed too, to tell the set-up's share from the workbench's own.
// torvane-bench-start --bare N WIDTH HEIGHT [--set-up]: the bare window
// itself, a main window of N widgets (labels, in a grid) of that size.
// Both end at their first frame through program/first_frame.h, which
// writes "first frame: N widgets in WIDTHxHEIGHT"; the time is taken when
// that line arrives. Needs a display (bench/workbench_start.sh runs it
// under xvfb-run).
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMainWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "desktop/chinese_ui.h"
#include "program/first_frame.h"

extern char** environ;

namespace {

struct FirstFrame {
  double seconds = 0;  // from the start of the program to its line
  std::string line;    // "first frame: ...", or empty when none came
};

// Runs `arguments` with TORVANE_FIRST_FRAME set and waits for its line.
FirstFrame TimeFirstFrame(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
  // Qt's warnings (XDG_RUNTIME_DIR not set and the like) would bury the
  // results: a program that fails is run again by hand to see why.
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  setenv(torvane::kFirstFrameVariable, "1", 1);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);
  FirstFrame result;
  if (spawned != 0) {
    close(pipe_ends[0]);
    std::fprintf(stderr, "torvane-bench-start: cannot start %s: %s\n", argv[0],
                 std::strerror(spawned));
    return result;
  }
  char buffer[256];
  ssize_t got = 0;
  while ((got = read(pipe_ends[0], buffer, sizeof buffer)) > 0) {
    result.line.append(buffer, static_cast<size_t>(got));
    if (result.line.find('\n') != std::string::npos) break;
  }
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  close(pipe_ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (result.line.rfind("first frame: ", 0) != 0) result.line.clear();
  while (!result.line.empty() && result.line.back() == '\n') result.line.pop_back();
  return result;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Bare(int argc, char** argv, bool set_up) {
  QApplication app(argc, argv);
  if (set_up) torvane::SetUpApplication(app);
  const int widgets = std::atoi(argv[2]);
  QMainWindow window;
  if (widgets > 0) {
    auto* central = new QWidget(&window);
    auto* grid = new QGridLayout(central);
    window.setCentralWidget(central);
    // Labels until the window holds as many widgets as the workbench.
    for (int i = 0; window.findChildren<QWidget*>().size() < widgets; ++i) {
      grid->addWidget(new QLabel(QStringLiteral("点号 %1").arg(i + 1), central), i / 8, i % 8);
    }
  }
  window.resize(std::atoi(argv[3]), std::atoi(argv[4]));
  torvane::EndAtFirstFrameWhenAsked(window);
  window.show();
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  if ((argc == 5 || (argc == 6 && std::strcmp(argv[5], "--set-up") == 0)) &&
      std::strcmp(argv[1], "--bare") == 0) {
    return Bare(argc, argv, argc == 6);
  }
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr,
                 "usage: torvane-bench-start TORVANE [RUNS]\n"
                 "       torvane-bench-start --bare WIDGETS WIDTH HEIGHT [--set-up]\n");
    return 2;
  }
  const std::string torvane = argv[1];
  const int runs = argc == 3 ? std::atoi(argv[2]) : 20;
  if (runs < 1) {
    std::fprintf(stderr, "torvane-bench-start: RUNS \"%s\" is not a whole number above 0\n",
                 argv[2]);
    return 2;
  }
  // A first run, not counted, tells the workbench's widgets and size, and
  // brings the libraries and fonts into the page cache.
  const FirstFrame probe = TimeFirstFrame({torvane, "--workbench"});
  int widgets = 0, width = 0, height = 0;
  if (std::sscanf(probe.line.c_str(), "first frame: %d widgets in %dx%d", &widgets, &width,
                  &height) != 3) {
    std::fprintf(stderr,
                 "torvane-bench-start: %s --workbench wrote no first-frame line (run it with "
                 "%s=1 to see its messages)\n",
                 torvane.c_str(), torvane::kFirstFrameVariable);
    return 1;
  }
  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return 1;
  self[length] = '\0';
  const std::vector<std::string> bare = {self, "--bare", std::to_string(widgets),
                                         std::to_string(width), std::to_string(height)};
  std::vector<std::string> set_up = bare;
  set_up.push_back("--set-up");
  const std::vector<std::string> workbench = {torvane, "--workbench"};
  struct Series {
    const char* name;
    const std::vector<std::string>* command;
    std::vector<double> seconds;
  };
  Series series[] = {{"torvane --workbench", &workbench, {}},
                     {"bare window", &bare, {}},
                     {"bare window, set up", &set_up, {}}};
  TimeFirstFrame(bare);
  TimeFirstFrame(set_up);
  for (int i = 0; i < runs; ++i) {
    // Each in turn, starting with another each round, so that none always
    // follows the same one.
    for (int k = 0; k < 3; ++k) {
      Series& one = series[(i + k) % 3];
      const FirstFrame run = TimeFirstFrame(*one.command);
      if (run.line.empty()) {
        std::fprintf(stderr,
                     "torvane-bench-start: %s, run %d, wrote no first-frame line (run it with "
                     "%s=1 to see its messages)\n",
                     one.name, i + 1, torvane::kFirstFrameVariable);
        return 1;
      }
      one.seconds.push_back(run.seconds);
    }
  }
  std::printf("%d runs each, in turn; %d widgets, %dx%d pixels\n", runs, widgets, width, height);
  double median[3], fastest[3];
  for (int k = 0; k < 3; ++k) {
    median[k] = Median(series[k].seconds);
    fastest[k] = *std::min_element(series[k].seconds.begin(), series[k].seconds.end());
    std::printf("%-21s median %6.1f ms  (fastest %6.1f ms)\n", series[k].name, median[k] * 1e3,
                fastest[k] * 1e3);
  }
  std::printf("ratio to the bare window: %.2f (fastest runs: %.2f)\n", median[0] / median[1],
              fastest[0] / fastest[1]);
  std::printf("ratio to the bare window set up: %.2f (fastest runs: %.2f)\n", median[0] / median[2],
              fastest[0] / fastest[2]);
  return 0;
}
