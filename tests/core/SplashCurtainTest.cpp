#include <gtest/gtest.h>

#include "ui/SplashCurtain.h"

using namespace zv;

TEST(SplashCurtain, BoxesShrinkTogetherAndDisappearOnlyBelow61Twips) {
  for (const auto& [start, expected] : {std::pair{160, std::vector<int>{160, 110, 60}}, {111, {111, 61, 11}}}) {
    SplashCurtain c(start);
    EXPECT_TRUE(c.boxesVisible());
    EXPECT_FALSE(c.logoVisible());
    EXPECT_TRUE(c.timerEnabled());
    std::vector<int> seen{c.height(0)};
    while (c.boxesVisible() && seen.size() < 10) {
      c.tick();
      seen.push_back(c.height(0));
      for (int i = 1; i < SplashCurtain::kBoxCount; ++i) EXPECT_EQ(c.height(i), c.height(0));
      if (c.boxesVisible()) { EXPECT_TRUE(c.logoVisible()); }
      EXPECT_EQ(c.FadeDone(), !c.boxesVisible()) << c.height(0);
    }
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(c.timerEnabled());
    c.tick();  // a stopped timer does not tick
    EXPECT_EQ(c.height(0), expected.back());
    EXPECT_EQ(c.ticks(), 2);
  }
}

TEST(SplashCurtain, HoldTicksOnlyReportFadeDoneAndRestartTheStoppedTimer) {
  for (int start : {160, 110}) {  // closing during the curtain, and after it
    SplashCurtain c(start);
    c.tick();
    EXPECT_EQ(c.timerEnabled(), start == 160);
    c.beginHold();
    EXPECT_TRUE(c.holding());
    EXPECT_EQ(c.intervalMs(), SplashCurtain::kHoldMs);
    for (int hold = 0; hold < SplashCurtain::kHoldCount; ++hold) {
      c.armHold();
      EXPECT_FALSE(c.FadeDone());
      EXPECT_TRUE(c.timerEnabled());
      c.tick();
      EXPECT_TRUE(c.FadeDone());
      EXPECT_EQ(c.height(0), start - 50) << "the boxes stay as they were";
      EXPECT_EQ(c.boxesVisible(), start == 160);
    }
  }
}
