#pragma once
// The rules of registering a client from a scanned answer sheet, without the
// screens: the words of the prompts and notices, the page's two bitmaps in
// the program folder and its reading, and what the client information and
// court history screens are given to review.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "intake/ClientInfoRules.h"
#include "intake/CourtHistoryRules.h"
#include "sheets/SheetReader.h"
#include "supervisor/AccessCode.h"

namespace zv {

class FileSystem;
class Workspace;

// The client's name: "Client Name Input", 25 characters, shown as typed.
InputRequest clientNameRequest();
// "Insert answer sheet for <name>" CR "(face down) into scanner." (OK/Cancel).
std::string insertSheetText(const std::string& name);
inline constexpr const char* kScanTitle = "ZV Test Scan";

// A page without its boxes: "Aborting scan." CR "Anchor Box not found", critical.
std::string abortScanText(SheetOutcome outcome);
inline constexpr const char* kSheetErrorTitle = "Scan Error";

// What the operator is told about multiply marked fields; nothing for none.
// More than 10: one warning. Otherwise each entry on its own line, an entry
// that only repeats the one before (both digits of a field) left out.
struct ScanNotice {
  std::string text, title;
};
std::optional<ScanNotice> multipleMarkNotice(const std::vector<std::string>& marks);

// The client information screen's values: the typed name and what the sheet
// says; a code "N" or empty is list position 0; a date of birth that starts
// with "N" is "N".
ClientInfoValues scannedClientInfo(const std::string& name, const SheetFields& f);
inline CourtValues scannedCourtHistory(const SheetFields& f) { return f.court; }

// A page smaller than this at 100 px/in is no answer sheet.
inline constexpr int kSmallestSheetWidth = 700, kSmallestSheetHeight = 900;

// 8-bit BMP files of the page at 100 px/in: its grey values, and black and white.
std::string greyBitmap(const GreyImage& page);
std::string blackWhiteBitmap(const PageImage& page);

// The scanned page, from delivery to fields: Raw.bmp (the page at 100 px/in)
// and Scan.bmp (black and white) written in the program folder through a
// temporary name each, then the boxes and every field with the layout of the
// question database, the found positions stored back. `error` is 20005 when a
// bitmap could not be written (nothing is read then). Database faults are
// thrown as ZvError.
struct ScannedPage {
  int error = 0;
  SheetReading reading;
};
ScannedPage ReadScannedPage(FileSystem& fs, const std::string& programDir, const Workspace& workspace,
                            const std::string& questionDb, const PixelBuffer& scan,
                            const std::function<void()>& letScreenRepaint = {});

}  // namespace zv
