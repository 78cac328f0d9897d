#include "report/ReportWriter.h"

#include "records/ClientRecord.h"

namespace zv {

ReportWriter::ReportWriter(std::string clientName) : clientName_(std::move(clientName)) { out_.reserve(16384); }

void ReportWriter::Spc(int n) {
  if (n <= 0) return;
  out_.append(static_cast<std::size_t>(n), ' ');
  column_ += n;
}

void ReportWriter::Tab(int n) {
  if (n < 1) n = 1;
  if (column_ > n) EndLine();
  Spc(n - column_);
}

void ReportWriter::Text(std::string_view bytes) {
  out_.append(bytes);
  column_ += static_cast<int>(bytes.size());
}

void ReportWriter::Integer(int value) {
  std::string s = value < 0 ? "-" : " ";
  s += std::to_string(value < 0 ? -value : value);
  s += ' ';
  Text(s);
}

void ReportWriter::EndLine() {
  out_ += "\r\n";
  column_ = 1;
}

void ReportWriter::Line(std::string_view bytes) {
  Text(bytes);
  EndLine();
}

void ReportWriter::Body(std::string_view bytes) {
  Spc(kBodyIndent);
  Line(bytes);
}

void ReportWriter::BlankLine() {
  if (column_ != 1) EndLine();
  EndLine();
}

void ReportWriter::NewPage() {
  if (column_ != 1) EndLine();
  ++PageNumber;
  Line("\x0C");
  Spc(7);
  Text("NAME: ");
  Text(clientName_);
  Tab(41);
  Text("-");
  Text(std::to_string(PageNumber % 10));
  Text("-");
  Tab(70);
  Line("ZV REPORT");
  BlankLine();
  PageLine = 2;
}

std::string widenLine(std::string line) {
  const std::size_t n = line.size();
  if (n <= 55 || n >= static_cast<std::size_t>(ReportWriter::kLineWidth)) return line;
  // Only blanks from the second character on are gaps.
  if (line.find(' ', 1) == std::string::npos) return line;
  std::size_t from = line.size();  // 1-based position where the leftward search starts
  while (line.size() < static_cast<std::size_t>(ReportWriter::kLineWidth)) {
    std::size_t j = from;
    while (j >= 2 && line[j - 1] != ' ') --j;
    if (j < 2) {  // passed the second character: start again at the end
      from = line.size();
      continue;
    }
    line.insert(j, 1, ' ');  // one more blank after the one found
    // Go on left of the whole gap, so each gap widens once per pass.
    std::size_t a = j;
    while (a >= 2 && line[a - 2] == ' ') --a;
    from = a - 1;
  }
  return line;
}

std::vector<std::string> justifyLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string_view rest = text;
  const auto width = static_cast<std::size_t>(ReportWriter::kLineWidth);
  do {
    std::string_view line;
    if (rest.size() > width) {
      const std::size_t blank = rest.rfind(' ', width);  // last blank at or before position 72
      if (blank == std::string_view::npos) {
        // A word wider than the line: cut it rather than stop the report.
        line = rest.substr(0, width);
        rest = rest.substr(width);
      } else {
        line = rest.substr(0, blank);
        rest = rest.substr(blank + 1);
      }
    } else {
      line = rest;
      rest = {};
    }
    lines.push_back(widenLine(trimRight(line)));
  } while (!rest.empty());
  return lines;
}

void ReportWriter::PrintJustified(std::string_view text, bool blankAfter) {
  for (const std::string& line : justifyLines(text)) {
    Body(line);
    count(1);
    newPageIfFull();
  }
  if (blankAfter) blankLineIfRoom();
}

}  // namespace zv
