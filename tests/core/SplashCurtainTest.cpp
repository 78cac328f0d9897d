#include <gtest/gtest.h>

#include "ui/SplashCurtain.h"

using namespace zv;

TEST(SplashCurtain, BoxesOf160TwipsShrinkTo110Then60AndDisappear) {
  SplashCurtain c(160);
  EXPECT_TRUE(c.boxesVisible());
  EXPECT_FALSE(c.logoVisible());
  EXPECT_TRUE(c.timerEnabled());
  EXPECT_EQ(c.intervalMs(), 10);
  std::vector<int> seen{c.height(0)};
  while (c.boxesVisible() && seen.size() < 10) {
    c.tick();
    seen.push_back(c.height(0));
    for (int i = 1; i < SplashCurtain::kBoxCount; ++i) EXPECT_EQ(c.height(i), c.height(0));
    if (c.boxesVisible()) {
      EXPECT_TRUE(c.logoVisible());
      EXPECT_FALSE(c.FadeDone());
    }
  }
  EXPECT_EQ(seen, (std::vector<int>{160, 110, 60}));
  EXPECT_FALSE(c.boxesVisible());
  EXPECT_FALSE(c.timerEnabled());
  EXPECT_TRUE(c.FadeDone());
  c.tick();  // a stopped timer does not tick
  EXPECT_EQ(c.height(0), 60);
  EXPECT_EQ(c.ticks(), 2);
}

TEST(SplashCurtain, BoxesDisappearOnlyBelow61Twips) {
  SplashCurtain c(111);
  c.tick();
  EXPECT_EQ(c.height(0), 61);
  EXPECT_TRUE(c.boxesVisible());
  EXPECT_FALSE(c.FadeDone());
  c.tick();
  EXPECT_EQ(c.height(0), 11);
  EXPECT_FALSE(c.boxesVisible());
  EXPECT_TRUE(c.FadeDone());
}

TEST(SplashCurtain, HoldTicksOnlyReportFadeDone) {
  SplashCurtain c(160);
  c.tick();
  c.beginHold();  // closing before the curtain has finished
  EXPECT_TRUE(c.holding());
  EXPECT_EQ(c.intervalMs(), 1000);
  for (int hold = 0; hold < SplashCurtain::kHoldCount; ++hold) {
    c.armHold();
    EXPECT_FALSE(c.FadeDone());
    EXPECT_TRUE(c.timerEnabled());
    c.tick();
    EXPECT_TRUE(c.FadeDone());
    EXPECT_EQ(c.height(0), 110) << "the boxes stay as they were";
    EXPECT_TRUE(c.boxesVisible());
  }
}

TEST(SplashCurtain, HoldAfterTheCurtainRestartsTheStoppedTimer) {
  SplashCurtain c(60 + 50);
  c.tick();
  ASSERT_FALSE(c.timerEnabled());
  c.beginHold();
  c.armHold();
  EXPECT_TRUE(c.timerEnabled());
  EXPECT_FALSE(c.FadeDone());
  c.tick();
  EXPECT_TRUE(c.FadeDone());
  EXPECT_FALSE(c.boxesVisible());
}
