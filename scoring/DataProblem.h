#pragma once
// Problems found in the installation files, as "FILE:LINE: what is wrong".
// Every reader of an installation file collects its problems in a list; the
// installation checker prints the list, and a report is refused at the first
// problem that is a fault (warnings leave the report as the data means it).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/FileSystem.h"
#include "records/ZvError.h"

namespace zv {

struct DataProblem {
  std::string file;  // base name, e.g. "ZVB.TXT"
  int line = 0;      // 1-based; 0 when the fault concerns the whole file
  std::string what;
  bool warning = false;           // the report comes out all the same
  std::optional<ZvError> cause{};  // the platform error of a file that cannot be read
  std::string text() const;        // "FILE:LINE: what", or "FILE:LINE: warning: what"
};

// Throws the first problem that is not a warning: its platform error when it
// has one, else ZvError(BadData, 0, text()).
void throwFirstFault(const std::vector<DataProblem>& problems);

// The problems of one installation file, appended to a shared list.
class FileProblems {
 public:
  FileProblems(std::string file, std::vector<DataProblem>& list) : file_(std::move(file)), list_(list) {}
  void fault(int line, std::string what) { list_.push_back({file_, line, std::move(what)}); }
  void warn(int line, std::string what) { list_.push_back({file_, line, std::move(what), true}); }
  // A text the report prints: a fault when it is empty or looks UTF-8
  // encoded; one wider than `width` is a fault when the report would cut it
  // or break its line, a warning when `widePrintsWhole` (it runs past
  // column 78 but every word is printed).
  void text(int line, const std::string& text, std::size_t width, const std::string& what, bool widePrintsWhole = false);

 private:
  std::string file_;
  std::vector<DataProblem>& list_;
};

// The bytes of installation file `name` in `dir`, with a fault for every
// line holding a control character; nullopt, and a fault carrying the
// platform error, when the file cannot be read.
std::optional<std::string> readInstallationFile(FileSystem& fs, const std::string& dir, const std::string& name,
                                                std::vector<DataProblem>& problems);

// Puts the problems from `first` on into line order (whole-file ones first),
// keeping the order of problems on the same line.
void sortByLine(std::vector<DataProblem>& problems, std::size_t first);

// The lines of a text file without their line ends. CR LF, LF and a lone CR
// each end a line; a last line without a line end still counts.
std::vector<std::string> splitLines(std::string_view bytes);

// A byte as the messages name it: "0x0C".
std::string byteHex(unsigned char c);

// The last component of a path ("/x/ZVB.TXT" gives "ZVB.TXT").
std::string baseName(const std::string& path);

}  // namespace zv
