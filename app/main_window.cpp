#include "app/main_window.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <algorithm>
#include <limits>
#include <utility>

#include "app/list_rows_model.h"

namespace corvane {
namespace {

// The rightmost and lowest points the controls reach: the client area never shrinks below them.
constexpr QSize kControlsExtent{455, 390};
// The drop-down list's window, its selection field and the list that opens below it together.
constexpr int kCourierListWindowHeight = 160;

// "组合框1" and "按钮1": 12-pixel characters (leading not counted), normal weight, sans-serif.
QFont controlFont() {
  QFont font(QStringLiteral("微软雅黑"));
  font.setPixelSize(12);
  font.setWeight(QFont::Normal);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

// Centred on the screen by the outer size, each quotient truncated.
QPoint centredPosition(const QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return {0, 0};
  const QRect area = screen->geometry();
  return {area.x() + (area.width() - MainWindow::kOuterSize.width()) / 2,
          area.y() + (area.height() - MainWindow::kOuterSize.height()) / 2};
}

// The selected row stands out only while the list view has the focus.
void showListHighlight(QTreeView* list, bool shown) {
  QPalette palette = QApplication::palette(list);
  if (!shown) {
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
      palette.setColor(group, QPalette::Highlight, palette.color(group, QPalette::Base));
      palette.setColor(group, QPalette::HighlightedText, palette.color(group, QPalette::Text));
    }
  }
  list->setPalette(palette);
}

}  // namespace

MainWindow::MainWindow(WindowHandlers handlers, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      handlers_(std::move(handlers)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Corvane"));
  setWindowIcon(QIcon(QStringLiteral(":/corvane/corvane.png")));
  setBackgroundRole(QPalette::Window);
  setAutoFillBackground(true);
  setFixedSize(kClientSize);
  move(centredPosition(*this));

  createControls();
  bindEvents();
}

void MainWindow::createControls() {
  // Creation order is stacking order: list view, edit box, drop-down list, button.
  listView_ = new QTreeView(this);
  listView_->setObjectName(QStringLiteral("超级列表框1"));
  listView_->setAccessibleName(QStringLiteral("跟踪记录"));
  listView_->setGeometry(5, 40, 450, 350);
  // Rows of our own: a long tracking record goes in on top row by row, each at the same cost.
  listRows_ = new ListRowsModel({QStringLiteral("时间"), QStringLiteral("地点和跟踪进度")}, listView_);
  listView_->setModel(listRows_);
  listView_->header()->setStretchLastSection(false);
  listView_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  listView_->setColumnWidth(0, 140);
  listView_->setColumnWidth(1, 306);
  listView_->setRootIsDecorated(false);
  listView_->setItemsExpandable(false);
  listView_->setUniformRowHeights(true);
  listView_->setSortingEnabled(false);
  // The header buttons respond to clicks; no click is handled.
  listView_->header()->setSectionsClickable(true);
  listView_->setSelectionMode(QAbstractItemView::SingleSelection);
  listView_->setSelectionBehavior(QAbstractItemView::SelectRows);
  listView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  listView_->setAllColumnsShowFocus(true);

  editBox_ = new QLineEdit(this);
  editBox_->setObjectName(QStringLiteral("编辑框1"));
  editBox_->setAccessibleName(QStringLiteral("快递单号"));
  editBox_->setGeometry(5, 10, 75, 25);
  // No length limit of the program's own (Qt's default would stop at 32767 characters).
  editBox_->setMaxLength(std::numeric_limits<int>::max());

  courierList_ = new QComboBox(this);
  courierList_->setObjectName(QStringLiteral("组合框1"));
  courierList_->setAccessibleName(QStringLiteral("快递公司"));
  courierList_->setEditable(false);
  courierList_->setInsertPolicy(QComboBox::NoInsert);
  courierList_->setFont(controlFont());
  // Reached by clicking only: never a stop of the Tab cycle.
  courierList_->setFocusPolicy(Qt::ClickFocus);
  // A plain list below the field, as tall as the rest of the 160-pixel window allows.
  courierList_->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
  const int fieldHeight = courierList_->sizeHint().height();
  courierList_->setGeometry(180, 10, 160, fieldHeight);
  // The list scrolls in what the 160-pixel window leaves below the field.
  courierList_->setMaxVisibleItems(kCourierListWindowHeight);
  courierList_->view()->window()->setMaximumHeight(kCourierListWindowHeight - fieldHeight);
  courierList_->setEnabled(false);

  getInfoButton_ = new QPushButton(QStringLiteral("获取信息"), this);
  getInfoButton_->setObjectName(QStringLiteral("按钮1"));
  getInfoButton_->setAccessibleName(QStringLiteral("获取信息"));
  getInfoButton_->setFont(controlFont());
  getInfoButton_->setGeometry(90, 10, 80, 25);
  getInfoButton_->setAutoDefault(false);
  getInfoButton_->setDefault(false);

  // Tab cycles edit box, list view, button; the drop-down list sits between the button and
  // the edit box in the chain, so Tab from it reaches the edit box and Shift+Tab the button.
  setTabOrder(editBox_, listView_);
  setTabOrder(listView_, getInfoButton_);
  setTabOrder(getInfoButton_, courierList_);
  setTabOrder(courierList_, editBox_);

  // The button holds the focus when the window first takes it.
  getInfoButton_->setFocus();
  showListHighlight(listView_, false);
}

void MainWindow::bindEvents() {
  // activated comes with every confirmed pick, also of the current item, and never from code.
  connect(courierList_, &QComboBox::activated, this, [this](int) {
    if (handlers_.courierSelected) handlers_.courierSelected();
  });
  connect(getInfoButton_, &QPushButton::clicked, this, [this] {
    if (handlers_.getInfoClicked) handlers_.getInfoClicked();
  });
  // Bound to the list view alone: focus moves while the window is being destroyed too.
  connect(qApp, &QApplication::focusChanged, listView_,
          [list = listView_](QWidget*, QWidget* now) { showListHighlight(list, now == list); });
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && !everActivated_) {
    everActivated_ = true;
    // Queued, so that the activation and the painting it brings are done first.
    QMetaObject::invokeMethod(this, &MainWindow::raiseFirstActivated, Qt::QueuedConnection);
  }
  return QWidget::event(event);
}

void MainWindow::raiseFirstActivated() {
  fitOuterSize();
  repaint();
  if (handlers_.firstActivated) handlers_.firstActivated();
}

void MainWindow::fitOuterSize() {
  // Once the frame is known, the client area takes what the outer size leaves for it.
  const QSize frame = frameGeometry().size() - size();
  if (frame.isNull()) return;
  const QSize client = (kOuterSize - frame).expandedTo(kControlsExtent);
  if (client == size()) return;
  setFixedSize(client);
  move(centredPosition(*this));
}

void MainWindow::addPaintedLine(PaintedLine line) {
  paintedLines_.push_back(std::move(line));
  update();
}

void MainWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  for (const PaintedLine& line : paintedLines_) {
    painter.setFont(line.font);
    painter.setPen(line.colour);
    // The point names the top-left corner of the text; drawText wants its baseline.
    painter.drawText(line.topLeft + QPoint(0, painter.fontMetrics().ascent()), line.text);
  }
}

}  // namespace corvane
