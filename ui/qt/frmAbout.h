#pragma once
// The splash screen at start-up and the about box of the main menu: the
// product panel "Zorvex v4.01" and the logo, revealed by the curtain of six
// shrinking boxes (see SplashCurtain).
#include <QDialog>
#include <QTimer>
#include <array>

#include "ui/SplashCurtain.h"

class QLabel;
class QFrame;
class QPushButton;

namespace zv {

class MenuChoices;

// The curtain's tick and the length of one hold. The program uses the
// designed values; tests and the start-up benchmark run without the waits.
struct SplashTiming {
  int tickMs = SplashCurtain::kTickMs;
  int holdMs = SplashCurtain::kHoldMs;
};

class frmAbout : public QDialog {
  Q_OBJECT
 public:
  using Timing = SplashTiming;
  static Timing noWaits() { return {0, 0}; }

  // `splash` is the Splash flag, set before the screen is loaded.
  explicit frmAbout(bool splash, Timing timing = Timing(), QWidget* parent = nullptr);

  bool Splash() const { return splash_; }
  bool FadeDone() const { return curtain_.FadeDone(); }
  const SplashCurtain& curtain() const { return curtain_; }
  int holdsDone() const { return holds_; }

  // Start-up: lets events run until the curtain has finished.
  void waitForFade();
  // Closes the screen; a splash screen first holds four times.
  void closeScreen();

  QWidget* Picture2(int i) const { return boxes_.at(static_cast<std::size_t>(i)); }
  QWidget* logo() const { return logo_; }
  QLabel* pnl1() const { return pnl1_; }
  QPushButton* cmdOK() const { return cmdOK_; }
  QFrame* sspMenuChoice() const;
  QTimer* Timer1() { return &timer_; }

  // The logo's starting box height, in twips.
  static constexpr int kLogoWidthTwips = 2700;
  static constexpr int kLogoHeightTwips = 1800;

 public slots:
  void Timer1_Timer();

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void syncBoxes();
  void syncTimer();
  int intervalFor() const { return curtain_.holding() ? timing_.holdMs : timing_.tickMs; }

  bool splash_;
  Timing timing_;
  SplashCurtain curtain_;
  QTimer timer_;
  bool closing_ = false;
  int holds_ = 0;
  QWidget* logo_ = nullptr;
  std::array<QWidget*, SplashCurtain::kBoxCount> boxes_{};
  QLabel* pnl1_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
  MenuChoices* choices_ = nullptr;
};

}  // namespace zv
