#pragma once
// The report file's print primitives and page bookkeeping. The report is a
// sequence of Windows-1252 bytes, one byte per column; every line ends with
// CR LF and a page break is a line holding only the form feed.
#include <string>
#include <string_view>
#include <vector>

namespace zv {

class ReportWriter {
 public:
  static constexpr int kPageFull = 58;   // a page is full when PageLine is at or above this
  static constexpr int kLineWidth = 71;  // justified text width
  static constexpr int kBodyIndent = 7;  // body text starts in column 8

  // `clientName` is printed in the running head of every page after the first.
  explicit ReportWriter(std::string clientName = {});

  // --- primitives on the current line ---
  void Spc(int n);                   // n blanks
  // Blanks up to column n, so the next item starts there. When the line
  // already stands right of column n the item goes to column n of the next
  // line, as print zones of the classic BASIC file output do; installation
  // data within its checked bounds never asks for that.
  void Tab(int n);
  void Text(std::string_view bytes);  // at the current column
  void Integer(int value);            // sign position (blank or "-"), digits, one trailing blank
  void EndLine();                     // CR LF; the next item starts in column 1
  void Line(std::string_view bytes);  // Text then EndLine
  void Body(std::string_view bytes);  // Spc(7), text, EndLine
  void BlankLine();                   // an empty line (not counted; callers count)

  int column() const { return column_; }

  // --- page bookkeeping ---
  int PageLine = 0;
  int PageNumber = 1;
  bool pageFull() const { return PageLine >= kPageFull; }
  void count(int lines) { PageLine += lines; }
  // Form-feed line, running head and one blank line; PageLine := 2.
  void NewPage();
  // NewPage when the page is full.
  void newPageIfFull() {
    if (pageFull()) NewPage();
  }
  // A counted blank line when the page is not yet full.
  void blankLineIfRoom() {
    if (PageLine < kPageFull) {
      BlankLine();
      count(1);
    }
  }

  // Word-wraps `text` into lines of at most 71 characters, widens each line
  // longer than 55 to exactly 71, prints each after 7 blanks and counts it
  // (new page when full); then, when `blankAfter` and the page is not full,
  // one counted blank line.
  void PrintJustified(std::string_view text, bool blankAfter = true);

  const std::string& bytes() const { return out_; }
  std::string take() { return std::move(out_); }

 private:
  std::string out_;
  std::string clientName_;
  int column_ = 1;
};

// The cutting and widening of PrintJustified, without printing.
std::string widenLine(std::string line);
std::vector<std::string> justifyLines(std::string_view text);

}  // namespace zv
