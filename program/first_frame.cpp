#include "program/first_frame.h"

#include <QEvent>
#include <QObject>
#include <QSize>
#include <QTimer>
#include <QWidget>
#include <cassert>
#include <cstdio>
#include <cstdlib>

namespace torvane {

namespace {

// Waits for the window's first paint event; the frame is complete, and on
// its way to the screen, when the event loop next runs.
class FirstFrameProbe : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      auto* window = static_cast<QWidget*>(watched);
      const auto widgets = window->findChildren<QWidget*>().size();
      const QSize size = window->size();
      QTimer::singleShot(0, [widgets, size] {
        std::printf("first frame: %lld widgets in %dx%d\n", static_cast<long long>(widgets),
                    size.width(), size.height());
        std::fflush(stdout);
        std::_Exit(0);
      });
    }
    return false;
  }

 private:
  bool seen_ = false;
};

}  // namespace

void EndAtFirstFrameWhenAsked(QWidget& window) {
  assert(window.isWindow() && !window.isVisible());
  if (!qEnvironmentVariableIsSet(kFirstFrameVariable)) return;
  window.installEventFilter(new FirstFrameProbe(&window));
}

}  // namespace torvane
