// The answer sheet end to end: the bundled layout against the printed
// design, generated pencil scans at every tolerated turn, shift, blur and
// noise, and the printed PDF rasterised, pencilled and read through zvscan.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/core/SheetScanGenerator.h"

using namespace zv;
using namespace zvtest;

namespace {

const std::string kProgram = ZV_PROGRAM_DIR;

bool overlap(int ax, int ay, int aw, int ah, int bx, int by, int bw, int bh) {
  return ax < bx + bw && bx < ax + aw && ay < by + bh && by < ay + ah;
}

// A client's sheet drawn at random, a blank now and then: the marks and what reading them gives.
FilledSheet fill(std::mt19937& rng) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto two = [&](int lo, int hi) { return std::to_string(100 + pick(lo, hi)).substr(1); };
  FilledSheet sheet;
  SheetFields& f = sheet.fields;
  std::vector<PencilMark>& m = sheet.marks;
  for (int i = 0; i < 9; ++i) f.SSN += char('0' + pick(0, 9));
  const std::string date = two(1, 12) + two(1, 31) + two(11, 99);
  f.DateOfBirth = date.substr(0, 2) + "/" + date.substr(2, 2) + "/19" + date.substr(4);
  f.Age = two(16, 89);
  f.Education = two(0, 20);
  m = markDigits(kAgeRow, f.Age + f.Education, markDigits(kDateRow, date, markDigits(kIdRow, f.SSN)));
  const std::pair<std::string*, int> choices[] = {{&f.Gender, 2}, {&f.Race, 6}, {&f.Marital, 5}};
  for (int i = 0; i < 3; ++i) *choices[i].first = std::to_string(pick(1, choices[i].second));
  for (int i = 0; i < 3; ++i) m.push_back({kGenderRow + i, std::stoi(*choices[i].first) - 1});
  for (int k = 0; k < 14; ++k) {
    std::string& v = f.court[static_cast<std::size_t>(k)];
    v = pick(0, 6) == 0 ? "N" : k < 2 ? two(10, 60) : k == 13 ? two(0, 12) : std::to_string(pick(0, 10));
    if (k < 2 || k == 13) m = markDigits(k < 2 ? kFirstArrestRow + 2 * k : kEmployedRow, v == "N" ? "  " : v, m);
    else if (v != "N") m.push_back({kCountRow + k - 2, std::stoi(v)});
  }
  for (int item = 1; item <= 162; ++item) {
    const int code = pick(0, 12) == 0 ? 0 : pick(1, bundledDesign().layout[std::size_t(kItemRow + item)].dimx);
    f.Responses += char('0' + code);
    if (code) m.push_back({kItemRow + item, code - 1});
  }
  return sheet;
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
  GreyImage g{0, 0, dpi, dpi, {}};
  std::string magic, maxval;
  in >> magic >> g.width >> g.height >> maxval;
  in.get();
  g.pixels.assign(std::istreambuf_iterator<char>(in), {});
  return g;
}

}  // namespace

TEST(SheetLayoutTable, BundledLayoutFitsThePrintedSheet) {
  const SheetDesign& d = bundledDesign();
  ASSERT_EQ(d.layout.size(), 201u);
  const std::pair<int, const char*> names[] = {
      {0, "ID Number digit 1"}, {9, "Gender"}, {12, "Date of Birth month 1"}, {18, "Age"}, {19, "Age"},
      {26, "Felony arrests"}, {37, "Months employed"}, {38, "Months employed"}, {39, "Item 1"}, {200, "Item 162"}};
  // Both columns of a two-column field carry its name: marked twice, they make one warning line.
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
    for (const auto& p : d.print)
      EXPECT_FALSE(p.kind != "labels" && overlap(windows[i].x, windows[i].y, 15, 15, p.x, p.y, p.w, p.h)) << p.text;
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
  // Lighter marks, by kind (item number odd: small, even: faint) and band (item / 11 % 3): they may read either way.
  const double bands[2][4] = {{30, 55, 80, 110}, {0.05, 0.15, 0.3, 0.5}};  // darkness; share of the bubble
  for (int sheet = 0; sheet < 24; ++sheet) {
    FilledSheet f = fill(rng);
    // The corners of what a scan may be (2 degrees either way, 15 px off), then anything between.
    const bool corner = sheet < 4;
    ScanSetup s{sheet % 8 == 7 ? 300.0 : 100.0, corner ? (sheet % 2 ? 2.0 : -2.0) : real(-2, 2),
                corner ? (sheet < 2 ? 15.0 : -15.0) : real(-15, 15), corner ? (sheet % 3 ? 15.0 : -15.0) : real(-15, 15),
                sheet % 2 == 0, real(0, 5), 40, static_cast<unsigned>(sheet)};
    // Pencil as people use it: darkness, size and place vary; each firm mark covers at least half its bubble.
    for (PencilMark& m : f.marks) m = {m.row, m.bubble, real(110, 230), real(0.5, 1.15), real(-1, 1), real(-1, 1)};
    const std::string answers = f.fields.Responses;  // light marks' codes become "-"
    std::vector<std::string> listable;  // where a second mark may be listed: rubbed-out ones, then lighter ones
    for (int item = 1; item <= 162; ++item) {
      const auto i = static_cast<std::size_t>(item - 1);
      const int code = answers[i] - '0', kind = item % 2, band = item / 11 % 3;
      if (code && item % 9 == 1) {  // a changed answer: the first choice rubbed out beside the kept one
        f.marks.push_back({kItemRow + item, code % bundledDesign().layout[i + kItemRow + 1].dimx, 180, 0.9, 0, 0, true});
        listable.push_back("Item " + std::to_string(item));
      }
      if (!code || item % 11 != 5) continue;
      const double v = real(bands[kind][band], bands[kind][band + 1]);
      for (auto& m : f.marks)
        if (m.row == kItemRow + item && !m.erased) (kind ? m.fill : m.k) = v;
      listable.push_back("Item " + std::to_string(item));
      f.fields.Responses[i] = '-';
    }
    const SheetReading r = readScan(f.marks, s);
    ASSERT_EQ(r.outcome, SheetOutcome::Read) << "sheet " << sheet;
    SheetFields got = r.fields;
    for (std::size_t i = 0; i < 162; ++i)
      if (f.fields.Responses[i] == '-') got.Responses[i] = '-';
    const std::string at = " in sheet " + std::to_string(sheet);
    for (const auto& m : got.MultipleMarks)
      EXPECT_NE(std::find(listable.begin(), listable.end(), trimBlanks(m)), listable.end()) << m << at;
    got.MultipleMarks.clear();
    EXPECT_EQ(got, f.fields) << at << ", skew " << s.skew << ", shift " << s.shiftX << "," << s.shiftY;
  }
}

TEST(SheetPrintedSheet, ZvscanReadsPrintsBlankAndPencilledInEveryFormat) {
  TempDir dir;
  std::filesystem::copy_file(kProgram + "/ZV.db", dir.file("ZV.db"));
  const std::string pdf = kProgram + "/AnswerSheet.pdf";
  // Colour at 100, 200 and 300 px/in, and grey as a black-and-white printer gives it.
  for (const char* f : {"-png -r 100", "-jpeg -r 200", "-tiff -r 300", "-gray -r 300"})
    ASSERT_EQ(run(std::string("pdftoppm -singlefile ") + f + " " + pdf + " " + dir.file("blank")).second, 0);
  // The filled sheet pencilled on the printed page, with lighter second marks in two items.
  FilledSheet sheet = filledSheet();
  sheet.marks.insert(sheet.marks.end(), {{kItemRow + 17, 0, 120, 0.6}, {kItemRow + 120, 3, 120, 0.6}});
  sheet.fields.MultipleMarks = {"Item 17", "Item 120"};
  const GreyImage printed = readPgm(dir.file("blank.pgm"), 300);
  writePgm(dir.file("pencilled.pgm"), SheetScanner(bundledDesign(), {300}).scan(sheet.marks, &printed));
  writePgm(dir.file("white.pgm"), GreyImage{850, 1100, 100, 100, std::vector<std::uint8_t>(850 * 1100, 255)});

  const char* names[] = {"SSN", "Gender", "Race", "Marital", "DateOfBirth", "Age", "Education", "FirstArrest",
                         "FirstConviction", "FelonyArrests", "TimesProbation", "ProbationRevocation", "TimesParole",
                         "ParoleRevocation", "TimeArrest", "TimesJail", "TimesPrison", "AlcoholArrests", "DrugArrests",
                         "DUIArrests", "PercentEmployed", "Responses", "MultipleMarks"};
  std::string expected, files;
  // Each file's block: its fields (none after an error) and the fields marked twice.
  const auto block = [&](const char* file, const SheetFields& f, const std::string& error = "") {
    files += " " + dir.file(file), expected += "file: " + dir.file(file) + "\n";
    std::vector<std::string> values{f.SSN, f.Gender, f.Race, f.Marital, f.DateOfBirth, f.Age, f.Education};
    values.insert(values.end(), f.court.begin(), f.court.end());
    values.insert(values.end(), {f.Responses, std::to_string(f.MultipleMarks.size())});
    for (std::size_t i = 0; error.empty() && i < values.size(); ++i) expected += names[i] + (": " + values[i]) + "\n";
    for (const auto& m : f.MultipleMarks) expected += "  " + m + "\n";
    expected += error + "\n";
  };
  block("pencilled.pgm", sheet.fields);
  for (const char* f : {"blank.png", "blank.jpg", "blank.tif", "blank.pgm"}) block(f, blankSheetFields());
  block("white.pgm", {}, "error: Anchor Box not found\n");
  block("missing.png", {}, "error: File not found\n");
  const std::string zvscan = kProgram + "/zvscan --program-dir " + dir.path();
  EXPECT_EQ(run(zvscan + files), std::make_pair(expected, 1));
  EXPECT_EQ(run(zvscan + " " + dir.file("pencilled.pgm")).second, 0);
  EXPECT_EQ(run(kProgram + "/zvscan " + dir.file("blank.png") + " 2>/dev/null").second, 2);
  EXPECT_EQ(run(zvscan + " 2>/dev/null").second, 2);
}
