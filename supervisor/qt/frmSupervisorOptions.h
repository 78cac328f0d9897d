#pragma once
// The supervisor options: reports behind the access code, re-key
// verification and name deletion, one tab each, run by "Execute Selection".
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>

#include "supervisor/AccessCode.h"
#include "supervisor/ReportBatch.h"
#include "ui/qt/ScreenKit.h"

namespace zv {

struct SystemState;
class Printer;

class frmSupervisorOptions : public Form {
  Q_OBJECT
 public:
  // `compose` writes the current client's report; it is given the state of
  // "One page summary report" each time a report is written.
  using SummaryComposer = std::function<void(const ClientTable& clients, bool summaryPage)>;

  frmSupervisorOptions(SystemState& state, Printer& printer, InputPrompt& input, SummaryComposer compose,
                       QWidget* parent = nullptr);

  bool PrintSummary() const { return printSummary_; }
  void setPrintSummary(bool on);
  int selectedPrintOption() const { return printOption_; }
  // Writes the current client's report, reading the check box at that moment.
  ReportComposer composer();

  QTabWidget* sstSupervisorOperations() const { return tabs_; }
  QFrame* panel2() const { return panel2_; }
  QRadioButton* optPrintOption(int i) const { return opt_[i]; }
  QCheckBox* chkPrintSummaryPage() const { return chk_; }
  QLabel* lblNameDisplay() const { return lblName_; }
  MenuChoices* menu() const { return menu_; }
  // True once the screen's work is done and it is closing.
  bool finished() const { return finished_; }

 protected:
  void activate() override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The screens the operations open, modally (replaceable in tests).
  virtual void showReportViewer();
  virtual void showPrintSelected();
  virtual void showVerify();
  void printAllReports();

  SystemState& state_;
  Printer& printer_;
  InputPrompt& input_;
  SummaryComposer compose_;

 private:
  void tabChanged(int tab);
  void choose(int row);
  void execute();
  void finish();
  void setPanel2(bool lit);
  QString currentName() const;

  QTabWidget* tabs_;
  QFrame* panel2_;
  QRadioButton* opt_[3];
  QCheckBox* chk_;
  QLabel* lblName_;
  MenuChoices* menu_;
  int printOption_ = 0;
  int rememberedTab_ = 0;
  int pressedRow_ = 0;
  bool noClients_ = false;
  bool printSummary_ = false;
  bool finished_ = false;
};

}  // namespace zv
