#include "sheets/SheetLayout.h"

#include <charconv>
#include <cmath>
#include <sstream>

#include "app/QuestionDb.h"
#include "records/ZvError.h"

namespace zv {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Halves go to the even neighbour (the default rounding mode).
std::int16_t roundPixel(double v) { return static_cast<std::int16_t>(std::nearbyint(v)); }

// Read without the locale: a screen's locale may write decimal commas.
float floatField(const Recordset& rs, const char* name) {
  const std::string s = rs.field(name);
  float v = 0;
  std::from_chars(s.data(), s.data() + s.size(), v);
  return v;
}

int intField(const Recordset& rs, const char* name) { return static_cast<int>(rs.fieldInt(name)); }

}  // namespace

void PolarPoint::toRectangular() {
  const float t = static_cast<float>(static_cast<double>(theta) * (kPi / 180.0));
  x = roundPixel(static_cast<double>(r) * std::cos(static_cast<double>(t)));
  y = roundPixel(static_cast<double>(r) * std::sin(static_cast<double>(t)));
}

void PolarPoint::toPolar() {
  r = static_cast<float>(std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y));
  theta = x == 0 ? 90.0f : static_cast<float>(std::atan(static_cast<double>(y) / x) * 180.0 / kPi);
}

Point rectangularOf(float r, float theta) {
  PolarPoint p;
  p.r = r;
  p.theta = theta;
  p.toRectangular();
  return {p.x, p.y};
}

Point basePoint(const ScanItemRow& row, float skew) { return rectangularOf(row.r, row.theta + skew); }

std::vector<Point> bubblePoints(const ScanItemRow& row, float skew) {
  const Point base = basePoint(row, skew);
  std::vector<Point> points;
  for (int i = 0; i < row.DimY; ++i)
    points.push_back({base.x, base.y + rectangularOf(row.dy * static_cast<float>(i), skew + 90.0f).y});
  for (int i = 0; i < row.dimx; ++i)
    points.push_back({base.x + rectangularOf(row.dx * static_cast<float>(i), skew).x, base.y});
  return points;
}

SheetLayout LoadScanItems(const Database& db) {
  Recordset rs = db.OpenTable("ScanItem");
  SheetLayout layout;
  for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
    ScanItemRow row;
    row.ID = intField(rs, "ID");
    row.LocationName = rs.field("LocationName");
    row.r = floatField(rs, "r");
    row.theta = floatField(rs, "theta");
    row.DimY = intField(rs, "DimY");
    row.dy = floatField(rs, "dy");
    row.dimx = intField(rs, "dimx");
    row.dx = floatField(rs, "dx");
    layout.push_back(std::move(row));
  }
  return layout;
}

void StoreFieldPositions(Database& db, const std::vector<Point>& positions) {
  Recordset rs = db.OpenTable("ScanItem");
  db.BeginTrans();
  try {
    rs.MoveFirst();
    for (const Point& p : positions) {
      if (rs.IsEOF()) break;
      rs.Edit();
      rs.setField("x", std::to_string(p.x));
      rs.setField("y", std::to_string(p.y));
      rs.Update();
      rs.MoveNext();
    }
    db.CommitTrans();
  } catch (...) {
    db.Rollback();
    throw;
  }
}

Point SheetDesign::anchor() const {
  for (const auto& p : print)
    if (p.kind == "box") return {p.x, p.y};
  throw ZvError(ErrorKind::BadData, 0, "The answer sheet has no anchor box");
}

std::vector<std::string> SheetDesign::labelsOf(int field) const {
  std::vector<std::string> labels;
  for (const auto& p : print) {
    if (p.kind != "labels" || p.field != field) continue;
    std::istringstream words(p.text);
    for (std::string w; words >> w;) labels.push_back(w == "-" ? std::string() : w);
  }
  return labels;
}

SheetDesign LoadSheetDesign(const Database& db) {
  SheetDesign design;
  design.layout = LoadScanItems(db);
  Recordset rs = db.OpenTable("SheetPrint");
  for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
    SheetPrintItem p;
    p.kind = rs.field("Kind");
    p.x = intField(rs, "x");
    p.y = intField(rs, "y");
    p.w = intField(rs, "w");
    p.h = intField(rs, "h");
    p.pt = floatField(rs, "Pt");
    p.style = rs.field("Style");
    p.field = intField(rs, "Field");
    // Line breaks are kept as the two characters \n in the table.
    const std::string t = rs.field("Text");
    for (std::size_t i = 0; i < t.size(); ++i) {
      const bool lineBreak = t[i] == '\\' && i + 1 < t.size() && t[i + 1] == 'n';
      p.text += lineBreak ? '\n' : t[i];
      if (lineBreak) ++i;
    }
    design.print.push_back(std::move(p));
  }
  return design;
}

}  // namespace zv
