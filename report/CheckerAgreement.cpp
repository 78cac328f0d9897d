#include "report/CheckerAgreement.h"

#include <algorithm>
#include <array>
#include <random>

#include "records/ClientFile.h"
#include "records/FileSystem.h"
#include "records/ZvError.h"
#include "report/ScoreAndReport.h"
#include "scoring/DataProblem.h"
#include "scoring/InstallationCheck.h"

namespace zv {
namespace {

constexpr std::array<const char*, 10> kReportFiles = {"ZVRPT.TXT", "ZVB.TXT",  "ZVVA.TXT", "ZVAL.TXT",    "ZVDG.TXT",
                                                      "ZVAS.TXT",  "ZVVI.TXT", "ZVSC.TXT", "ZVINVAL.TXT", "ZVFOOT.TXT"};

// Bytes an editor or a damaged disk might put into a text file.
constexpr char kInsertable[] = {'\x00', '\x01', '\x07', '\t', '\n', '\x0C', '\r', '\x1A', '\x1B', '\x7F', ' ',
                                ',',    '"',    '-',    '0',  '9',  'A',    'e',  '\xE9', '\xC3', '\xA9'};
const char* const kNumbers[] = {"0", "1", "-1", "15", "99", "100", "150", "163", "240", "32767"};

// The lines of a file, each with its own line end.
std::vector<std::string> linesWithEnds(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    end = end == std::string::npos ? bytes.size() : end + 1;
    lines.push_back(bytes.substr(start, end - start));
    start = end;
  }
  return lines;
}

struct Mutant {
  std::string bytes;
  std::string what;
};

class Mutator {
 public:
  explicit Mutator(std::uint32_t seed) : rng_(seed) {}
  std::size_t pick(std::size_t n) { return n == 0 ? 0 : rng_() % n; }

  Mutant mutate(const std::string& bytes) {
    auto lines = linesWithEnds(bytes);
    const std::size_t i = pick(lines.size());
    const std::string at = "line " + std::to_string(i + 1);
    switch (pick(7)) {
      case 0:
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
        return {join(lines), at + " deleted"};
      case 1:
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i), lines[i]);
        return {join(lines), at + " duplicated"};
      case 2:
        if (i + 1 < lines.size()) {
          std::swap(lines[i], lines[i + 1]);
          return {join(lines), at + " swapped with the next"};
        }
        [[fallthrough]];
      case 3: {
        std::vector<std::size_t> digits;
        for (std::size_t p = 0; p < bytes.size(); ++p)
          if (bytes[p] >= '0' && bytes[p] <= '9') digits.push_back(p);
        if (digits.empty()) break;
        const std::size_t p = digits[pick(digits.size())];
        std::string out = bytes;
        out[p] = static_cast<char>('0' + (out[p] - '0' + 1 + static_cast<int>(pick(9))) % 10);
        return {out, "digit at byte " + std::to_string(p) + " changed to " + out[p]};
      }
      case 4: {
        std::vector<std::pair<std::size_t, std::size_t>> numbers;  // start, length
        for (std::size_t p = 0; p < bytes.size();) {
          const std::size_t q = bytes.find_first_not_of("0123456789", p);
          const std::size_t end = q == std::string::npos ? bytes.size() : q;
          if (end > p && (p == 0 || bytes[p - 1] < '0' || bytes[p - 1] > '9') && bytes[p] >= '0' && bytes[p] <= '9')
            numbers.emplace_back(p, end - p);
          p = std::max(end, p + 1);
        }
        if (numbers.empty()) break;
        const auto [p, n] = numbers[pick(numbers.size())];
        const std::string value = kNumbers[pick(std::size(kNumbers))];
        return {bytes.substr(0, p) + value + bytes.substr(p + n),
                "number at byte " + std::to_string(p) + " replaced by " + value};
      }
      case 5: {
        if (bytes.empty()) break;
        const std::size_t p = pick(bytes.size());
        return {bytes.substr(0, p) + bytes.substr(p + 1), "byte " + std::to_string(p) + " deleted"};
      }
      default:
        break;
    }
    const std::size_t p = pick(bytes.size() + 1);
    const char c = kInsertable[pick(std::size(kInsertable))];
    return {bytes.substr(0, p) + c + bytes.substr(p),
            "byte " + byteHex(static_cast<unsigned char>(c)) + " inserted at byte " + std::to_string(p)};
  }

 private:
  static std::string join(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l;
    return out;
  }
  std::mt19937 rng_;
};

// The first control byte of a report that is not part of a line end or a
// form-feed line, described; empty when there is none.
std::string strayControlByte(const std::string& report) {
  std::size_t start = 0;
  for (int line = 1; start < report.size(); ++line) {
    std::size_t end = report.find("\r\n", start);
    if (end == std::string::npos) end = report.size();
    const std::string text = report.substr(start, end - start);
    if (text != "\x0C")
      for (char c : text)
        if (static_cast<unsigned char>(c) < 32 || c == '\x7F')
          return "control byte " + byteHex(static_cast<unsigned char>(c)) + " on report line " + std::to_string(line);
    start = end + 2;
  }
  return {};
}

bool blocks(const DataProblem& p) { return !p.warning; }

}  // namespace

AgreementRun RunCheckerAgreement(const std::string& programDir, const std::string& clientFile,
                                 const std::string& workDir, std::uint32_t seed, int count) {
  RealFileSystem fs;
  std::vector<std::string> originals;
  for (const char* f : kReportFiles) {
    originals.push_back(fs.readAll(joinPath(programDir, f)));
    fs.replaceAllUnsynced(joinPath(workDir, f), originals.back());
  }
  fs.replaceAllUnsynced(joinPath(workDir, "ZV.db"), fs.readAll(joinPath(programDir, "ZV.db")));
  ClientTable clients;
  LoadClientFile(fs, clientFile, clients);

  AgreementRun run;
  Mutator mutator(seed);
  for (int m = 1; m <= count; ++m) {
    const std::size_t f = mutator.pick(kReportFiles.size());
    const Mutant mutant = mutator.mutate(originals[f]);
    const std::string path = joinPath(workDir, kReportFiles[f]);
    fs.replaceAllUnsynced(path, mutant.bytes);
    const std::string name = "mutant " + std::to_string(m) + " (" + kReportFiles[f] + ": " + mutant.what + "): ";

    const auto problems = CheckInstallation(fs, workDir);
    const auto fault = std::find_if(problems.begin(), problems.end(), blocks);
    int produced = 0;
    std::string refusal, stray;
    for (int n = 1; n <= clients.RecordCount; ++n) {
      clients.CurrentRecord = static_cast<std::int16_t>(n);
      try {
        const std::string report = ComposeReport(fs, clients, {workDir, "", true}).bytes;
        ++produced;
        if (const std::string s = strayControlByte(report); stray.empty() && !s.empty())
          stray = "client " + std::to_string(n) + ": " + s;
      } catch (const ZvError& e) {
        if (refusal.empty()) refusal = e.what();
      }
    }
    ++run.mutants;
    if (fault == problems.end() && produced < clients.RecordCount)
      run.disagreements.push_back(name + "zvcheck finds no fault, but a report is refused: " + refusal);
    else if (fault != problems.end() && produced > 0)
      run.disagreements.push_back(name + "zvcheck finds \"" + fault->text() + "\", but " + std::to_string(produced) +
                                  " of " + std::to_string(clients.RecordCount) + " reports were produced");
    else if (fault != problems.end() && refusal != fault->text())
      run.disagreements.push_back(name + "zvcheck finds \"" + fault->text() + "\", but the report says \"" + refusal + "\"");
    else if (!stray.empty())
      run.disagreements.push_back(name + stray);
    else
      ++(produced ? run.produced : run.refused);
    fs.replaceAllUnsynced(path, originals[f]);
  }
  return run;
}

}  // namespace zv
