#include "sheets/SheetReader.h"

#include <algorithm>

#include "app/QuestionDb.h"
#include "records/ZvError.h"

namespace zv {
namespace {

constexpr int kBoxWindow = 8;
constexpr int kBubbleWindow = 14;
constexpr int kAnchorLastRow = 125, kAnchorFirstCol = 5, kAnchorLastCol = 45;
constexpr int kReferenceFirstCol = 772, kReferenceLastCol = 802, kReferenceRows = 100;

// The N rule: a field with any unread digit is "N" as a whole.
void applyNRule(std::string& text) {
  if (text.find('N') != std::string::npos) text = "N";
}

}  // namespace

bool SheetReader::IsMarkedBox(Point corner, int n) {
  const int side = n == kBoxWindow ? kBoxWindow : n + 1;
  const float threshold = static_cast<float>(n * n) * (n == kBoxWindow ? 0.3f : 0.05f);
  darkCount_ = page_.darkCount(origin_.x + corner.x, origin_.y + corner.y, side, side);
  return static_cast<float>(darkCount_) > threshold;
}

// Row by row, left to right. A dark pixel counts once a white one has been
// seen; the first hit gives the row, any later hit further left the column.
bool SheetReader::searchBox(int colFirst, int colLast, int rowFirst, int rowLast, PolarPoint& box) {
  bool seenWhite = false, found = false;
  for (int y = rowFirst; y <= rowLast; ++y) {
    for (int x = colFirst; x <= colLast; ++x) {
      if (!page_.dark(origin_.x + x, origin_.y + y)) {
        seenWhite = true;
        continue;
      }
      if (!seenWhite || !IsMarkedBox({x, y}, kBoxWindow)) continue;
      if (!found) {
        box.x = static_cast<std::int16_t>(x);
        box.y = static_cast<std::int16_t>(y);
        found = true;
      } else if (x < box.x) {
        box.x = static_cast<std::int16_t>(x);
      }
    }
  }
  if (found) box.toPolar();
  return found;
}

bool SheetReader::FindAnchorBox() {
  origin_ = {};
  if (!searchBox(kAnchorFirstCol, kAnchorLastCol, 0, kAnchorLastRow, anchor_)) return false;
  origin_ = {anchor_.x, anchor_.y};
  return true;
}

bool SheetReader::FindReferenceBox() {
  const int colLast = std::min(kReferenceLastCol, kPageWidth - anchor_.x);
  const int rowFirst = std::max(-static_cast<int>(anchor_.y), -kReferenceRows);
  if (rowFirst > kReferenceRows) return false;
  if (letScreenRepaint) letScreenRepaint();
  if (!searchBox(kReferenceFirstCol, colLast, rowFirst, kReferenceRows, reference_)) return false;
  skew_ = reference_.theta;
  return true;
}

SheetReader::Bubbles SheetReader::readBubbles() {
  if (row_ == rowsEnd_) throw ZvError(ErrorKind::BadData, 0, "The answer-sheet layout ScanItem has too few rows");
  positions_.push_back(basePoint(*row_, skew_));
  Bubbles b;
  int darkest = 0;
  const std::vector<Point> points = bubblePoints(*row_, skew_);
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (!IsMarkedBox(points[i], kBubbleWindow)) continue;
    ++b.marked;
    if (darkCount_ > darkest) {
      darkest = darkCount_;
      b.darkest = static_cast<int>(i);
    }
  }
  multipleMark_ = b.marked > 1;
  return b;
}

void SheetReader::noteMultipleMark() {
  if (multipleMark_ && static_cast<int>(marks_.size()) < kMultipleMarkLimit) {
    std::string name = row_->LocationName.substr(0, kLocationNameWidth);
    name.resize(kLocationNameWidth, ' ');
    marks_.push_back(std::move(name));
  }
  ++row_;
}

void SheetReader::ReadColumnField(std::string& text) {
  const Bubbles b = readBubbles();
  text += b.marked == 0 ? std::string("N") : std::to_string(b.darkest);
  noteMultipleMark();
}

void SheetReader::ReadRowField(std::string& text, int codeOffset) {
  const Bubbles b = readBubbles();
  text += b.marked == 0 ? (codeOffset == 1 ? std::string("0") : std::string("N")) : std::to_string(b.darkest + codeOffset);
  noteMultipleMark();
}

void SheetReader::ReadChoiceField(int kind, std::string& text) {
  const Bubbles b = readBubbles();
  const int choice = b.darkest + 1;
  if (b.marked == 0) text += "N";
  else if ((kind == 1 && choice <= 2) || (kind == 2 && choice <= 6) || (kind == 3 && choice <= 5))
    text = std::to_string(choice);
  else if (kind == 3)
    text = "0";
  noteMultipleMark();
}

SheetFields SheetReader::ReadAnswerSheet(const SheetLayout& layout) {
  if (layout.size() < static_cast<std::size_t>(kScanItemRows))
    throw ZvError(ErrorKind::BadData, 0,
                  "The answer-sheet layout ScanItem has " + std::to_string(layout.size()) + " rows instead of 201");
  row_ = layout.data();
  rowsEnd_ = layout.data() + layout.size();
  positions_.clear();
  marks_.clear();
  SheetFields f;
  const auto twoDigits = [this](std::string& text) {
    ReadColumnField(text);
    ReadColumnField(text);
    applyNRule(text);
  };
  for (int digit = 0; digit < 9; ++digit) {
    ReadColumnField(f.SSN);
    applyNRule(f.SSN);
  }
  ReadChoiceField(1, f.Gender);
  ReadChoiceField(2, f.Race);
  ReadChoiceField(3, f.Marital);
  std::string date;
  for (int part = 0; part < 3; ++part) {
    ReadColumnField(date);
    ReadColumnField(date);
    if (part < 2) date += "/";
  }
  // MM/DD/YY becomes MM/DD/CCYY: 20 for years up to 10, 19 after, NN when unread.
  const bool unread = date.find('N') != std::string::npos;
  const std::string century = unread ? "NN" : std::stoi(date.substr(date.size() - 2)) <= 10 ? "20" : "19";
  f.DateOfBirth = date.substr(0, 6) + century + date.substr(date.size() - 2);
  twoDigits(f.Age);
  twoDigits(f.Education);
  twoDigits(f.court[0]);
  twoDigits(f.court[1]);
  for (int k = 2; k <= 12; ++k) ReadRowField(f.court[static_cast<std::size_t>(k)], 0);
  twoDigits(f.court[13]);
  for (int item = 1; item <= 162; ++item) {
    if ((item == 30 || item == 60 || item == 90) && letScreenRepaint) letScreenRepaint();
    ReadRowField(f.Responses, 1);
  }
  f.MultipleMarks = marks_;
  return f;
}

const char* outcomeText(SheetOutcome outcome) {
  switch (outcome) {
    case SheetOutcome::AnchorNotFound:
      return "Anchor Box not found";
    case SheetOutcome::ReferenceNotFound:
      return "Reference Box not found";
    default:
      return "";
  }
}

SheetReading ReadSheetPage(const PageImage& page, const SheetLayout& layout,
                           const std::function<void()>& letScreenRepaint) {
  SheetReader reader(page);
  reader.letScreenRepaint = letScreenRepaint;
  SheetReading r;
  if (!reader.FindAnchorBox()) r.outcome = SheetOutcome::AnchorNotFound;
  else if (!reader.FindReferenceBox()) r.outcome = SheetOutcome::ReferenceNotFound;
  if (r.outcome != SheetOutcome::Read) return r;
  r.fields = reader.ReadAnswerSheet(layout);
  r.positions = reader.positions();
  r.skew = reader.skew();
  return r;
}

SheetReading ScanAnswerSheet(Database& db, const PixelBuffer& scan, const std::function<void()>& letScreenRepaint) {
  const SheetLayout layout = LoadScanItems(db);
  SheetReading r = ReadSheetPage(PageImage::load(scan), layout, letScreenRepaint);
  if (r.outcome == SheetOutcome::Read) StoreFieldPositions(db, r.positions);
  return r;
}

}  // namespace zv
