// The answer sheet end to end: the bundled layout against the printed
// design, generated pencil scans at every tolerated turn, shift, blur and
// noise, and the printed PDF rasterised, pencilled and read through zvscan.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "tests/core/SheetScanGenerator.h"
#include "tests/core/TestSupport.h"

using namespace zv;
using namespace zvtest;

namespace {

const std::string kProgram = ZV_PROGRAM_DIR;

bool overlap(int ax, int ay, int aw, int ah, int bx, int by, int bw, int bh) {
  return ax < bx + bw && bx < ax + aw && ay < by + bh && by < ay + ah;
}

// A client's sheet: what it says, field by field, and the marks that say it.
struct Filled {
  std::string ssn, date, ages, choices;  // ages: age and education
  std::vector<std::string> court;        // as the reading gives them
  std::string responses;
  std::vector<PencilMark> marks;
};

Filled fill(std::mt19937& rng) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto two = [&](int lo, int hi) { const int v = pick(lo, hi); return std::string{char('0' + v / 10), char('0' + v % 10)}; };
  Filled f;
  for (int i = 0; i < 9; ++i) f.ssn += char('0' + pick(0, 9));
  f.date = two(1, 12) + two(1, 31) + two(11, 99);
  f.ages = two(16, 89) + two(0, 20);
  f.choices = {char('0' + pick(1, 2)), char('0' + pick(1, 6)), char('0' + pick(1, 5))};
  f.marks = markDigits(kAgeRow, f.ages, markDigits(kDateRow, f.date, markDigits(kIdRow, f.ssn)));
  for (int i = 0; i < 3; ++i) f.marks.push_back({kGenderRow + i, f.choices[static_cast<std::size_t>(i)] - '1'});
  for (int k = 0; k < 14; ++k) {  // a blank now and then
    const std::string v = pick(0, 6) == 0 ? "N" : k < 2 ? two(10, 60) : k == 13 ? two(0, 12) : std::to_string(pick(0, 10));
    f.court.push_back(v);
    if (k < 2 || k == 13) f.marks = markDigits(k < 2 ? kFirstArrestRow + 2 * k : kEmployedRow, v == "N" ? "  " : v, f.marks);
    else if (v != "N") f.marks.push_back({kCountRow + k - 2, std::stoi(v)});
  }
  for (int item = 1; item <= 162; ++item) {
    const int code = pick(0, 12) == 0 ? 0 : pick(1, bundledDesign().layout[static_cast<std::size_t>(kItemRow + item)].dimx);
    f.responses += char('0' + code);
    if (code) f.marks.push_back({kItemRow + item, code - 1});
  }
  return f;
}

// Runs a command; its standard output and exit status.
std::pair<std::string, int> run(const std::string& command) {
  std::string out;
  FILE* p = ::popen(command.c_str(), "r");
  std::array<char, 4096> buf{};
  for (std::size_t n; (n = std::fread(buf.data(), 1, buf.size(), p)) > 0;) out.append(buf.data(), n);
  const int status = ::pclose(p);
  return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

GreyImage readPgm(const std::string& path, double dpi) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  GreyImage g{0, 0, dpi, dpi, {}};
  int maxval = 0;
  in >> magic >> g.width >> g.height >> maxval;
  in.get();
  g.pixels.resize(static_cast<std::size_t>(g.width * g.height));
  in.read(reinterpret_cast<char*>(g.pixels.data()), static_cast<std::streamsize>(g.pixels.size()));
  return g;
}

}  // namespace

TEST(SheetLayoutTable, BundledLayoutFitsThePrintedSheet) {
  const SheetDesign& d = bundledDesign();
  ASSERT_EQ(d.layout.size(), 201u);
  const std::pair<int, const char*> names[] = {{0, "ID Number digit 1"}, {9, "Gender"}, {12, "Date of Birth month 1"},
                                               {26, "Felony arrests"}, {39, "Item 1"}, {200, "Item 162"}};
  for (auto [row, name] : names) EXPECT_EQ(d.layout[static_cast<std::size_t>(row)].LocationName, name);
  // Items 140 to 162 have a bubble for each answer of the English question table.
  Recordset english = Workspace::standard("zv.ini").OpenDatabase(kProgram + "/ZV.db").SelectAll("English");
  for (; !english.IsEOF(); english.MoveNext()) {
    int answers = 0;
    for (const char* a : {"ANSWER1", "ANSWER2", "ANSWER3", "ANSWER4", "ANSWER5"}) answers += !english.field(a).empty();
    const int item = static_cast<int>(english.fieldInt("ID"));
    EXPECT_EQ(d.layout[static_cast<std::size_t>(kItemRow + item)].dimx, item <= 105 ? 2 : item <= 139 ? 4 : answers) << item;
  }
  // No two windows overlap; no black print reaches into one; each bubble has its letter (or none).
  const Point a = d.anchor();
  std::vector<Point> windows;
  for (const auto& row : d.layout) {
    EXPECT_LE(row.LocationName.size(), 30u);
    for (Point p : bubblePoints(row, 0)) windows.push_back({a.x + p.x, a.y + p.y});
    EXPECT_EQ(d.labelsOf(row.ID).size(), bubblePoints(row, 0).size()) << row.LocationName;
  }
  for (std::size_t i = 0; i < windows.size(); ++i) {
    for (std::size_t j = i + 1; j < windows.size(); ++j)
      EXPECT_FALSE(overlap(windows[i].x, windows[i].y, 15, 15, windows[j].x, windows[j].y, 15, 15)) << i << " " << j;
    for (const auto& p : d.print) {
      EXPECT_FALSE(p.kind != "labels" && overlap(windows[i].x, windows[i].y, 15, 15, p.x, p.y, p.w, p.h)) << p.text;
    }
  }
  // The boxes lie inside their searches with room for a sheet 15 px off.
  std::vector<Point> boxes;
  for (const auto& p : d.print)
    if (p.kind == "box") boxes.push_back({p.x, p.y});
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(a.x >= 5 + 15 && a.x <= 45 - 15 && a.y >= 15 && a.y <= 125 - 15);
  EXPECT_TRUE(boxes[1].y == a.y && boxes[1].x - a.x >= 772 + 5 && boxes[1].x - a.x <= 802 - 5);
}

TEST(SheetScan, GeneratedScansReadEveryFirmMark) {
  std::mt19937 rng(20240611);
  auto real = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  // Lighter marks, counted apart by kind (item number odd: small, even: faint) and band (item / 11 % 3).
  const double bands[2][4] = {{30, 55, 80, 110}, {0.05, 0.15, 0.3, 0.5}};  // darkness; share of the bubble
  int light[2][3] = {}, misread[2][3] = {}, erased = 0, erasedListed = 0;
  for (int sheet = 0; sheet < 24; ++sheet) {
    Filled f = fill(rng);
    // The corners of what a scan may be (2 degrees either way, 15 px off), then anything between.
    const bool corner = sheet < 4;
    ScanSetup s{sheet % 8 == 7 ? 300.0 : 100.0, corner ? (sheet % 2 ? 2.0 : -2.0) : real(-2, 2),
                corner ? (sheet < 2 ? 15.0 : -15.0) : real(-15, 15), corner ? (sheet % 3 ? 15.0 : -15.0) : real(-15, 15),
                sheet % 2 == 0, real(0, 5), 40, static_cast<unsigned>(sheet)};
    // Pencil as people use it: darkness, size and place vary; each firm mark covers at least half its bubble.
    for (PencilMark& m : f.marks) m = {m.row, m.bubble, real(110, 230), real(0.5, 1.15), real(-1, 1), real(-1, 1)};
    std::string expected = f.responses;
    std::vector<std::string> listable;  // where a second mark may be listed: rubbed-out ones, then lighter ones
    for (int item = 1; item <= 162; ++item) {
      const auto i = static_cast<std::size_t>(item - 1);
      const int code = f.responses[i] - '0', kind = item % 2, band = item / 11 % 3;
      if (code && item % 9 == 1) {  // a changed answer: the first choice rubbed out beside the kept one
        f.marks.push_back({kItemRow + item, code % bundledDesign().layout[i + kItemRow + 1].dimx, 180, 0.9, 0, 0, true});
        listable.push_back("Item " + std::to_string(item)), ++erased;
      }
      if (!code || item % 11 != 5) continue;
      const double v = real(bands[kind][band], bands[kind][band + 1]);
      for (auto& m : f.marks)
        if (m.row == kItemRow + item && !m.erased) (kind ? m.fill : m.k) = v;
      listable.push_back("Item " + std::to_string(item));
      expected[i] = '-', ++light[kind][band];
    }
    const SheetReading r = readScan(f.marks, s);
    ASSERT_EQ(r.outcome, SheetOutcome::Read) << "sheet " << sheet;
    const SheetFields& got = r.fields;
    std::string responses = got.Responses;
    for (std::size_t i = 0; i < 162; ++i)
      if (expected[i] == '-') misread[(i + 1) % 2][(i + 1) / 11 % 3] += responses[i] != f.responses[i], responses[i] = '-';
    const std::string d = f.date, at = " in sheet " + std::to_string(sheet);
    EXPECT_EQ(got.SSN + got.DateOfBirth + got.Age + got.Education + got.Gender + got.Race + got.Marital,
              f.ssn + d.substr(0, 2) + "/" + d.substr(2, 2) + "/19" + d.substr(4) + f.ages + f.choices) << at;
    EXPECT_EQ(std::vector<std::string>(got.court.begin(), got.court.end()), f.court) << at;
    EXPECT_EQ(responses, expected) << at << ", skew " << s.skew << ", shift " << s.shiftX << "," << s.shiftY;
    for (const auto& m : got.MultipleMarks) {
      const int item = std::stoi(trimBlanks(m).substr(5));
      EXPECT_NE(std::find(listable.begin(), listable.end(), trimBlanks(m)), listable.end()) << m << at;
      erasedListed += item % 9 == 1;
    }
  }
  for (int kind = 0; kind < 2; ++kind)
    for (int band = 0; band < 3; ++band)
      std::cout << (kind ? "Small marks, share of the bubble " : "Faint marks, darkness ") << bands[kind][band] << "-"
                << bands[kind][band + 1] << ": " << misread[kind][band] << " of " << light[kind][band] << " misread\n";
  std::cout << "Rubbed-out marks listed as a second mark: " << erasedListed << " of " << erased << "\n";
}

TEST(SheetPrintedSheet, ZvscanReadsPrintsBlankAndPencilledInEveryFormat) {
  TempDir dir;
  std::filesystem::copy_file(kProgram + "/ZV.db", dir.file("ZV.db"));
  const std::string pdf = kProgram + "/AnswerSheet.pdf";
  // Colour at 100, 200 and 300 px/in, and grey as a black-and-white printer gives it.
  for (const char* f : {"-png -r 100", "-jpeg -r 200", "-tiff -r 300", "-gray -r 300"})
    ASSERT_EQ(run(std::string("pdftoppm -singlefile ") + f + " " + pdf + " " + dir.file("blank")).second, 0);
  // Pencil on the printed page: date, age, education, first arrest, a blank tens of first conviction.
  auto marks = markDigits(kEmployedRow, "07", markDigits(kDateRow, "042361451218 9", markDigits(kIdRow, "123456789")));
  marks.insert(marks.end(), {{kGenderRow, 0}, {kRaceRow, 2}, {kMaritalRow, 1}, {kCountRow, 10}, {kCountRow + 4, 3}});
  for (int item = 1; item <= 162; ++item) marks.push_back({kItemRow + item, item % 2});
  marks.insert(marks.end(), {{kItemRow + 17, 0, 120, 0.6}, {kItemRow + 120, 3, 120, 0.6}});  // lighter second marks
  const GreyImage printed = readPgm(dir.file("blank.pgm"), 300);
  writePgm(dir.file("pencilled.pgm"), SheetScanner(bundledDesign(), {300}).scan(marks, &printed));
  writePgm(dir.file("white.pgm"), GreyImage{850, 1100, 100, 100, std::vector<std::uint8_t>(850 * 1100, 255)});

  const char* names[] = {"SSN", "Gender", "Race", "Marital", "DateOfBirth", "Age", "Education", "FirstArrest",
                         "FirstConviction", "FelonyArrests", "TimesProbation", "ProbationRevocation", "TimesParole",
                         "ParoleRevocation", "TimeArrest", "TimesJail", "TimesPrison", "AlcoholArrests", "DrugArrests",
                         "DUIArrests", "PercentEmployed", "Responses", "MultipleMarks"};
  std::string expected, files;
  const auto block = [&](const char* file, const std::vector<std::string>& values, const std::string& more) {
    files += " " + dir.file(file), expected += "file: " + dir.file(file) + "\n";
    for (std::size_t i = 0; i < values.size(); ++i) expected += std::string(names[i]) + ": " + values[i] + "\n";
    expected += more + "\n";
  };
  std::vector<std::string> blank(23, "N");
  blank[4] = "NN/NN/NNNN", blank[21] = std::string(162, '0'), blank[22] = "0";
  std::vector<std::string> pencilled = blank;
  const std::pair<int, const char*> read[] = {{0, "123456789"}, {1, "1"}, {2, "3"}, {3, "2"}, {4, "04/23/1961"}, {5, "45"},
                                              {6, "12"}, {7, "18"}, {8, "N"}, {9, "10"}, {13, "3"}, {20, "07"}, {22, "2"}};
  for (auto [i, v] : read) pencilled[static_cast<std::size_t>(i)] = v;
  for (int item = 1; item <= 162; ++item) pencilled[21][static_cast<std::size_t>(item - 1)] = char('0' + 1 + item % 2);
  block("pencilled.pgm", pencilled, "  Item 17\n  Item 120\n");
  for (const char* f : {"blank.png", "blank.jpg", "blank.tif", "blank.pgm"}) block(f, blank, "");
  block("white.pgm", {}, "error: Anchor Box not found\n");
  block("missing.png", {}, "error: File not found\n");
  const std::string zvscan = kProgram + "/zvscan --program-dir " + dir.path();
  EXPECT_EQ(run(zvscan + files), std::make_pair(expected, 1));
  EXPECT_EQ(run(zvscan + " " + dir.file("pencilled.pgm")).second, 0);
  EXPECT_EQ(run(kProgram + "/zvscan " + dir.file("blank.png") + " 2>/dev/null").second, 2);
  EXPECT_EQ(run(zvscan + " 2>/dev/null").second, 2);
}
