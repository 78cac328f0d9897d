#include "app/SystemState.h"
#include "app/qt/Activities.h"
#include "report/ScoreAndReport.h"
#include "report/qt/QtReportPrinter.h"
#include "supervisor/qt/frmMyInputBox.h"
#include "supervisor/qt/frmSupervisorOptions.h"

namespace zv {

void runSupervisorOptions(SystemState& state, QWidget* parent) {
  QtReportPrinter systemPrinter(state.programDir);
  Printer& printer = state.printer ? *state.printer : systemPrinter;
  QtInputPrompt input(state.prompter, parent);
  // Every report is scored from scratch and written to report.prn in the program folder.
  auto compose = [&state](const ClientTable& clients, bool summaryPage) {
    ReportRequest request;
    request.programDir = state.programDir;
    request.summaryPage = summaryPage;
    ScoreAndReport(state.fs, clients, request);
  };
  frmSupervisorOptions screen(state, printer, input, compose, parent);
  screen.exec();
}

}  // namespace zv
