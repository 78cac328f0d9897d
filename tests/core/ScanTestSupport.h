#pragma once
// What the scanning tests share: SANE limited to its two test backends (pnm
// reads an image file, test draws pictures), and one client's completed
// answer sheet with the fields reading it must give.
#include <cstdlib>

#include "tests/core/SheetScanGenerator.h"
#include "tests/core/TestSupport.h"

namespace zvtest {

// SANE with the backends pnm and test only, for the rest of the process.
inline void useTestScanners() {
  static const TempDir dir;
  static const bool once = [] {
    std::ofstream(dir.file("dll.conf")) << "pnm\ntest\n";
    return ::setenv("SANE_CONFIG_DIR", dir.path().c_str(), 1) == 0;
  }();
  (void)once;
}

struct FilledSheet {
  std::vector<PencilMark> marks;
  zv::SheetFields fields;  // what reading the sheet gives
};

// ID 123456789, male, Hispanic, married, born 04/23/1961, age 45, 12 years
// of school, a court history with one blank, every item answered.
inline FilledSheet filledSheet() {
  FilledSheet s;
  zv::SheetFields& f = s.fields;
  f.SSN = "123456789", f.Gender = "1", f.Race = "3", f.Marital = "2", f.DateOfBirth = "04/23/1961", f.Age = "45",
  f.Education = "12";
  s.marks = markDigits(kAgeRow, "4512", markDigits(kDateRow, "042361", markDigits(kIdRow, "123456789")));
  s.marks.insert(s.marks.end(), {{kGenderRow, 0}, {kRaceRow, 2}, {kMaritalRow, 1}});
  f.court = {"18", "20", "3", "2", "1", "0", "N", "9", "4", "1", "2", "10", "5", "07"};
  s.marks = markDigits(kEmployedRow, "07", markDigits(kFirstArrestRow, "1820", s.marks));
  for (int k = 2; k <= 12; ++k)
    if (f.court[static_cast<std::size_t>(k)] != "N") s.marks.push_back({kCountRow + k - 2, std::stoi(f.court[static_cast<std::size_t>(k)])});
  for (int item = 1; item <= 162; ++item) {
    const int bubbles = bundledDesign().layout[static_cast<std::size_t>(kItemRow + item)].dimx;
    const int bubble = (item * 7) % bubbles;
    s.marks.push_back({kItemRow + item, bubble});
    f.Responses += static_cast<char>('1' + bubble);
  }
  return s;
}

inline zv::GreyImage filledScan(const FilledSheet& s, double dpi = 100) {
  ScanSetup setup;
  setup.dpi = dpi, setup.skew = 0.4, setup.noise = 2;
  return SheetScanner(bundledDesign(), setup).scan(s.marks);
}

}  // namespace zvtest
