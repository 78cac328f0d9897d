#pragma once
// The page being acquired: "Scanning answer sheet…", a bar from the bytes
// read (moving to and fro while the length is unknown) and Cancel, shown
// modally while the scanner works on its own thread.
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include "sheets/Scanner.h"
#include "ui/qt/ScreenKit.h"

namespace zv {

class frmScanProgress : public Form {
  Q_OBJECT
 public:
  frmScanProgress(AcquireProgress& progress, QWidget* parent = nullptr);

  QLabel* label() const { return lblScanning_; }
  QProgressBar* bar() const { return bar_; }
  MenuChoices* menu() const { return menu_; }

  // The acquisition has ended: the screen closes.
  void finish();
  // Cancel, Escape and the window's close button ask the scanner to stop;
  // the screen stays until it has.
  void reject() override;

 protected:
  void activate() override;

 private:
  void showProgress();

  AcquireProgress& progress_;
  QLabel* lblScanning_;
  QProgressBar* bar_;
  MenuChoices* menu_;
  QTimer timer_;
};

// Acquires one page off the screen thread behind the progress screen.
Acquisition acquireWithProgress(PageSource& source, QWidget* parent);

}  // namespace zv
