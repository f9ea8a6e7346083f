// The program's message box: caption, icon, one OK button, no owner, modal for the program.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QWindow>

#include "tests/app/modal_box.h"
#include "tests/app/window_fixture.h"

namespace corvane {
namespace {

using testing_support::closeModalBoxSoon;
using testing_support::LoadedWindowTest;

class MessageBoxTest : public LoadedWindowTest {
 protected:
  // A click as the window system delivers it, so that modal blocking applies.
  void clickThroughTheWindowSystem() {
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, button->geometry().center());
    QApplication::processEvents();
  }
};

struct SeenBox {
  bool seen = false;
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  qsizetype buttonCount = 0;
  bool hasOwner = true;
  Qt::WindowModality modality = Qt::NonModal;
  int clicksWhileOpen = -1;
};

TEST_F(MessageBoxTest, ShowsTheMessageWithTheInformationIconAndOneOkButton) {
  SeenBox seen;
  closeModalBoxSoon([&](QMessageBox& box) {
    seen.seen = true;
    seen.caption = box.windowTitle();
    seen.text = box.text();
    seen.icon = box.icon();
    seen.buttonCount = box.buttons().size();
    seen.hasOwner = box.parentWidget() != nullptr;
    seen.modality = box.windowModality();
    // The window takes no input while the box is open.
    clickThroughTheWindowSystem();
    seen.clicksWhileOpen = clicks;
  });
  // "第一行" CR LF "第二行"
  const int pressed = messageBox(Text("\xB5\xDA\xD2\xBB\xD0\xD0\r\n\xB5\xDA\xB6\xFE\xD0\xD0"), kMessageBoxInformation);

  ASSERT_TRUE(seen.seen);
  EXPECT_EQ(seen.caption, QStringLiteral("信息："));
  EXPECT_EQ(seen.text, QStringLiteral("第一行\n第二行")) << "CR LF breaks the line";
  EXPECT_EQ(seen.icon, QMessageBox::Information);
  EXPECT_EQ(seen.buttonCount, 1);
  EXPECT_FALSE(seen.hasOwner);
  EXPECT_EQ(seen.modality, Qt::ApplicationModal);
  EXPECT_EQ(seen.clicksWhileOpen, 0);
  EXPECT_EQ(pressed, 1) << "the OK button";
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(clicks, 0);
  clickThroughTheWindowSystem();
  EXPECT_EQ(clicks, 1) << "the same click reaches the button once the box is gone";
}

TEST_F(MessageBoxTest, AnEmptyMessageStillShowsTheBox) {
  bool seen = false;
  closeModalBoxSoon([&](QMessageBox& box) {
    seen = true;
    EXPECT_TRUE(box.text().isEmpty());
  });
  messageBox(Text(), kMessageBoxInformation);
  EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace corvane
