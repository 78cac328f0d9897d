#pragma once
// Printing report pages on the system's default printer through Qt
// PrintSupport; with no printer set up, into a PDF file in the program
// folder named after the report. Also the busy pointer for long work.
#include <QFont>
#include <QString>

#include "report/Printer.h"
#include "ui/Prompter.h"

namespace zv {

// "Courier New" 11.5 pt; "Liberation Mono" (same metrics) where it is absent.
QFont reportFont();

class QtReportPrinter : public Printer {
 public:
  // `pdfFolder`: where the PDF goes when there is no printer (the program folder).
  explicit QtReportPrinter(std::string pdfFolder) : pdfFolder_(std::move(pdfFolder)) {}
  PrintOutcome print(const std::vector<std::string>& pages, const std::string& documentName) override;

  // Renders the pages into a PDF file; throws ZvError when it cannot be written.
  static void printToPdf(const std::vector<std::string>& pages, const std::string& documentName,
                         const std::string& pdfPath);

 private:
  std::string pdfFolder_;
};

// The hourglass for the life of the object; nests.
class BusyPointer {
 public:
  BusyPointer();
  ~BusyPointer();
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
};

// Passes every message to another prompter with the normal pointer showing,
// and puts the busy pointer back afterwards.
class IdlePointerPrompter : public Prompter {
 public:
  explicit IdlePointerPrompter(Prompter& inner) : inner_(inner) {}
  Answer ask(const std::string& text, const std::string& title, Buttons buttons, Icon icon) override;
  void beep() override { inner_.beep(); }

 private:
  Prompter& inner_;
};

}  // namespace zv
