// Reading a scanned answer sheet: the window test, the box searches, the
// field rules of the reading order, the multiple-mark list, pages that end
// early, resampling, and the layout positions stored back.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <functional>

#include "records/ZvError.h"
#include "tests/core/SheetScanGenerator.h"

using namespace zv;
using namespace zvtest;

namespace {

// A white page with black rectangles.
struct Paper {
  GreyImage img;
  Paper(int w, int h, double dpi = 100) : img{w, h, dpi, dpi, std::vector<std::uint8_t>(static_cast<std::size_t>(w * h), 255)} {}
  Paper& black(int x, int y, int w, int h) {
    for (int j = std::max(y, 0); j < std::min(y + h, img.height); ++j)
      for (int i = std::max(x, 0); i < std::min(x + w, img.width); ++i) img.pixels[static_cast<std::size_t>(j * img.width + i)] = 0;
    return *this;
  }
  PageImage page() const { return PageImage::load(img); }
};

Point at(const PolarPoint& p) { return {p.x, p.y}; }

// Every ScanItem row's stored position.
std::vector<Point> storedPositions(const Database& db) {
  std::vector<Point> v;
  for (Recordset rs = db.OpenTable("ScanItem"); !rs.IsEOF(); rs.MoveNext())
    v.emplace_back(static_cast<int>(rs.fieldInt("x")), static_cast<int>(rs.fieldInt("y")));
  return v;
}

}  // namespace

TEST(SheetWindow, CountsDarkPixelsAgainstTheThresholds) {
  const std::tuple<int, int, int, bool> cases[] = {
      {14, 9, 0, false}, {14, 10, 0, true}, {14, 9, 30, false}, {8, 19, 0, false}, {8, 20, 0, true}};
  for (const auto& [n, dark, outside, marked] : cases) {
    const int side = n == 8 ? 8 : n + 1;
    Paper paper(60, 60);
    for (int i = 0; i < dark; ++i) paper.black(10 + i / side, 10 + i % side, 1, 1);  // column by column
    for (int i = 0; i < outside; ++i) paper.black(10 + side + i % 3, 10 + i / 3, 1, 1);
    const PageImage page = paper.black(10, 9, side, 1).black(9, 10, 1, side).page();  // touching, not inside
    SheetReader reader(page);
    EXPECT_EQ(reader.IsMarkedBox({10, 10}, n), marked) << n << " " << dark;
    EXPECT_EQ(reader.darkCount(), dark);
  }
  // Beyond the page's edge the window reads white, however dark the page is.
  const PageImage dark = Paper(20, 20).black(0, 0, 20, 20).page();
  SheetReader reader(dark);
  EXPECT_TRUE(reader.IsMarkedBox({-10, -10}, 14));
  EXPECT_EQ(reader.darkCount(), 25);
}

TEST(SheetBoxes, AnchorReferenceAndSkew) {
  // The anchor box's corner, the reference box's offset from it, what the search finds and the skew.
  const std::tuple<int, int, int, int, SheetOutcome, float> cases[] = {
      {25, 35, 780, 0, SheetOutcome::Read, 0.0f}, {40, 110, 772, -27, SheetOutcome::Read, -2.0030f},
      {25, 35, 790, 20, SheetOutcome::Read, 1.4502f},  // 20 px lower over 790 px
      {60, 35, 780, 0, SheetOutcome::AnchorNotFound, 0},  // right of the search area
      {25, 130, 780, 0, SheetOutcome::AnchorNotFound, 0}, {25, 35, 810, 0, SheetOutcome::ReferenceNotFound, 0},
      {25, 35, 740, 0, SheetOutcome::ReferenceNotFound, 0},
  };
  for (const auto& [ax, ay, rdx, rdy, outcome, skew] : cases) {
    // A solid block below the anchor box moves nothing.
    const PageImage page =
        Paper(850, 1100).black(ax, ay, 24, 24).black(ax + rdx, ay + rdy, 24, 24).black(ax + 4, ay + 60, 8, 8).page();
    SheetReader reader(page);
    ASSERT_EQ(reader.FindAnchorBox(), outcome != SheetOutcome::AnchorNotFound) << ax << "," << ay;
    if (outcome == SheetOutcome::AnchorNotFound) continue;
    EXPECT_EQ(at(reader.anchor()), Point(ax, ay));
    ASSERT_EQ(reader.FindReferenceBox(), outcome == SheetOutcome::Read) << rdx;
    if (outcome != SheetOutcome::Read) continue;
    EXPECT_EQ(at(reader.reference()), Point(rdx, rdy));
    EXPECT_NEAR(reader.skew(), skew, 0.0005);
  }
  // A dark band from the first pixel on (the scanner's lid) is no box: blocks
  // count only once a white pixel has been seen.
  const PageImage lid = Paper(850, 200).black(0, 0, 850, 30).black(25, 35, 24, 24).page();
  SheetReader reader(lid);
  ASSERT_TRUE(reader.FindAnchorBox());
  EXPECT_EQ(at(reader.anchor()), Point(25, 35));
}

TEST(SheetRead, LevelBlankSheetReadsBlankAtTheDesignedPlaces) {
  const SheetReading r = readScan({});
  ASSERT_EQ(r.outcome, SheetOutcome::Read);
  EXPECT_EQ(r.skew, 0.0f);
  EXPECT_EQ(r.fields, blankSheetFields());
  const auto db = Workspace::standard("zv.ini").OpenDatabase(std::string(ZV_PROGRAM_DIR) + "/ZV.db");
  EXPECT_EQ(r.positions, storedPositions(db));
  // Level: a column's bubbles share x and lie dy * i below the first, rounded.
  const ScanItemRow& day = bundledDesign().layout[kDateRow + 3];
  const auto points = bubblePoints(day, 0);
  for (std::size_t i = 0; i < points.size(); ++i)
    EXPECT_EQ(points[i], Point(points[0].x, points[0].y + static_cast<int>(std::lround(day.dy * i))));
}

// The plain readings of each kind of field are in every generated sheet (SheetScanTest).
TEST(SheetRead, FieldRules) {
  using Get = std::function<std::string(const SheetFields&)>;
  const Get ssn = [](const SheetFields& f) { return f.SSN; };
  const Get date = [](const SheetFields& f) { return f.DateOfBirth; };
  const Get age = [](const SheetFields& f) { return f.Age; };
  const Get item17 = [](const SheetFields& f) { return f.Responses.substr(16, 2); };
  const Get choices = [](const SheetFields& f) { return f.Gender + f.Race + f.Marital; };
  const Get counts = [](const SheetFields& f) { return f.court[2] + "," + f.court[3] + "," + f.court[13]; };
  const std::vector<std::tuple<std::string, std::vector<PencilMark>, Get, std::string>> cases = {
      {"id with a blank column", markDigits(kIdRow, "1234 6789"), ssn, "N"},
      {"date in 2007", markDigits(kDateRow, "110207"), date, "11/02/2007"},
      {"date, first year digit blank", markDigits(kDateRow, "0423 1"), date, "04/23/NNN1"},
      {"date, first month digit blank", markDigits(kDateRow, " 42361"), date, "N4/23/NN61"},
      {"age, tens blank", markDigits(kAgeRow, " 5"), age, "N"},
      {"choices, marital blank", {{kGenderRow, 0}, {kRaceRow, 0}}, choices, "11N"},
      {"counts: 10+, blank, months", markDigits(kEmployedRow, "12", {{kCountRow, 10}}), counts, "10,N,12"},
      {"two marks: the darker", {{kItemRow + 17, 0, 220, 0.5}, {kItemRow + 17, 1, 120, 1.0}}, item17, "20"},
      {"two equal marks: the first", {{kItemRow + 17, 0, 255}, {kItemRow + 17, 1, 255}}, item17, "10"},
  };
  for (const auto& [name, marks, get, expected] : cases) {
    const SheetReading r = readScan(marks);
    ASSERT_EQ(r.outcome, SheetOutcome::Read) << name;
    EXPECT_EQ(get(r.fields), expected) << name;
    const auto listed = name.rfind("two", 0) == 0 ? std::vector<std::string>{"Item 17" + std::string(23, ' ')}
                                                    : std::vector<std::string>{};
    EXPECT_EQ(r.fields.MultipleMarks, listed) << name;
  }
}

TEST(SheetRead, MultipleMarkListHoldsAtMost161) {
  for (int rows : {10, 11, 201}) {
    std::vector<PencilMark> marks;
    for (int row = 0; row < rows; ++row) marks.insert(marks.end(), {{row, 0, 200, 0.5}, {row, 1, 150, 1.0}});
    const SheetReading r = readScan(marks);
    ASSERT_EQ(r.outcome, SheetOutcome::Read);
    const std::size_t listed = static_cast<std::size_t>(std::min(rows, 161));
    ASSERT_EQ(r.fields.MultipleMarks.size(), listed);
    std::string last = bundledDesign().layout[listed - 1].LocationName;
    EXPECT_EQ(r.fields.MultipleMarks.back(), last.append(30 - last.size(), ' '));
    EXPECT_EQ(r.fields.Responses.substr(0, 10), rows < 100 ? "0000000000" : "2222222222") << "read on when full";
  }
}

TEST(SheetRead, BubblesBeyondAShortPageReadWhite) {
  std::vector<PencilMark> marks;
  for (int item = 1; item <= 162; ++item) marks.push_back({kItemRow + item, 0});
  GreyImage scan = SheetScanner(bundledDesign(), {}).scan(marks);
  scan.height = 700;
  scan.pixels.resize(static_cast<std::size_t>(scan.width * scan.height));
  const SheetReading r = ReadSheetPage(PageImage::load(scan), bundledDesign().layout);
  ASSERT_EQ(r.outcome, SheetOutcome::Read);
  int beyond = 0;
  for (int item = 1; item <= 162; ++item) {
    const int top = r.positions[static_cast<std::size_t>(kItemRow + item)].y + bundledDesign().anchor().y;
    if (top + kBubbleSide <= 700 || top >= 700) {
      EXPECT_EQ(r.fields.Responses[static_cast<std::size_t>(item - 1)], top >= 700 ? '0' : '1') << item;
    }
    beyond += top >= 700;
  }
  EXPECT_GT(beyond, 50);
  EXPECT_TRUE(r.fields.MultipleMarks.empty());
}

TEST(SheetResample, To100PixelsPerInchByArea) {
  const std::tuple<int, int, double, Point> cases[] = {
      {2550, 3300, 300, {850, 1100}}, {1275, 1650, 0, {850, 1100}}, {612, 792, 72, {850, 1100}},
      {850, 1100, 100, {850, 1100}}, {850, 1400, 100.3, {850, 1400}}, {300, 600, 300, {100, 200}}};
  for (const auto& [w, h, dpi, size] : cases) {
    const GreyImage out = resampleTo100(Paper(w, h, dpi).img);
    EXPECT_EQ(Point(out.width, out.height), size) << w << " at " << dpi;
  }
  // Three old pixels to one: a black 3 x 3 block makes one black pixel, a
  // black column of it a third grey.
  const GreyImage out = resampleTo100(Paper(30, 30, 300).black(3, 3, 3, 3).black(9, 3, 1, 3).img);
  EXPECT_EQ(std::vector<int>(out.pixels.begin() + 10, out.pixels.begin() + 14), std::vector<int>({255, 0, 255, 170}));
  // Colour pixels count by their lightest channel, wherever the colour bytes start.
  const std::uint8_t argb[] = {9, 200, 30, 40, 9, 10, 20, 90};
  EXPECT_EQ(resampleTo100(PixelBuffer{argb, 2, 1, 8, 4, 1, 100, 100}).pixels, std::vector<std::uint8_t>({200, 90}));
}

TEST(SheetPositions, StoredAllOrNothing) {
  TempDir dir;
  std::filesystem::copy_file(std::string(ZV_PROGRAM_DIR) + "/ZV.db", dir.file("ZV.db"));
  auto db = Workspace::standard(dir.file("zv.ini")).OpenDatabase(dir.file("ZV.db"), false, true);
  const std::vector<Point> stored(201, Point{-3, 7});
  StoreFieldPositions(db, stored);
  EXPECT_EQ(storedPositions(db), stored);
  // A refusal at the 150th row leaves every row as it was.
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(dir.file("ZV.db").c_str(), &raw), SQLITE_OK);
  sqlite3_exec(raw, "CREATE TRIGGER refuse BEFORE UPDATE ON ScanItem WHEN NEW.ID = 150 BEGIN SELECT RAISE(ABORT, 'no'); END",
               nullptr, nullptr, nullptr);
  sqlite3_close(raw);
  EXPECT_THROW(StoreFieldPositions(db, std::vector<Point>(201, Point{5, 5})), ZvError);
  EXPECT_EQ(storedPositions(db), stored);
}
