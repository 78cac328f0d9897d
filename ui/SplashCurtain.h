#pragma once
// The curtain of the splash and about screen: six boxes lie over the logo and
// shrink 50 twips on every 10 ms tick until the first is below 61 twips; then
// all of them disappear. While a splash screen closes, the timer runs at one
// second and a tick only reports that it has passed (four such holds).
#include <array>

namespace zv {

class SplashCurtain {
 public:
  static constexpr int kBoxCount = 6;
  static constexpr int kStepTwips = 50;
  static constexpr int kHiddenBelowTwips = 61;
  static constexpr int kTickMs = 10;
  static constexpr int kHoldMs = 1000;
  static constexpr int kHoldCount = 4;

  explicit SplashCurtain(int boxHeightTwips);

  // One tick of the timer; ignored while the timer is stopped.
  void tick();
  // Closing a splash screen: the hold flag is set and the interval becomes one second.
  void beginHold();
  // One hold: the timer runs again and FadeDone waits for its next tick.
  void armHold();

  int height(int box) const { return heights_.at(static_cast<std::size_t>(box)); }
  bool boxesVisible() const { return boxesVisible_; }
  bool logoVisible() const { return logoVisible_; }
  bool timerEnabled() const { return timerEnabled_; }
  int intervalMs() const { return intervalMs_; }
  bool holding() const { return holding_; }
  bool FadeDone() const { return fadeDone_; }
  int ticks() const { return ticks_; }

 private:
  std::array<int, kBoxCount> heights_{};
  bool boxesVisible_ = true;
  bool logoVisible_ = false;
  bool timerEnabled_ = true;  // the timer runs from the moment the screen is loaded
  int intervalMs_ = kTickMs;
  bool holding_ = false;
  bool fadeDone_ = false;
  int ticks_ = 0;
};

}  // namespace zv
