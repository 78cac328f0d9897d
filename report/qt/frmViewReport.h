#pragma once
// The current client's report on screen, written anew on every activation,
// with "&Print Report" and "&Close".
#include <QPlainTextEdit>
#include <QPushButton>

#include "supervisor/ReportBatch.h"
#include "ui/qt/ScreenKit.h"

namespace zv {

struct SystemState;
class Printer;

// Puts the report text of `path` into the text box (Windows-1252 to screen text).
void LoadReportView(FileSystem& fs, const std::string& path, QPlainTextEdit* target);

class frmViewReport : public Form {
  Q_OBJECT
 public:
  frmViewReport(SystemState& state, Printer& printer, ReportComposer compose, QWidget* parent = nullptr);

  void MOUSEWAIT();
  void MOUSEDEFAULT();

  QPlainTextEdit* Text1() const { return text_; }
  QPushButton* cmdPrintReport() const { return print_; }
  QPushButton* cmdCancel() const { return close_; }
  // False when the report could not be produced on the last activation.
  bool loaded() const { return loaded_; }

 protected:
  void activate() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void printReport();

  SystemState& state_;
  Printer& printer_;
  ReportComposer compose_;
  QPlainTextEdit* text_;
  QPushButton* print_;
  QPushButton* close_;
  bool loaded_ = false;
};

}  // namespace zv
