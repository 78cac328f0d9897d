// The answer sheet end to end: the bundled layout against the printed
// design, generated pencil scans at every tolerated turn, shift, blur and
// noise, and the printed PDF rasterised, pencilled and read through zvscan.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>

#include "tests/core/SheetScanGenerator.h"
#include "tests/core/TestSupport.h"

using namespace zv;
using namespace zvtest;

namespace {

bool overlap(int ax, int ay, int aw, int ah, int bx, int by, int bw, int bh) {
  return ax < bx + bw && bx < ax + aw && ay < by + bh && by < ay + ah;
}

// A client's sheet: the values and the firm marks that say them.
struct Filled {
  std::string ssn, date, age, education, choices;
  std::array<int, 14> court{};  // -1 blank; 10 means "10+"
  std::string responses;
  std::vector<PencilMark> marks;
};

Filled fill(std::mt19937& rng) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto two = [&](int lo, int hi) { const int v = pick(lo, hi); return std::string{char('0' + v / 10), char('0' + v % 10)}; };
  Filled f;
  for (int i = 0; i < 9; ++i) f.ssn += char('0' + pick(0, 9));
  f.date = two(1, 12) + two(1, 31) + two(11, 99);
  f.age = two(16, 89), f.education = two(0, 20);
  f.choices = {char('0' + pick(1, 2)), char('0' + pick(1, 6)), char('0' + pick(1, 5))};
  markDigits(f.marks, kIdRow, f.ssn);
  markDigits(f.marks, kDateRow, f.date);
  markDigits(f.marks, kAgeRow, f.age + f.education);
  for (int i = 0; i < 3; ++i) f.marks.push_back({kGenderRow + i, f.choices[static_cast<std::size_t>(i)] - '1'});
  for (int k = 0; k < 14; ++k) {
    f.court[static_cast<std::size_t>(k)] = pick(0, 6) == 0 ? -1 : k < 2 ? pick(10, 60) : k == 13 ? pick(0, 12) : pick(0, 10);
    const int v = f.court[static_cast<std::size_t>(k)];
    if (v < 0) continue;
    if (k < 2 || k == 13) markDigits(f.marks, k < 2 ? kFirstArrestRow + 2 * k : kEmployedRow, two(v, v));
    else f.marks.push_back({kCountRow + k - 2, v});
  }
  for (int item = 1; item <= 162; ++item) {
    const int answers = static_cast<int>(bundledDesign().layout[static_cast<std::size_t>(kItemRow + item)].dimx);
    const int code = pick(0, 12) == 0 ? 0 : pick(1, answers);
    f.responses += char('0' + code);
    if (code) f.marks.push_back({kItemRow + item, code - 1});
  }
  return f;
}

std::string courtText(int v, bool twoDigits) {
  return v < 0 ? "N" : twoDigits && v < 10 ? "0" + std::to_string(v) : std::to_string(v);
}

// Runs a command and returns its standard output and exit status.
std::pair<std::string, int> run(const std::string& command) {
  std::string out;
  FILE* p = ::popen(command.c_str(), "r");
  std::array<char, 4096> buf{};
  for (std::size_t n; (n = std::fread(buf.data(), 1, buf.size(), p)) > 0;) out.append(buf.data(), n);
  const int status = ::pclose(p);
  return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// pdftoppm's grey or colour output as a lightness image.
GreyImage readPnm(const std::string& path, double dpi) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int w = 0, h = 0, maxval = 0;
  in >> magic >> w >> h >> maxval;
  in.get();
  const int channels = magic == "P6" ? 3 : 1;
  std::vector<unsigned char> raw(static_cast<std::size_t>(w * h * channels));
  in.read(reinterpret_cast<char*>(raw.data()), static_cast<std::streamsize>(raw.size()));
  GreyImage g{w, h, dpi, dpi, {}};
  for (std::size_t i = 0; i < raw.size(); i += static_cast<std::size_t>(channels))
    g.pixels.push_back(channels == 3 ? lightnessOf(raw[i], raw[i + 1], raw[i + 2]) : raw[i]);
  return g;
}

void writePgm(const std::string& path, const GreyImage& g) {
  std::ofstream out(path, std::ios::binary);
  out << "P5\n" << g.width << " " << g.height << "\n255\n";
  out.write(reinterpret_cast<const char*>(g.pixels.data()), static_cast<std::streamsize>(g.pixels.size()));
}

const std::string kProgram = ZV_PROGRAM_DIR;

}  // namespace

TEST(SheetLayoutTable, BundledLayoutFitsThePrintedSheet) {
  const SheetDesign& d = bundledDesign();
  ASSERT_EQ(d.layout.size(), 201u);
  const std::pair<int, const char*> names[] = {{0, "ID Number digit 1"}, {9, "Gender"}, {12, "Date of Birth month 1"},
                                               {26, "Felony arrests"}, {39, "Item 1"}, {200, "Item 162"}};
  for (auto [row, name] : names) EXPECT_EQ(d.layout[static_cast<std::size_t>(row)].LocationName, name);
  // Items 140 to 162 have a bubble for each answer of the English question table.
  const auto db = Workspace::standard("zv.ini").OpenDatabase(kProgram + "/ZV.db");
  Recordset english = db.SelectAll("English");
  for (; !english.IsEOF(); english.MoveNext()) {
    int answers = 0;
    for (const char* a : {"ANSWER1", "ANSWER2", "ANSWER3", "ANSWER4", "ANSWER5"}) answers += !english.field(a).empty();
    const int item = static_cast<int>(english.fieldInt("ID"));
    const int expected = item <= 105 ? 2 : item <= 139 ? 4 : answers;
    EXPECT_EQ(d.layout[static_cast<std::size_t>(kItemRow + item)].dimx, expected) << item;
  }
  // No two windows overlap; no black print reaches into one; the boxes lie inside their searches.
  const Point a = d.anchor();
  std::vector<Point> windows;
  for (const auto& row : d.layout) {
    EXPECT_LE(row.LocationName.size(), 30u);
    for (Point p : bubblePoints(row, 0)) windows.push_back({a.x + p.x, a.y + p.y});
  }
  for (std::size_t i = 0; i < windows.size(); ++i) {
    for (std::size_t j = i + 1; j < windows.size(); ++j)
      EXPECT_FALSE(overlap(windows[i].x, windows[i].y, 15, 15, windows[j].x, windows[j].y, 15, 15)) << i << " " << j;
    for (const auto& p : d.print) {
      EXPECT_FALSE(p.kind != "labels" && overlap(windows[i].x, windows[i].y, 15, 15, p.x, p.y, p.w, p.h)) << p.text;
    }
  }
  std::vector<const SheetPrintItem*> boxes;
  for (const auto& p : d.print)
    if (p.kind == "box") boxes.push_back(&p);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(a.x >= 5 + 15 && a.x <= 45 - 15 && a.y >= 15 && a.y <= 125 - 15) << "room for a 15 px shift";
  EXPECT_EQ(boxes[1]->y, a.y);
  EXPECT_TRUE(boxes[1]->x - a.x >= 772 + 5 && boxes[1]->x - a.x <= 802 - 5);
}

TEST(SheetScan, GeneratedScansReadEveryFirmMark) {
  std::mt19937 rng(20240611);
  auto real = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  constexpr int kSheets = 24;
  int lightSmall = 0, lightSmallWrong = 0, lightFaint = 0, lightFaintWrong = 0;
  for (int sheet = 0; sheet < kSheets; ++sheet) {
    Filled f = fill(rng);
    const std::vector<double> skews = {-2, 2, -1.2, 0.7};
    ScanSetup s{sheet % 8 == 7 ? 300.0 : 100.0, sheet < 4 ? skews[static_cast<std::size_t>(sheet)] : real(-2, 2),
                real(-15, 15), real(-15, 15), sheet % 2 == 0, real(0, 5), 40, static_cast<unsigned>(sheet)};
    if (sheet < 4) s.shiftX = s.shiftY = sheet % 2 ? 15 : -15;
    // Pencil as people use it: darkness, size and place vary; each firm mark covers at least half its bubble.
    for (PencilMark& m : f.marks) m = {m.row, m.bubble, real(110, 230), real(0.5, 1.15), real(-1, 1), real(-1, 1)};
    // Changed answers: the first choice rubbed out next to the kept one.
    for (int item = 1; item <= 162; item += 9) {
      const auto& row = bundledDesign().layout[static_cast<std::size_t>(kItemRow + item)];
      const int code = f.responses[static_cast<std::size_t>(item - 1)] - '0';
      if (code) f.marks.push_back({kItemRow + item, (code % row.dimx), 180, 0.9, 0, 0, true});
    }
    // Lighter marks, counted apart: small ones and faint ones.
    std::vector<std::pair<int, bool>> light;
    for (int item = 5; item <= 162; item += 11) {
      const bool small = item % 2;
      const int code = f.responses[static_cast<std::size_t>(item - 1)] - '0';
      if (!code) continue;
      for (auto& m : f.marks)
        if (m.row == kItemRow + item && !m.erased) {
          m.fill = small ? real(0.15, 0.5) : real(0.6, 1.0);
          m.k = small ? real(110, 230) : real(55, 110);
        }
      light.push_back({item, small});
    }
    const SheetReading r = readScan(f.marks, s);
    ASSERT_EQ(r.outcome, SheetOutcome::Read) << "sheet " << sheet;
    std::string responses = r.fields.Responses, expected = f.responses;
    for (auto [item, small] : light) {
      const bool wrong = responses[static_cast<std::size_t>(item - 1)] != expected[static_cast<std::size_t>(item - 1)];
      (small ? lightSmall : lightFaint)++;
      (small ? lightSmallWrong : lightFaintWrong) += wrong;
      responses[static_cast<std::size_t>(item - 1)] = expected[static_cast<std::size_t>(item - 1)] = '-';
    }
    const SheetFields& got = r.fields;
    const std::string d = f.date;
    EXPECT_EQ(got.SSN, f.ssn) << sheet;
    EXPECT_EQ(got.DateOfBirth, d.substr(0, 2) + "/" + d.substr(2, 2) + "/19" + d.substr(4)) << sheet;
    EXPECT_EQ(got.Age + got.Education, f.age + f.education) << sheet;
    EXPECT_EQ(got.Gender + got.Race + got.Marital, f.choices) << sheet;
    for (std::size_t k = 0; k < 14; ++k)
      EXPECT_EQ(got.court[k], courtText(f.court[k], k < 2 || k == 13)) << sheet << " " << kCourtFieldNames[k];
    EXPECT_EQ(responses, expected) << sheet << " skew " << s.skew << " shift " << s.shiftX << "," << s.shiftY;
    std::vector<std::string> lightNames;
    for (auto [item, small] : light) lightNames.push_back("Item " + std::to_string(item));
    for (const auto& m : got.MultipleMarks)
      EXPECT_NE(std::find(lightNames.begin(), lightNames.end(), trimBlanks(m)), lightNames.end()) << sheet << " " << m;
  }
  std::cout << "Lighter marks misread: small (15-50 % of the bubble) " << lightSmallWrong << " of " << lightSmall
            << ", faint (darkness 55-110) " << lightFaintWrong << " of " << lightFaint << "\n";
}

TEST(SheetPrintedSheet, RasterisedPdfReadsBlank) {
  TempDir dir;
  for (const auto& [dpi, mode] : {std::pair{100, ""}, std::pair{300, ""}, std::pair{300, "-gray"}}) {
    const std::string base = dir.file("sheet" + std::to_string(dpi) + mode);
    ASSERT_EQ(run("pdftoppm -r " + std::to_string(dpi) + " " + mode + " -singlefile " + kProgram + "/AnswerSheet.pdf " + base).second, 0);
    const SheetReading r = ReadSheetPage(PageImage::load(readPnm(base + (*mode ? ".pgm" : ".ppm"), dpi)), bundledDesign().layout);
    ASSERT_EQ(r.outcome, SheetOutcome::Read) << dpi << mode;
    EXPECT_EQ(r.skew, 0.0f);
    const SheetFields& f = r.fields;
    EXPECT_EQ(f.SSN + f.Gender + f.Race + f.Marital + f.DateOfBirth + f.Age + f.Education, "NNNNNN/NN/NNNNNN");
    for (const auto& c : f.court) EXPECT_EQ(c, "N");
    EXPECT_EQ(f.Responses, std::string(162, '0'));
    EXPECT_TRUE(f.MultipleMarks.empty()) << dpi << mode;
  }
}

TEST(SheetPrintedSheet, ZvscanReadsPencilledPrintsInEveryFormat) {
  TempDir dir;
  std::filesystem::copy_file(kProgram + "/ZV.db", dir.file("ZV.db"));
  const std::string pdf = kProgram + "/AnswerSheet.pdf";
  ASSERT_EQ(run("pdftoppm -r 300 -gray -singlefile " + pdf + " " + dir.file("printed")).second, 0);
  // Pencil on the printed page: the generator marks over the rasterised print.
  std::vector<PencilMark> marks;
  markDigits(marks, kIdRow, "123456789");
  markDigits(marks, kDateRow, "042361");
  markDigits(marks, kAgeRow, "451218 9");  // age, education, first arrest, first conviction tens blank
  marks.insert(marks.end(), {{kGenderRow, 0}, {kRaceRow, 2}, {kMaritalRow, 1}, {kCountRow, 10}, {kCountRow + 4, 3}});
  markDigits(marks, kEmployedRow, "07");
  for (int item = 1; item <= 162; ++item) marks.push_back({kItemRow + item, item % 2});
  marks.insert(marks.end(), {{kItemRow + 17, 0, 120, 0.6}, {kItemRow + 120, 3, 120, 0.6}});  // lighter second marks
  GreyImage printed = readPnm(dir.file("printed.pgm"), 300);
  writePgm(dir.file("pencilled.pgm"), SheetScanner(bundledDesign(), {300}).scanOver(printed, marks));
  writePgm(dir.file("white.pgm"), GreyImage{850, 1100, 100, 100, std::vector<std::uint8_t>(850 * 1100, 255)});
  for (const char* f : {"-png -r 100", "-tiff -r 300", "-jpeg -r 200"})
    ASSERT_EQ(run(std::string("pdftoppm -singlefile ") + f + " " + pdf + " " + dir.file("blank")).second, 0);

  std::string responses;
  for (int item = 1; item <= 162; ++item) responses += char('0' + 1 + item % 2);
  const auto [out, status] = run(kProgram + "/zvscan --program-dir " + dir.path() + " " + dir.file("pencilled.pgm") +
                                 " " + dir.file("white.pgm") + " " + dir.file("missing.png") + " 2>&1");
  const std::string court = "FirstArrest: 18\nFirstConviction: N\nFelonyArrests: 10\nTimesProbation: N\n"
                            "ProbationRevocation: N\nTimesParole: N\nParoleRevocation: 3\nTimeArrest: N\nTimesJail: N\n"
                            "TimesPrison: N\nAlcoholArrests: N\nDrugArrests: N\nDUIArrests: N\nPercentEmployed: 07\n";
  EXPECT_EQ(out, "file: " + dir.file("pencilled.pgm") +
                     "\nSSN: 123456789\nGender: 1\nRace: 3\nMarital: 2\nDateOfBirth: 04/23/1961\nAge: 45\n"
                     "Education: 12\n" + court + "Responses: " + responses + "\nMultipleMarks: 2\n  Item 17\n  Item 120\n\n"
                     "file: " + dir.file("white.pgm") + "\nerror: Anchor Box not found\n\n"
                     "file: " + dir.file("missing.png") + "\nerror: File not found\n\n");
  EXPECT_EQ(status, 1);

  const auto [blank, ok] = run(kProgram + "/zvscan --program-dir " + dir.path() + " " + dir.file("blank.png") + " " +
                               dir.file("blank.tif") + " " + dir.file("blank.jpg"));
  EXPECT_EQ(ok, 0) << blank;
  for (const char* line : {"SSN: N\n", "DateOfBirth: NN/NN/NNNN\n", "MultipleMarks: 0\n\n"}) {
    std::size_t n = 0;
    for (auto at = blank.find(line); at != std::string::npos; at = blank.find(line, at + 1)) ++n;
    EXPECT_EQ(n, 3u) << line << blank;
  }
  EXPECT_EQ(run(kProgram + "/zvscan " + dir.file("blank.png") + " 2>/dev/null").second, 2);
  EXPECT_EQ(run(kProgram + "/zvscan --program-dir " + dir.path() + " 2>/dev/null").second, 2);
}
