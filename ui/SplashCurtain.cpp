#include "ui/SplashCurtain.h"

namespace zv {

SplashCurtain::SplashCurtain(int boxHeightTwips) { heights_.fill(boxHeightTwips); }

void SplashCurtain::tick() {
  if (!timerEnabled_) return;
  ++ticks_;
  if (holding_) {
    fadeDone_ = true;
    return;
  }
  logoVisible_ = true;
  for (int& h : heights_) h -= kStepTwips;
  if (heights_[0] < kHiddenBelowTwips) {
    boxesVisible_ = false;
    timerEnabled_ = false;
    fadeDone_ = true;
  }
}

void SplashCurtain::beginHold() {
  holding_ = true;
  intervalMs_ = kHoldMs;
}

void SplashCurtain::armHold() {
  timerEnabled_ = true;
  fadeDone_ = false;
}

}  // namespace zv
