#pragma once
// The printing service a report goes to: one printed page per piece of the
// report text (Windows-1252 bytes, lines separated by CR LF). The document
// name ("report", "temp3") names the print job, and the PDF file when no
// printer is set up.
#include <string>
#include <vector>

#include "records/ZvError.h"

namespace zv {

struct PrintOutcome {
  std::string pdfPath;  // empty: the pages went to a printer
};

class Printer {
 public:
  virtual ~Printer() = default;
  // Throws ZvError when the pages could not be printed (nothing is reported here).
  virtual PrintOutcome print(const std::vector<std::string>& pages, const std::string& documentName) = 0;
};

// Keeps every job instead of printing it; can play a printer without paper
// (a PDF folder) and a failing printer (the numbers of the jobs that fail, from 1).
class RecordingPrinter : public Printer {
 public:
  struct Job {
    std::string documentName;
    std::vector<std::string> pages;
  };

  PrintOutcome print(const std::vector<std::string>& pages, const std::string& documentName) override {
    ++attempts;
    for (int n : failingJobs)
      if (n == attempts) throw ZvError(ErrorKind::DeviceIO, 0, "The printer is out of paper.");
    jobs.push_back({documentName, pages});
    if (pdfFolder.empty()) return {};
    return {pdfFolder + "/" + documentName + ".pdf"};
  }

  std::vector<Job> jobs;
  std::vector<int> failingJobs;
  std::string pdfFolder;  // set: behave like a machine with no printer
  int attempts = 0;
};

}  // namespace zv
