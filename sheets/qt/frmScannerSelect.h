#pragma once
// "Scanner…" of the Options menu: where answer sheets are scanned from. It
// lists the scanners SANE finds, "First scanner found" and "Image file",
// shows the choice in force, and writes the chosen one to zv.ini
// ([Options] ScanDevice).
#include <QLabel>
#include <QListWidget>

#include "sheets/SaneScanner.h"
#include "ui/qt/ScreenKit.h"

namespace zv {

struct SystemState;

class frmScannerSelect : public Form {
  Q_OBJECT
 public:
  frmScannerSelect(SystemState& state, const SaneDeviceList& found, QWidget* parent = nullptr);

  QListWidget* lbScanners() const { return lbScanners_; }
  QLabel* lblCurrent() const { return lblCurrent_; }
  QLabel* lblFound() const { return lblFound_; }
  MenuChoices* menu() const { return menu_; }
  // The ScanDevice value of a list entry.
  static std::string deviceOf(const QListWidgetItem* item);

  // "Use Selected": writes the choice and closes.
  void useSelected();

 protected:
  void activate() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void addEntry(const QString& text, const std::string& device);

  SystemState& state_;
  QListWidget* lbScanners_;
  QLabel* lblCurrent_;
  QLabel* lblFound_;
  MenuChoices* menu_;
};

// Looks for scanners (busy pointer) and shows the screen.
void runScannerSelect(SystemState& state, QWidget* parent);

}  // namespace zv
