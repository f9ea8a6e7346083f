// The credit lines on the window's pixels, and drawTextOnWindow with its omitted parameters.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>

#include "app/credit_banner.h"
#include "app/handlers.h"
#include "tests/app/window_fixture.h"

namespace corvane {
namespace {

using testing_support::LoadedWindowTest;

// Where the two credit lines may paint: from x 350 to the right edge, from y 8 to the bottom
// of the second line's 15-pixel cell.
const QRect kCreditArea(350, 8, 459 - 350, 22 + 15 - 8);

QImage windowPixels(QWidget* window) { return window->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Pixels of exactly `colour`, counted inside and outside `area`.
struct ColourCount {
  int inside = 0;
  int outside = 0;
  int top = INT_MAX;
  int bottom = -1;
};

ColourCount countColour(const QImage& image, QRgb colour, const QRect& area) {
  ColourCount count;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) != (colour & 0xFFFFFF)) continue;
      ++(area.contains(x, y) ? count.inside : count.outside);
      count.top = std::min(count.top, y);
      count.bottom = std::max(count.bottom, y);
    }
  }
  return count;
}

const QRgb kCreditColour = qRgb(0, 136, 255);

class CreditBannerTest : public LoadedWindowTest {
 protected:
  WindowHandlers handlers() override {
    WindowHandlers counting = LoadedWindowTest::handlers();
    counting.firstActivated = [this] {
      ++firstActivations;
      onWindowFirstActivated();
    };
    return counting;
  }
};

TEST_F(CreditBannerTest, FirstActivationPaintsBothLinesRightOfTheDropDownList) {
  ASSERT_EQ(firstActivations, 1);
  const ColourCount count = countColour(windowPixels(window), kCreditColour, kCreditArea);
  EXPECT_GT(count.inside, 20);
  EXPECT_EQ(count.outside, 0);
  EXPECT_LT(count.top, 22) << "the credit line";
  EXPECT_GT(count.bottom, 23) << "the contact line";
}

TEST_F(CreditBannerTest, LinesFitTheClientAreaInTheirFifteenPixelCells) {
  ASSERT_EQ(window->paintedLines().size(), 2u);
  for (const PaintedLine& line : window->paintedLines()) {
    SCOPED_TRACE(line.text.toStdString());
    const QFontMetrics metrics(line.font);
    EXPECT_LE(metrics.height(), 15);
    EXPECT_GE(metrics.height(), 13);
    EXPECT_LE(line.topLeft.x() + metrics.horizontalAdvance(line.text), window->width());
    EXPECT_EQ(line.colour, QColor(kCreditColour));
  }
  EXPECT_EQ(window->paintedLines()[0].topLeft, QPoint(350, 8));
  EXPECT_EQ(window->paintedLines()[1].topLeft, QPoint(350, 22));
}

TEST_F(CreditBannerTest, LinesSurviveARepaintAndALaterActivationAddsNone) {
  const int before = countColour(windowPixels(window), kCreditColour, kCreditArea).inside;
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  window->repaint();
  QApplication::processEvents();
  EXPECT_EQ(firstActivations, 1);
  EXPECT_EQ(window->paintedLines().size(), 2u);
  EXPECT_EQ(countColour(windowPixels(window), kCreditColour, kCreditArea).inside, before);
}

TEST_F(CreditBannerTest, OmittedParametersDrawTheDefaultLineInRedOnTheActiveWindow) {
  ASSERT_EQ(QApplication::activeWindow(), window);
  drawTextOnWindow();
  ASSERT_EQ(window->paintedLines().size(), 3u);
  const PaintedLine& line = window->paintedLines().back();
  EXPECT_EQ(line.topLeft, QPoint(0, 0));
  EXPECT_EQ(line.font.family(), QStringLiteral("宋体"));
  const QFontMetrics metrics(line.font);
  EXPECT_LE(metrics.height(), 28) << "the whole cell is 28 pixels high";
  EXPECT_GE(metrics.height(), 26);
  // Only the strip above the edit box shows it; there it is pure red and nothing else is.
  const ColourCount red = countColour(windowPixels(window), qRgb(255, 0, 0), QRect(0, 0, 459, 28));
  EXPECT_GT(red.inside, 0);
  EXPECT_EQ(red.outside, 0);
}

TEST_F(CreditBannerTest, ColoursAreReadAsBlueGreenRed) {
  const struct {
    int colour;
    QRgb expected;
    int x;
  } rows[] = {{0x0000FF, qRgb(255, 0, 0), 2}, {0x00FF00, qRgb(0, 255, 0), 60}, {0xFF0000, qRgb(0, 0, 255), 120}};
  for (const auto& row : rows) drawTextOnWindow(windowHandle(), Text("WWW"), std::nullopt, 9, row.colour, row.x, 0);
  const QImage pixels = windowPixels(window);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.colour);
    const ColourCount count = countColour(pixels, row.expected, QRect(row.x, 0, 50, 10));
    EXPECT_GT(count.inside, 0);
    EXPECT_EQ(count.outside, 0);
  }
}

TEST_F(CreditBannerTest, AnEmptyLineDrawsNothing) {
  const QImage before = windowPixels(window);
  drawTextOnWindow(windowHandle(), Text(""), std::nullopt, 20, 0x00FF00, 0, 0);
  drawTextOnWindow(windowHandle(), Text(), std::nullopt, 20, 0x00FF00, 0, 0);
  EXPECT_EQ(window->paintedLines().size(), 2u);
  EXPECT_EQ(windowPixels(window), before);
}

TEST_F(CreditBannerTest, AGivenWindowIsDrawnOnWhateverWindowIsActive) {
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  drawTextOnWindow();  // the active window is not one the program draws on
  EXPECT_EQ(window->paintedLines().size(), 2u);
  drawTextOnWindow(windowHandle(), Text("W"), std::nullopt, 12, 0x00FF00, 2, 0);
  EXPECT_EQ(window->paintedLines().size(), 3u);
  EXPECT_GT(countColour(windowPixels(window), qRgb(0, 255, 0), QRect(0, 0, 20, 10)).inside, 0);
}

TEST_F(CreditBannerTest, NoWindowNoDrawing) {
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  drawTextOnWindow(windowHandle(), Text("W"));
  drawTextOnWindow(WindowHandle{0}, Text("W"));
  onWindowFirstActivated();
  SUCCEED() << "nothing to draw on, and no crash";
}

}  // namespace
}  // namespace corvane
