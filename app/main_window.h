// MainWindow: the program's one window, its four controls, and the events they raise.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QWidget>
#include <vector>

#include "app/window_handlers.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace corvane {

class ListRowsModel;

// A line of text the window paints onto its client area, beneath its controls.
struct PaintedLine {
  QString text;
  QFont font;
  QColor colour;
  QPoint topLeft;
};

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // Frame and title bar included; the client size stands in while the frame is not known.
  static constexpr QSize kOuterSize{465, 425};
  static constexpr QSize kClientSize{459, 397};

  explicit MainWindow(WindowHandlers handlers, QWidget* parent = nullptr);

  [[nodiscard]] QTreeView* listView() const { return listView_; }
  // The rows the list view shows.
  [[nodiscard]] ListRowsModel* listRows() const { return listRows_; }
  [[nodiscard]] QLineEdit* editBox() const { return editBox_; }
  [[nodiscard]] QComboBox* courierList() const { return courierList_; }
  [[nodiscard]] QPushButton* getInfoButton() const { return getInfoButton_; }

  // Keeps the line and paints it from now on, also after later repaints.
  void addPaintedLine(PaintedLine line);
  [[nodiscard]] const std::vector<PaintedLine>& paintedLines() const { return paintedLines_; }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void createControls();
  void bindEvents();
  void raiseFirstActivated();
  void fitOuterSize();

  WindowHandlers handlers_;
  QTreeView* listView_ = nullptr;
  ListRowsModel* listRows_ = nullptr;
  QLineEdit* editBox_ = nullptr;
  QComboBox* courierList_ = nullptr;
  QPushButton* getInfoButton_ = nullptr;
  std::vector<PaintedLine> paintedLines_;
  bool everActivated_ = false;
};

// The window loadWindow made, while it exists; null otherwise.
[[nodiscard]] MainWindow* loadedMainWindow();

}  // namespace corvane
