// Text lines on Qt: a widget paints only inside its own painting, so the window keeps each line
// it is given and paints it from then on.
#include <QApplication>
#include <QFontMetrics>

#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/text_drawing.h"

namespace corvane {
namespace {

// A positive height is the whole character cell, ascent plus descent; a negative one the
// characters' own height without leading; 0 the toolkit's default size.
QFont fontWithCellHeight(const QString& face, int cellHeight) {
  QFont font(face);
  font.setStyleHint(QFont::AnyStyle, QFont::NoAntialias);
  if (cellHeight < 0) {
    font.setPixelSize(-cellHeight);
    return font;
  }
  if (cellHeight == 0) return font;
  // The cell is never smaller than the pixel size: step down until it fits (bounded by the size).
  for (int pixels = cellHeight; pixels > 1; --pixels) {
    font.setPixelSize(pixels);
    if (QFontMetrics(font).height() <= cellHeight) return font;
  }
  font.setPixelSize(1);
  return font;
}

// 0x00BBGGRR: red in the low byte.
QColor colourFromBgr(int colour) {
  const auto bits = static_cast<unsigned>(colour);
  return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                static_cast<int>((bits >> 16) & 0xFFu));
}

}  // namespace

WindowHandle foregroundWindow() {
  QWidget* active = QApplication::activeWindow();
  return active ? static_cast<WindowHandle>(active->winId()) : 0;
}

void drawTextLine(WindowHandle window, const Text& line, const Text& fontName, int cellHeight,
                  int colour, int x, int y) {
  if (window == 0 || textLength(line) == 0) return;
  auto* target = qobject_cast<MainWindow*>(QWidget::find(static_cast<WId>(window)));
  if (target == nullptr) return;
  target->addPaintedLine({toQString(line), fontWithCellHeight(toQString(fontName), cellHeight),
                          colourFromBgr(colour), QPoint(x, y)});
}

}  // namespace corvane
