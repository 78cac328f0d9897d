#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "tests/gui/ClientInfoTestSupport.h"
#include "ui/ScreenRules.h"
#include "ui/qt/QtPrompter.h"
#include "ui/qt/ScreenKit.h"
#include "ui/qt/frmAbout.h"

using namespace zv;

TEST(ScreenKit, ColoursTwipsAndLineBreaks) {
  EXPECT_EQ((QList<QColor>{vbColor(0xFF0000), vbColor(0xFFFF00), vbColor(0x800000)}),
            (QList<QColor>{QColor(0, 0, 255), QColor(0, 255, 255), QColor(0, 0, 128)}));
  EXPECT_EQ((std::pair{twipsToPixels(1440, 96), twipsToPixels(1000, 96)}), (std::pair{96, 67}));
  EXPECT_EQ((std::pair{Between(105, 1, 105), Between(106, 1, 105)}), (std::pair{true, false}));
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
  zvtest::showActive(&window);
  zvtest::focusOn(rows.button(2));
  auto lit = [&] { return QList<bool>{rows.isHighlighted(0), rows.isHighlighted(1), rows.isHighlighted(2)}; };
  EXPECT_EQ(lit(), (QList<bool>{false, false, true}));
  EXPECT_TRUE(rows.button(2)->font().bold());
  EXPECT_EQ(rows.panel(2)->palette().color(QPalette::Window), QColor(0, 255, 255));
  EXPECT_EQ(rows.panel(1)->palette().color(QPalette::Window), QColor(0, 0, 255));
  EXPECT_EQ(panel->text(), "Help 2");
  rows.HighlightMenuChoice(2, 2);
  EXPECT_EQ(lit(), (QList<bool>{false, false, true}));

  zvtest::focusOn(rows.button(0));
  QTest::keyClick(rows.button(0), Qt::Key_A);
  EXPECT_TRUE(chosen.isEmpty());
  EXPECT_EQ(zvtest::focusAfter(Qt::Key_Down), rows.button(1));
  for (Qt::Key k : {Qt::Key_Return, Qt::Key_Space}) QTest::keyClick(rows.button(1), k);
  EXPECT_EQ(chosen, (QVector<int>{1, 1}));
  EXPECT_EQ(zvtest::focusAfter(Qt::Key_Up), rows.button(0));
}

// The splash and about screen over the curtain (SplashCurtainTest).
TEST(SplashScreen, SplashHidesOkAndEachTickShrinksTheSixBoxesBy50Twips) {
  frmAbout splash(true);
  EXPECT_EQ(splash.windowTitle(), "Initializing...");
  EXPECT_EQ(splash.pnl1()->text(), "Zorvex v4.01");
  EXPECT_TRUE(splash.Timer1()->isActive()) << "the curtain timer runs from the moment the screen is loaded";
  splash.Timer1()->stop();  // ticks driven by hand
  splash.show();
  EXPECT_FALSE(splash.cmdOK()->isVisible());
  EXPECT_FALSE(splash.sspMenuChoice()->isVisible());
  EXPECT_FALSE(splash.logo()->isVisible()) << "the first tick shows the logo";
  for (int i = 0; i < 6; ++i) EXPECT_EQ(splash.Picture2(i)->height(), twips(1800));
  splash.Timer1_Timer();
  EXPECT_TRUE(splash.logo()->isVisible());
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(splash.Picture2(i)->height(), twips(1750));
    EXPECT_TRUE(splash.Picture2(i)->isVisible());
  }
  int ticks = 1;
  for (; !splash.FadeDone() && ticks < 100; ++ticks) splash.Timer1_Timer();
  EXPECT_EQ(ticks, 35) << "1800 twips reach 50, below 61, on the 35th tick";
  for (int i = 0; i < 6; ++i) EXPECT_FALSE(splash.Picture2(i)->isVisible());
  EXPECT_FALSE(splash.Timer1()->isActive());
}

TEST(SplashScreen, TakesNoInputAndClosesAfterTheCurtainAndFourHolds) {
  frmAbout splash(true, frmAbout::Timing{0, 10});  // holds of 10 ms instead of a second
  splash.show();
  QTest::keyClick(&splash, Qt::Key_Escape);
  EXPECT_TRUE(splash.isVisible());
  splash.close();
  EXPECT_TRUE(splash.isVisible());
  splash.waitForFade();
  QElapsedTimer clock;
  clock.start();
  splash.closeScreen();
  EXPECT_GE(clock.elapsed(), 4 * 10 - 2) << "each hold waits for its tick";
  EXPECT_EQ(splash.holdsDone(), 4);
  EXPECT_EQ(splash.curtain().ticks(), 35 + 4) << "the whole curtain, then the four holds";
  EXPECT_EQ((std::pair{splash.isVisible(), splash.Timer1()->isActive()}), std::pair(false, false));
}

TEST(AboutBox, OkInItsHighlightedPanelClosesAtOnceDuringTheCurtain) {
  frmAbout about(false);
  zvtest::showActive(&about);
  EXPECT_TRUE(about.cmdOK()->isVisible());
  EXPECT_EQ((QStringList{about.windowTitle(), about.cmdOK()->text()}), (QStringList{"About ZV", "OK"}));
  EXPECT_EQ(about.sspMenuChoice()->palette().color(QPalette::Window), QColor(0, 255, 255));
  EXPECT_TRUE(about.cmdOK()->font().bold());
  EXPECT_FALSE(about.FadeDone());
  QTest::keyClick(about.cmdOK(), Qt::Key_A);
  EXPECT_TRUE(about.isVisible()) << "letters are discarded on the button";
  QTest::keyClick(about.cmdOK(), Qt::Key_Return);
  EXPECT_EQ(zvtest::shownAndResult(about), zvtest::kClosedAccepted);
  EXPECT_EQ(about.holdsDone(), 0);
  EXPECT_TRUE(about.curtain().boxesVisible()) << "closed during the curtain";
}
