// torvane: the window for converting point coordinates between the survey
// grid and the construction grid. Without --workbench the classic window,
// which keeps no settings and ignores any argument;
// `torvane --workbench [PROJECT.torvane]` the workbench, opening the
// project when one is named (the first argument besides --workbench; any
// further ones are ignored, as the desktop entry passes one file);
// `torvane --report=OUT.pdf|OUT.html --points=FILE|--project=FILE ...` the
// calibration report, written without a window or a display.
#include <QApplication>
#include <QSocketNotifier>
#include <QStringList>
#include <memory>

#include "app/main_window.h"
#include "desktop/chinese_ui.h"
#include "desktop/qt_platform.h"
#include "os/display.h"
#include "os/ending_signals.h"
#include "os/process_io.h"
#include "program/first_frame.h"
#include "program/report_run.h"
#include "workbench/workbench_window.h"

namespace {

// The classic window, or the workbench with --workbench, until it is
// closed or ended by SIGTERM or SIGHUP (a logout); returns the event
// loop's status. Either way the windows and the platform are gone on
// return, and with the platform Qt's temporary settings folder.
int RunWindows(QStringList arguments) {
  torvane::QtPlatform platform;
  // Without a Chinese font every caption would be boxes: said first.
  if (const QString missing = torvane::MissingChineseFontMessage(); !missing.isEmpty()) {
    platform.ShowMessage(nullptr, missing, QString::fromUtf8(torvane::kAppTitle),
                         torvane::MessageIcon::kWarning, torvane::MessageButtons::kOk);
  }
  // A signal that ends the session leaves the event loop as Ctrl+Q does.
  std::unique_ptr<QSocketNotifier> ending;
  if (const int signalled = torvane::CatchEndingSignals(); signalled >= 0) {
    ending = std::make_unique<QSocketNotifier>(signalled, QSocketNotifier::Read);
    QObject::connect(ending.get(), &QSocketNotifier::activated, [] { QApplication::exit(1); });
  }
  if (arguments.removeAll(QStringLiteral("--workbench")) > 0) {
    // Its own desktop entry, set before the window shows: Wayland
    // desktops match the window to the entry of this name.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(torvane::kWorkbenchDesktopFileName));
    // The classic window, opened from the workbench's 窗口 menu: one at a
    // time, as it would start on its own; raised when it is still open.
    std::unique_ptr<torvane::MainWindow> classic;
    torvane::WorkbenchWindow workbench(platform);
    workbench.SetClassicWindow([&classic, &platform] {
      if (!classic || !classic->isVisible()) {
        classic = std::make_unique<torvane::MainWindow>(platform);
        classic->Form_Load();
        classic->show();
      }
      classic->raise();
      classic->activateWindow();
    });
    torvane::EndAtFirstFrameWhenAsked(workbench);
    workbench.show();
    // Shown first, so that a project that cannot be opened is told over
    // the window, which then stays empty.
    if (!arguments.isEmpty()) workbench.OpenProject(arguments.first());
    return QApplication::exec();
  }
  torvane::MainWindow window(platform);
  window.Form_Load();
  torvane::EndAtFirstFrameWhenAsked(window);
  window.show();
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  // Before anything opens a file: started from a desktop with standard
  // error closed, a result table being written could otherwise take its
  // descriptor and receive Qt's warnings.
  torvane::ReopenClosedStandardStreams();
  const bool report = torvane::AsksForReport(argc, argv);
  if (report) torvane::StartWithoutDisplay();
  QApplication app(argc, argv);
  torvane::SetUpApplication(app);
  // Qt has taken its own options (-style and the like) out of these.
  QStringList arguments = QApplication::arguments().mid(1);
  if (report) return torvane::RunReportCommand(arguments);
  const int status = RunWindows(arguments);
  // Ended by a signal once everything is cleaned up, as the signal would
  // have ended it.
  if (const int signal_number = torvane::CaughtEndingSignal()) {
    torvane::EndBySignal(signal_number);
  }
  return status;
}
