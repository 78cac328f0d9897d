#pragma once
// Reading a scanned answer sheet: the anchor and reference boxes give the
// page's position and turn, the ScanItem layout places every bubble, and a
// bubble counts as marked when its 15 x 15 window holds at least 10 dark
// pixels.
//
// For the scanning screens:
//   PixelBuffer scan{bits, width, height, bytesPerLine, 1, 0, dpi, dpi};  // 8-bit grey
//   (or 3 / 4 bytes a pixel with the colour bytes from firstColour on)
//   SheetReading r = ScanAnswerSheet(db, scan, repaint);  // db open for writing
//   r.outcome: Read, or which box was missing (outcomeText gives the words);
//   r.fields: every sheet field as the client record takes it, and the
//   multiple-mark list (30-character entries).
// Step by step: PageImage::load (resamples to 100 px/in and thresholds),
// LoadScanItems, ReadSheetPage, then StoreFieldPositions with r.positions
// (one transaction).
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "sheets/PageImage.h"
#include "sheets/SheetLayout.h"

namespace zv {

class Database;

inline constexpr int kMultipleMarkLimit = 161;
inline constexpr std::size_t kLocationNameWidth = 30;

// The fourteen court-history fields as the client record names them.
inline constexpr std::array<const char*, 14> kCourtFieldNames = {
    "FirstArrest",      "FirstConviction", "FelonyArrests", "TimesProbation", "ProbationRevocation",
    "TimesParole",      "ParoleRevocation", "TimeArrest",   "TimesJail",      "TimesPrison",
    "AlcoholArrests",   "DrugArrests",     "DUIArrests",    "PercentEmployed"};

// What a sheet says, as the client record's fields take it ("N" where a
// field was left blank; "0" for an unanswered item).
struct SheetFields {
  std::string SSN, Gender, Race, Marital, DateOfBirth, Age, Education;
  std::array<std::string, 14> court;  // in the order of kCourtFieldNames
  std::string Responses;              // 162 answer codes, item 1 first
  // The LocationName of every field read with more than one mark, 30
  // characters blank-padded, in reading order; at most 161 entries.
  std::vector<std::string> MultipleMarks;
};

// The reading of one page with its state: the boxes found, the skew, the
// dark count of the latest window test and the multiple-mark list. Pixel
// positions are page pixels until the anchor box is found, then relative to
// its corner.
class SheetReader {
 public:
  explicit SheetReader(const PageImage& page) : page_(page) {}

  // Called before the reference box search and before items 30, 60 and 90,
  // so a screen can repaint during a long read.
  std::function<void()> letScreenRepaint;

  // Window test: n = 8 tests the 8 x 8 window of the box searches, any other
  // n the (n + 1)-pixel square of a bubble; marked when the dark pixels
  // exceed 30 % (boxes) or 5 % (bubbles) of n squared.
  bool IsMarkedBox(Point corner, int n);
  int darkCount() const { return darkCount_; }

  // The box searches; the anchor box also becomes the origin of later reads.
  bool FindAnchorBox();
  bool FindReferenceBox();

  // The three field readers work on the current ScanItem row and move to the next.
  void ReadColumnField(std::string& text);
  void ReadRowField(std::string& text, int codeOffset);
  void ReadChoiceField(int kind, std::string& text);

  // Reads every field of the layout (201 rows) after both boxes were found.
  // Throws ZvError when the layout has fewer rows.
  SheetFields ReadAnswerSheet(const SheetLayout& layout);

  const PolarPoint& anchor() const { return anchor_; }
  const PolarPoint& reference() const { return reference_; }
  float skew() const { return skew_; }
  // The base point found for each row read, to be stored into ScanItem.
  const std::vector<Point>& positions() const { return positions_; }

 private:
  bool searchBox(int colFirst, int colLast, int rowFirst, int rowLast, PolarPoint& box);
  // Tests the bubbles of the current row: how many are marked, and the
  // index of the darkest (the first of equals; -1 when none is marked).
  struct Bubbles {
    int marked = 0;
    int darkest = -1;
  };
  Bubbles readBubbles();
  void noteMultipleMark();

  const PageImage& page_;
  Point origin_;
  PolarPoint anchor_, reference_;
  float skew_ = 0;
  int darkCount_ = 0;
  bool multipleMark_ = false;
  const ScanItemRow* row_ = nullptr;
  const ScanItemRow* rowsEnd_ = nullptr;
  std::vector<Point> positions_;
  std::vector<std::string> marks_;
};

enum class SheetOutcome { Read, AnchorNotFound, ReferenceNotFound };
// "Anchor Box not found", "Reference Box not found"; "" for Read.
const char* outcomeText(SheetOutcome outcome);

struct SheetReading {
  SheetOutcome outcome = SheetOutcome::Read;
  SheetFields fields;
  std::vector<Point> positions;  // each ScanItem row's base point
  float skew = 0;
};

// Boxes, then every field. Nothing is written anywhere.
SheetReading ReadSheetPage(const PageImage& page, const SheetLayout& layout,
                           const std::function<void()>& letScreenRepaint = {});

// The whole reading of a scanned image against the question database: the
// layout from ScanItem, the page at 100 px/in, the fields, and the found
// positions written back into ScanItem in one transaction.
SheetReading ScanAnswerSheet(Database& db, const PixelBuffer& scan, const std::function<void()>& letScreenRepaint = {});

}  // namespace zv
