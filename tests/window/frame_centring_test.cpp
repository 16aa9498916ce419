// Where the client area goes so that the outer frame is centred.
#include <gtest/gtest.h>

#include "desktop/frame_centring.h"

namespace torvane::testing {
namespace {

TEST(CentredClientPosition, CentresTheFrameNotTheClientArea) {
  const struct {
    QRect screen;
    QMargins frame;  // left, top, right, bottom
    QSize client;
    QPoint expected;
  } rows[] = {
      // No frame (off-screen): the client area is centred, half a pixel
      // right where the width does not halve.
      {{0, 0, 1024, 768}, {0, 0, 0, 0}, {485, 342}, {270, 213}},
      // A title bar taller than the bottom border: the client area sits half
      // their difference lower than it would alone.
      {{0, 0, 1024, 768}, {1, 21, 1, 6}, {485, 342}, {270, 221}},
      {{0, 0, 1024, 768}, {4, 30, 4, 4}, {485, 342}, {270, 226}},
      // A screen that does not start at the origin.
      {{1920, 100, 1280, 1024}, {1, 21, 1, 6}, {485, 342}, {2318, 449}},
      // Larger than the screen: half the excess beyond the left and top
      // edges, and again half a pixel right and down where it does not halve.
      {{0, 0, 800, 600}, {0, 0, 0, 0}, {1000, 800}, {-100, -100}},
      {{0, 0, 800, 600}, {1, 21, 1, 6}, {1000, 800}, {-100, -92}},
      {{0, 0, 800, 600}, {0, 0, 0, 0}, {1001, 801}, {-100, -100}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(CentredClientPosition(row.screen, row.frame, row.client), row.expected)
        << "frame " << row.frame.top() << "/" << row.frame.bottom() << " client "
        << row.client.width() << "x" << row.client.height();
  }
}

}  // namespace
}  // namespace torvane::testing
