#include "report/ReportPrinting.h"

#include "ui/Prompter.h"

namespace zv {

std::string ReadReportFile(FileSystem& fs, const std::string& path) {
  std::string text = fs.readAll(path);
  if (!text.empty()) text.pop_back();
  return text;
}

std::vector<std::string> SplitReportPages(const std::string& text) {
  std::vector<std::string> pages;
  std::size_t start = 0;
  for (;;) {
    const std::size_t ff = text.find('\f', start);
    if (ff == std::string::npos) {
      pages.push_back(text.substr(start));
      return pages;
    }
    pages.push_back(text.substr(start, ff - start));
    start = ff + 1;
  }
}

std::vector<std::string> PageLines(const std::string& piece) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;  // characters (or an empty line start) wait to be emitted
  for (std::size_t i = 0; i < piece.size(); ++i) {
    const char c = piece[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      open = false;
      if (c == '\r' && i + 1 < piece.size() && piece[i + 1] == '\n') ++i;
    } else {
      line += c;
      open = true;
    }
  }
  if (open || piece.empty()) lines.push_back(line);
  return lines;
}

PrintOutcome PrintReportFile(FileSystem& fs, const std::string& path, Printer& printer,
                             const std::string& documentName) {
  return printer.print(SplitReportPages(ReadReportFile(fs, path)), documentName);
}

std::string documentNameOf(const std::string& path) {
  std::string name = path.substr(path.find_last_of("/\\") == std::string::npos ? 0 : path.find_last_of("/\\") + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

std::string pdfSavedMessage(const std::vector<std::string>& pdfPaths) {
  if (pdfPaths.size() == 1)
    return "No printer is set up on this computer, so the report was saved as a PDF file:\r" + pdfPaths.front();
  std::string text = "No printer is set up on this computer, so the reports were saved as PDF files:";
  for (const auto& p : pdfPaths) text += "\r" + p;
  return text;
}

std::string printFailedMessage(const ZvError& e) {
  std::string text = "The report could not be printed.\r" + std::string(e.what());
  if (e.number() != 0) text += "  " + std::to_string(e.number());
  return text;
}

bool PrintReportWithMessages(FileSystem& fs, const std::string& path, Printer& printer, Prompter& prompter,
                             const std::string& title) {
  try {
    const PrintOutcome out = PrintReportFile(fs, path, printer, documentNameOf(path));
    if (!out.pdfPath.empty()) prompter.tell(pdfSavedMessage({out.pdfPath}), title, Icon::Information);
    return true;
  } catch (const ZvError& e) {
    prompter.tell(printFailedMessage(e), title, Icon::Exclamation);
    return false;
  }
}

}  // namespace zv
