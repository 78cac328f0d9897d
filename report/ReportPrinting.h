#pragma once
// Reading a written report back and sending it to the printer: the text is
// cut at its form feeds and every piece becomes one printed page.
#include <string>
#include <vector>

#include "records/FileSystem.h"
#include "report/Printer.h"

namespace zv {

class Prompter;

// The report text: every byte of the file but the last (the file ends with
// CR LF; the final LF is left off). An empty file gives an empty text.
std::string ReadReportFile(FileSystem& fs, const std::string& path);

// The printed pieces: the text cut at each form feed (code 12), the form
// feeds themselves dropped. Each later piece starts right after its form feed,
// so its first line is the empty rest of the form-feed line. A text with n
// form feeds gives n + 1 pieces.
std::vector<std::string> SplitReportPages(const std::string& text);

// The lines of one piece as they are printed: split at CR LF (a lone CR or LF
// also ends a line); the empty line after a final line end is not printed.
std::vector<std::string> PageLines(const std::string& piece);

// Prints the report file at `path`, one page per piece, as `documentName`.
// Throws ZvError when the file cannot be read or the printer fails.
PrintOutcome PrintReportFile(FileSystem& fs, const std::string& path, Printer& printer,
                             const std::string& documentName);

// "report" for ".../report.prn", "temp3" for ".../temp3".
std::string documentNameOf(const std::string& path);

// Tells where the pages went when there was no printer to take them.
std::string pdfSavedMessage(const std::vector<std::string>& pdfPaths);
// Why a report could not be printed.
std::string printFailedMessage(const ZvError& e);

// Prints the report file and tells the user what became of it: the PDF file
// when there is no printer, the printer's error when it failed. Returns true
// when the pages were printed or saved.
bool PrintReportWithMessages(FileSystem& fs, const std::string& path, Printer& printer, Prompter& prompter,
                             const std::string& title);

}  // namespace zv
