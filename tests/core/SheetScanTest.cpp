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
  for (int k = 0; k < 14; ++k) {
    const bool digits = k < 2 || k == 13;
    const std::string v = pick(0, 6) == 0 ? "N" : k < 2 ? two(10, 60) : k == 13 ? two(0, 12) : std::to_string(pick(0, 10));
    f.court.push_back(v);
    if (v == "N") continue;
    if (digits) f.marks = markDigits(k < 2 ? kFirstArrestRow + 2 * k : kEmployedRow, v, f.marks);
    else f.marks.push_back({kCountRow + k - 2, std::stoi(v)});
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

void writePgm(const std::string& path, const GreyImage& g) {
  std::ofstream out(path, std::ios::binary);
  out << "P5\n" << g.width << " " << g.height << "\n255\n";
  out.write(reinterpret_cast<const char*>(g.pixels.data()), static_cast<std::streamsize>(g.pixels.size()));
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
  // Lighter marks by kind and band: small ones covering 5-15, 15-30, 30-50 % of the
  // bubble; faint ones of darkness 30-55, 55-80, 80-110.
  const double bands[2][4] = {{30, 55, 80, 110}, {0.05, 0.15, 0.3, 0.5}};
  int light[2][3] = {}, misread[2][3] = {}, erased = 0, erasedListed = 0;
  for (int sheet = 0; sheet < 24; ++sheet) {
    Filled f = fill(rng);
    // The corners of what a scan may be (2 degrees either way, 15 px off), then anything between.
    ScanSetup s{sheet % 8 == 7 ? 300.0 : 100.0, sheet < 4 ? (sheet % 2 ? 2.0 : -2.0) : real(-2, 2),
                sheet < 4 ? (sheet < 2 ? 15.0 : -15.0) : real(-15, 15), sheet < 4 ? (sheet % 3 ? 15.0 : -15.0) : real(-15, 15),
                sheet % 2 == 0, real(0, 5), 40, static_cast<unsigned>(sheet)};
    // Pencil as people use it: darkness, size and place vary; each firm mark covers at least half its bubble.
    for (PencilMark& m : f.marks) m = {m.row, m.bubble, real(110, 230), real(0.5, 1.15), real(-1, 1), real(-1, 1)};
    // Changed answers: the first choice rubbed out beside the kept one. Its
    // specks may be listed as a second mark; the kept one must win.
    std::vector<std::string> listable;
    for (int item = 1; item <= 162; item += 9) {
      const int code = f.responses[static_cast<std::size_t>(item - 1)] - '0';
      const int answers = bundledDesign().layout[static_cast<std::size_t>(kItemRow + item)].dimx;
      if (code) f.marks.push_back({kItemRow + item, code % answers, 180, 0.9, 0, 0, true});
      if (code) listable.push_back("Item " + std::to_string(item)), ++erased;
    }
    const std::size_t erasedListable = listable.size();
    // Lighter marks, counted apart.
    std::vector<std::pair<int, int>> bandOf(163);
    std::string expected = f.responses;
    for (int item = 5; item <= 162; item += 11) {
      if (expected[static_cast<std::size_t>(item - 1)] == '0') continue;
      const int kind = item % 2, band = item / 11 % 3;
      const double v = real(bands[kind][band], bands[kind][band + 1]);
      for (auto& m : f.marks)
        if (m.row == kItemRow + item && !m.erased) (kind ? m.fill : m.k) = v;
      listable.push_back("Item " + std::to_string(item));
      expected[static_cast<std::size_t>(item - 1)] = '-';
      bandOf[static_cast<std::size_t>(item)] = {kind, band};
      ++light[kind][band];
    }
    const SheetReading r = readScan(f.marks, s);
    ASSERT_EQ(r.outcome, SheetOutcome::Read) << "sheet " << sheet;
    std::string responses = r.fields.Responses;
    for (std::size_t i = 0; i < 162; ++i)
      if (expected[i] == '-') {
        const auto [kind, band] = bandOf[i + 1];
        misread[kind][band] += responses[i] != f.responses[i];
        responses[i] = '-';
      }
    const SheetFields& got = r.fields;
    const std::string d = f.date, at = " in sheet " + std::to_string(sheet);
    EXPECT_EQ(got.SSN + got.DateOfBirth + got.Age + got.Education + got.Gender + got.Race + got.Marital,
              f.ssn + d.substr(0, 2) + "/" + d.substr(2, 2) + "/19" + d.substr(4) + f.ages + f.choices) << at;
    EXPECT_EQ(std::vector<std::string>(got.court.begin(), got.court.end()), f.court) << at;
    EXPECT_EQ(responses, expected) << at << ", skew " << s.skew << ", shift " << s.shiftX << "," << s.shiftY;
    for (const auto& m : got.MultipleMarks) {
      const auto found = std::find(listable.begin(), listable.end(), trimBlanks(m));
      EXPECT_NE(found, listable.end()) << m << at;
      erasedListed += found < listable.begin() + static_cast<std::ptrdiff_t>(erasedListable);
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
  // Pencil on the printed page.
  auto marks = markDigits(kIdRow, "123456789");
  marks = markDigits(kDateRow, "042361451218 9", marks);  // date, age, education, first arrest, conviction's tens blank
  marks = markDigits(kEmployedRow, "07", marks);
  marks.insert(marks.end(), {{kGenderRow, 0}, {kRaceRow, 2}, {kMaritalRow, 1}, {kCountRow, 10}, {kCountRow + 4, 3}});
  for (int item = 1; item <= 162; ++item) marks.push_back({kItemRow + item, item % 2});
  marks.insert(marks.end(), {{kItemRow + 17, 0, 120, 0.6}, {kItemRow + 120, 3, 120, 0.6}});  // lighter second marks
  writePgm(dir.file("pencilled.pgm"), SheetScanner(bundledDesign(), {300}).scanOver(readPgm(dir.file("blank.pgm"), 300), marks));
  writePgm(dir.file("white.pgm"), GreyImage{850, 1100, 100, 100, std::vector<std::uint8_t>(850 * 1100, 255)});

  std::string responses, expected;
  for (int item = 1; item <= 162; ++item) responses += char('0' + 1 + item % 2);
  const auto block = [&](const std::string& file, const std::string& fields) {
    return "file: " + dir.file(file) + "\n" + fields + "\n";
  };
  const std::string blankCourt = "FirstArrest: N\nFirstConviction: N\nFelonyArrests: N\nTimesProbation: N\n"
                                 "ProbationRevocation: N\nTimesParole: N\nParoleRevocation: N\nTimeArrest: N\n"
                                 "TimesJail: N\nTimesPrison: N\nAlcoholArrests: N\nDrugArrests: N\nDUIArrests: N\n"
                                 "PercentEmployed: N\n";
  expected = block("pencilled.pgm", "SSN: 123456789\nGender: 1\nRace: 3\nMarital: 2\nDateOfBirth: 04/23/1961\nAge: 45\n"
                                    "Education: 12\nFirstArrest: 18\nFirstConviction: N\nFelonyArrests: 10\n"
                                    "TimesProbation: N\nProbationRevocation: N\nTimesParole: N\nParoleRevocation: 3\n"
                                    "TimeArrest: N\nTimesJail: N\nTimesPrison: N\nAlcoholArrests: N\nDrugArrests: N\n"
                                    "DUIArrests: N\nPercentEmployed: 07\nResponses: " + responses +
                                    "\nMultipleMarks: 2\n  Item 17\n  Item 120\n");
  for (const char* f : {"blank.png", "blank.jpg", "blank.tif", "blank.pgm"})
    expected += block(f, "SSN: N\nGender: N\nRace: N\nMarital: N\nDateOfBirth: NN/NN/NNNN\nAge: N\nEducation: N\n" +
                             blankCourt + "Responses: " + std::string(162, '0') + "\nMultipleMarks: 0\n");
  expected += block("white.pgm", "error: Anchor Box not found\n") + block("missing.png", "error: File not found\n");
  std::string files;
  for (const char* f : {"pencilled.pgm", "blank.png", "blank.jpg", "blank.tif", "blank.pgm", "white.pgm", "missing.png"})
    files += " " + dir.file(f);
  const std::string zvscan = kProgram + "/zvscan --program-dir " + dir.path();
  EXPECT_EQ(run(zvscan + files), std::make_pair(expected, 1));
  EXPECT_EQ(run(zvscan + " " + dir.file("pencilled.pgm")).second, 0);
  EXPECT_EQ(run(kProgram + "/zvscan " + dir.file("blank.png") + " 2>/dev/null").second, 2);
  EXPECT_EQ(run(zvscan + " 2>/dev/null").second, 2);
}
