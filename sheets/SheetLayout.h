#pragma once
// The answer sheet as data: the layout table ScanItem (one row per sheet
// field, in reading order) that places every bubble, and the table
// SheetPrint with everything else the printed sheet shows. Both come from
// data/authoring/zvsheet.py through ZV.db.
//
// Page pixels are 1/100 in. A bubble's point is the top left pixel of its
// 15 x 15 reading window; the printed circle is centred in that window.
#include <cstdint>
#include <string>
#include <vector>

namespace zv {

class Database;

inline constexpr int kPageWidth = 850;   // letter paper at 100 px/in
inline constexpr int kPageHeight = 1100;
inline constexpr int kScanItemRows = 201;
inline constexpr int kBubbleSide = 15;   // the bubble test's window

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

// A position carried both ways: x and y in pixels, r in pixels and theta in
// degrees (positive towards +y), as 32-bit floats where the reading keeps them.
struct PolarPoint {
  std::int16_t x = 0;
  std::int16_t y = 0;
  float r = 0;
  float theta = 0;

  // x and y from r and theta, each rounded to the nearest pixel (halves to even).
  void toRectangular();
  // r and theta from x and y; theta is arctan(y / x) in degrees, 90 when x is
  // 0, with no quadrant correction.
  void toPolar();
};

// The x and y of the rectangular form of (r, theta).
Point rectangularOf(float r, float theta);

// One row of ScanItem. A column field has DimY bubbles stacked downwards dy
// apart; a row field has dimx bubbles side by side dx apart.
struct ScanItemRow {
  int ID = 0;
  std::string LocationName;
  float r = 0;
  float theta = 0;
  int DimY = 0;
  float dy = 0;
  int dimx = 0;
  float dx = 0;
};
using SheetLayout = std::vector<ScanItemRow>;

// Where a row's bubbles are for a page turned by `skew` degrees, relative to
// the anchor box corner: the base point (r, theta + skew) first; a column
// keeps the base x and a row the base y, as the reading does.
Point basePoint(const ScanItemRow& row, float skew);
std::vector<Point> bubblePoints(const ScanItemRow& row, float skew);

// Every row of ScanItem in stored order. Throws ZvError when the table is
// missing or unreadable.
SheetLayout LoadScanItems(const Database& db);

// Writes each row's found base point into its x and y, all rows in one
// transaction: either every position is stored or none is. Throws ZvError.
void StoreFieldPositions(Database& db, const std::vector<Point>& positions);

// One printed element of SheetPrint besides the bubbles.
struct SheetPrintItem {
  std::string kind;  // "box", "frame", "line", "text", "labels"
  int x = 0, y = 0, w = 0, h = 0;
  float pt = 0;       // text size in points
  std::string style;  // text: "b" bold, "l" / "c" / "r" alignment, "t" top
  std::string text;   // text (UTF-8, "\n" between lines); labels: one per bubble, "-" none
  int field = 0;      // labels: the ScanItem ID
};

struct SheetDesign {
  SheetLayout layout;
  std::vector<SheetPrintItem> print;
  // The anchor box's designed corner on the paper (the first "box").
  Point anchor() const;
  // The light letters of a ScanItem row's bubbles, one per bubble ("" none).
  std::vector<std::string> labelsOf(int field) const;
};

// ScanItem and SheetPrint of the question database.
SheetDesign LoadSheetDesign(const Database& db);

}  // namespace zv
