#pragma once
// Choosing stored clients and printing their reports in one batch.
#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>

#include "supervisor/ReportBatch.h"
#include "ui/qt/ScreenKit.h"

namespace zv {

struct SystemState;
class Printer;

class frmPrintSelected : public Form {
  Q_OBJECT
 public:
  frmPrintSelected(SystemState& state, Printer& printer, ReportComposer compose, QWidget* parent = nullptr);

  QListWidget* lbNameDisplay() const { return list_; }
  QGroupBox* fraClient() const { return fraClient_; }
  QPlainTextEdit* txtInstructions() const { return instructions_; }
  MenuChoices* menu() const { return menu_; }

 protected:
  void activate() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void fillList();
  void updatePrintButton();
  void choose(int row);
  void printSelected();
  void setClientFocusStyle(bool focused);

  SystemState& state_;
  Printer& printer_;
  ReportComposer compose_;
  QPlainTextEdit* instructions_;
  QGroupBox* fraClient_;
  QListWidget* list_;
  MenuChoices* menu_;
  QPalette normalPalette_;
};

}  // namespace zv
