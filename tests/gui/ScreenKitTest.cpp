#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "ui/ScreenRules.h"
#include "ui/qt/ScreenKit.h"

using namespace zv;

namespace {

struct ThreeRows {
  QWidget window;
  MsgPanel* panel = new MsgPanel(&window);
  MenuChoices rows{&window, panel};
  QVector<int> chosen;
  ThreeRows() {
    auto* layout = new QVBoxLayout(&window);
    for (int i = 0; i < 3; ++i) layout->addWidget(rows.add(QString("Row %1").arg(i), QString("Help %1").arg(i))->parentWidget());
    layout->addWidget(panel);
    QObject::connect(&rows, &MenuChoices::chosen, [this](int i) { chosen.push_back(i); });
    window.show();
    QApplication::setActiveWindow(&window);
  }
};

}  // namespace

TEST(ScreenKit, ColoursAndTwips) {
  EXPECT_EQ(vbColor(0xFF0000), QColor(0, 0, 255));
  EXPECT_EQ(vbColor(0xFFFF00), QColor(0, 255, 255));
  EXPECT_EQ(vbColor(0x800000), QColor(0, 0, 128));
  EXPECT_EQ(twipsToPixels(1440, 96), 96);
  EXPECT_EQ(twipsToPixels(1000, 96), 67);
  EXPECT_TRUE(Between(105, 1, 105));
  EXPECT_FALSE(Between(106, 1, 105));
}

TEST(ScreenKit, FocusHighlightsOnlyItsRowAndShowsHelp) {
  ThreeRows t;
  t.rows.button(2)->setFocus();
  QApplication::processEvents();
  EXPECT_TRUE(t.rows.isHighlighted(2));
  EXPECT_FALSE(t.rows.isHighlighted(0));
  EXPECT_TRUE(t.rows.button(2)->font().bold());
  EXPECT_EQ(t.rows.panel(2)->palette().color(QPalette::Window), QColor(0, 255, 255));
  EXPECT_EQ(t.rows.panel(1)->palette().color(QPalette::Window), QColor(0, 0, 255));
  EXPECT_EQ(t.panel->text(), "Help 2");
  t.rows.HighlightMenuChoice(2, 2);
  EXPECT_TRUE(t.rows.isHighlighted(2));
  EXPECT_FALSE(t.rows.isHighlighted(1));
}

TEST(ScreenKit, OnlyEnterAndSpaceActLettersAreDiscardedArrowsMove) {
  ThreeRows t;
  t.rows.button(0)->setFocus();
  QApplication::processEvents();
  QTest::keyClick(t.rows.button(0), Qt::Key_A);
  EXPECT_TRUE(t.chosen.isEmpty());
  QTest::keyClick(t.rows.button(0), Qt::Key_Down);
  EXPECT_TRUE(t.rows.button(1)->hasFocus());
  QTest::keyClick(t.rows.button(1), Qt::Key_Return);
  ASSERT_EQ(t.chosen.size(), 1);
  EXPECT_EQ(t.chosen[0], 1);
  QTest::keyClick(t.rows.button(1), Qt::Key_Space);
  ASSERT_EQ(t.chosen.size(), 2);
  EXPECT_EQ(t.chosen[1], 1);
  QTest::keyClick(t.rows.button(1), Qt::Key_Up);
  EXPECT_TRUE(t.rows.button(0)->hasFocus());
}

TEST(ScreenKit, PlaceFrameSits500TwipsAboveTheMiddle) {
  QWidget form;
  form.resize(800, 600);
  QWidget frame(&form);
  frame.resize(400, 200);
  placeFrame(&frame, &form);
  EXPECT_EQ(frame.x(), 200);
  EXPECT_EQ(frame.y(), 300 - (200 + twips(1000)) / 2);
}
