#include "sheets/ScanFlow.h"

#include <cstring>

#include "app/QuestionDb.h"
#include "records/ClientRecord.h"
#include "records/FileSystem.h"
#include "sheets/Scanner.h"

namespace zv {
namespace {

constexpr std::size_t kMostListedMarks = 10;
constexpr int kPixelsPerMetre = 3937;  // 100 px/in

void putLE(std::string& out, std::size_t at, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// An 8-bit BMP with a grey palette; `row(y, out)` fills one row of values.
std::string bitmap(int width, int height, const std::function<void(int, std::uint8_t*)>& row) {
  const std::size_t stride = (static_cast<std::size_t>(width) + 3) / 4 * 4;
  const std::size_t header = 14 + 40 + 256 * 4;
  std::string out(header + stride * static_cast<std::size_t>(height), '\0');
  out[0] = 'B', out[1] = 'M';
  putLE(out, 2, static_cast<std::uint32_t>(out.size()), 4);
  putLE(out, 10, static_cast<std::uint32_t>(header), 4);
  putLE(out, 14, 40, 4);
  putLE(out, 18, static_cast<std::uint32_t>(width), 4);
  putLE(out, 22, static_cast<std::uint32_t>(height), 4);  // rows bottom up
  putLE(out, 26, 1, 2);
  putLE(out, 28, 8, 2);
  putLE(out, 34, static_cast<std::uint32_t>(stride * static_cast<std::size_t>(height)), 4);
  putLE(out, 38, kPixelsPerMetre, 4);
  putLE(out, 42, kPixelsPerMetre, 4);
  putLE(out, 46, 256, 4);
  for (std::uint32_t i = 0; i < 256; ++i) putLE(out, 54 + 4 * i, i | i << 8 | i << 16, 4);
  for (int y = 0; y < height; ++y)
    row(y, reinterpret_cast<std::uint8_t*>(out.data()) + header + stride * static_cast<std::size_t>(height - 1 - y));
  return out;
}

// The numeric value of a code as a list position; "N", empty or beyond the list: 0.
int listPosition(const std::string& code, InfoField list) {
  int v = 0;
  for (std::size_t i = 0; i < code.size() && code[i] >= '0' && code[i] <= '9' && v < 100; ++i) v = v * 10 + (code[i] - '0');
  return v < static_cast<int>(listChoices(list).size()) ? v : 0;
}

}  // namespace

InputRequest clientNameRequest() { return {"Client Name Input", 25, "Enter the name of client.", false}; }

std::string insertSheetText(const std::string& name) {
  return "Insert answer sheet for " + name + "\r(face down) into scanner.";
}

std::string abortScanText(SheetOutcome outcome) { return std::string("Aborting scan.\r") + outcomeText(outcome); }

std::optional<ScanNotice> multipleMarkNotice(const std::vector<std::string>& marks) {
  if (marks.empty()) return std::nullopt;
  if (marks.size() > kMostListedMarks)
    return ScanNotice{"Warning Many answers on this scanned answer sheet are \rMarked incorrectly. Please review the "
                      "answer sheet to \rEnsure that proper answers have been scored.",
                      "Scan Sheet Answers"};
  std::string text = "Warning! some items had multiple answers marked.\rPlease review the follwing answers.\r\r";
  for (std::size_t i = 0; i < marks.size(); ++i) {
    const std::string name = trimBlanks(marks[i]);
    if (i > 0 && (name.empty() || name == trimBlanks(marks[i - 1]))) continue;
    std::string entry = marks[i].substr(0, kLocationNameWidth);
    entry.resize(kLocationNameWidth, ' ');
    text += "     " + entry + "\r";
  }
  return ScanNotice{text, "Scan sheet Answers"};
}

ClientInfoValues scannedClientInfo(const std::string& name, const SheetFields& f) {
  ClientInfoValues v;
  v.name = name;
  v.ssn = f.SSN;
  v.age = f.Age;
  v.gender = listPosition(f.Gender, InfoField::Gender);
  v.marital = listPosition(f.Marital, InfoField::Marital);
  v.race = listPosition(f.Race, InfoField::Race);
  v.education = f.Education;
  v.dateOfBirth = !f.DateOfBirth.empty() && f.DateOfBirth[0] == 'N' ? "N" : f.DateOfBirth;
  return v;
}

std::string greyBitmap(const GreyImage& page) {
  return bitmap(page.width, page.height, [&](int y, std::uint8_t* out) {
    std::memcpy(out, page.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(page.width),
                static_cast<std::size_t>(page.width));
  });
}

std::string blackWhiteBitmap(const PageImage& page) {
  return bitmap(page.width(), page.height(), [&](int y, std::uint8_t* out) {
    for (int x = 0; x < page.width(); ++x) out[x] = page.dark(x, y) ? 0 : 255;
  });
}

ScannedPage ReadScannedPage(FileSystem& fs, const std::string& programDir, const Workspace& workspace,
                            const std::string& questionDb, const PixelBuffer& scan,
                            const std::function<void()>& letScreenRepaint) {
  ScannedPage out;
  const GreyImage grey = resampleTo100(scan);
  const PageImage page = PageImage::load(grey);
  try {
    fs.replaceAllUnsynced(joinPath(programDir, "Raw.bmp"), greyBitmap(grey));
    fs.replaceAllUnsynced(joinPath(programDir, "Scan.bmp"), blackWhiteBitmap(page));
  } catch (const ZvError&) {
    out.error = kScanWriteError;
    return out;
  }
  // A scrap of paper: no position on it can be trusted.
  if (page.width() < kSmallestSheetWidth || page.height() < kSmallestSheetHeight) {
    out.reading.outcome = SheetOutcome::AnchorNotFound;
    return out;
  }
  Database db = workspace.OpenDatabase(questionDb, false, true);
  out.reading = ReadSheetPage(page, LoadScanItems(db), letScreenRepaint);
  if (out.reading.outcome == SheetOutcome::Read) StoreFieldPositions(db, out.reading.positions);
  return out;
}

}  // namespace zv
