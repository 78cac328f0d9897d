#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "ui/ScreenRules.h"
#include "ui/qt/QtPrompter.h"
#include "ui/qt/ScreenKit.h"

using namespace zv;

TEST(ScreenKit, ColoursTwipsAndLineBreaks) {
  EXPECT_EQ(vbColor(0xFF0000), QColor(0, 0, 255));
  EXPECT_EQ(vbColor(0xFFFF00), QColor(0, 255, 255));
  EXPECT_EQ(vbColor(0x800000), QColor(0, 0, 128));
  EXPECT_EQ(twipsToPixels(1440, 96), 96);
  EXPECT_EQ(twipsToPixels(1000, 96), 67);
  EXPECT_TRUE(Between(105, 1, 105));
  EXPECT_FALSE(Between(106, 1, 105));
  // The system's line breaks become newlines in a message box.
  EXPECT_EQ(displayText("Data disk write protected!\r\rSet it writable."), QString("Data disk write protected!\n\nSet it writable."));
  EXPECT_EQ(displayText("a\r\nb"), QString("a\nb"));
}

TEST(ScreenKit, FocusHighlightsOnlyItsRowOnlyEnterAndSpaceActArrowsMove) {
  QWidget window;
  auto* panel = new MsgPanel(&window);
  MenuChoices rows(&window, panel);
  QVector<int> chosen;
  auto* layout = new QVBoxLayout(&window);
  for (int i = 0; i < 3; ++i) layout->addWidget(rows.add(QString("Row %1").arg(i), QString("Help %1").arg(i))->parentWidget());
  layout->addWidget(panel);
  QObject::connect(&rows, &MenuChoices::chosen, [&](int i) { chosen.push_back(i); });
  window.show();
  QApplication::setActiveWindow(&window);
  rows.button(2)->setFocus();
  QApplication::processEvents();
  EXPECT_TRUE(rows.isHighlighted(2));
  EXPECT_FALSE(rows.isHighlighted(0));
  EXPECT_TRUE(rows.button(2)->font().bold());
  EXPECT_EQ(rows.panel(2)->palette().color(QPalette::Window), QColor(0, 255, 255));
  EXPECT_EQ(rows.panel(1)->palette().color(QPalette::Window), QColor(0, 0, 255));
  EXPECT_EQ(panel->text(), "Help 2");
  rows.HighlightMenuChoice(2, 2);
  EXPECT_TRUE(rows.isHighlighted(2));
  EXPECT_FALSE(rows.isHighlighted(1));

  rows.button(0)->setFocus();
  QApplication::processEvents();
  QTest::keyClick(rows.button(0), Qt::Key_A);
  EXPECT_TRUE(chosen.isEmpty());
  QTest::keyClick(rows.button(0), Qt::Key_Down);
  EXPECT_TRUE(rows.button(1)->hasFocus());
  QTest::keyClick(rows.button(1), Qt::Key_Return);
  QTest::keyClick(rows.button(1), Qt::Key_Space);
  EXPECT_EQ(chosen, (QVector<int>{1, 1}));
  QTest::keyClick(rows.button(1), Qt::Key_Up);
  EXPECT_TRUE(rows.button(0)->hasFocus());
}

TEST(ScreenKit, PlaceFrameSits500TwipsAboveTheMiddle) {
  QWidget form;
  form.resize(800, 600);
  QWidget frame(&form);
  frame.resize(400, 200);
  placeFrame(&frame, &form);
  EXPECT_EQ(frame.pos(), QPoint(200, 300 - (200 + twips(1000)) / 2));
}
