// Scanning without screens: error texts, the office's scanner options, pages
// from SANE's own test backends in every frame shape and failure, the two
// bitmaps and the reading of a delivered page, the multiple-mark notice and
// what client information is given.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "app/QuestionDb.h"
#include "records/FileSystem.h"
#include "sheets/SaneScanner.h"
#include "sheets/ScanFlow.h"
#include "tests/core/ScanTestSupport.h"

using namespace zv;
using namespace zvtest;

namespace {

Acquisition scanWith(const std::string& device, const std::string& options) {
  useTestScanners();
  AcquireProgress progress;
  return SanePageSource(device, options).acquire(progress);
}

// A small colour picture whose three channels all differ, as a PPM file.
std::vector<std::uint8_t> writePpm(const std::string& path, int w, int h) {
  std::vector<std::uint8_t> rgb;
  for (int i = 0; i < w * h; ++i) rgb.insert(rgb.end(), {std::uint8_t(i * 7), std::uint8_t(255 - i), std::uint8_t(i * 13 + 5)});
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << w << " " << h << "\n255\n";
  out.write(reinterpret_cast<const char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
  return rgb;
}

std::uint32_t le32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(b[at + static_cast<std::size_t>(i)]);
  return v;
}

}  // namespace

TEST(ScanErrors, NumbersGiveTheOperatorsMessage) {
  const std::pair<int, const char*> cases[] = {
      {20080, "Error '20080, Twain Canceled by user or unknown causes."},
      {20003, "Error '20003, Not enough memory available."},
      {20045, "Error '20045, Internal Error - Call LEAD."},
      {20013, "Error '20013, Invalid parmameter passed."},
      {20084, "Error '20084, Twain DS or DSM reported error, app shouldn't."},
      {20005, "Error '20005, Error writing file."},
      {20016, "Error '20016, ."},
      {20091, "Error '20091, ."},
  };
  for (auto [number, text] : cases) EXPECT_EQ(scanErrorMessage(number), text);
  for (const char* file : {"file", "FILE", "File"}) EXPECT_TRUE(isImageFileDevice(file));
  for (const char* other : {"", "files", "pnm:0"}) EXPECT_FALSE(isImageFileDevice(other));
}

TEST(ScanOptionsText, NameValuePairsBetweenSemicolons) {
  const auto parsed = parseScanOptions(" source = ADF Front ;;filename=/tmp/a b.pgm; three-pass ;=x;");
  ASSERT_EQ(parsed.size(), 3u);
  EXPECT_EQ(std::make_tuple(parsed[0].name, parsed[0].value, parsed[0].hasValue), std::make_tuple("source", "ADF Front", true));
  EXPECT_EQ(std::make_tuple(parsed[1].name, parsed[1].value, parsed[1].hasValue), std::make_tuple("filename", "/tmp/a b.pgm", true));
  EXPECT_EQ(std::make_tuple(parsed[2].name, parsed[2].value, parsed[2].hasValue), std::make_tuple("three-pass", "", false));
  EXPECT_TRUE(parseScanOptions("").empty());
}

TEST(SaneScan, PnmBackendDeliversThePageInEveryFrameShape) {
  TempDir dir;
  const GreyImage sheet = filledScan(filledSheet());
  writePgm(dir.file("sheet.pgm"), sheet);
  const Acquisition grey = scanWith("pnm:0", "filename=" + dir.file("sheet.pgm"));
  ASSERT_EQ(grey.error, 0);
  EXPECT_EQ(std::make_tuple(grey.page.width, grey.page.height, grey.page.bytesPerPixel, grey.page.dpiX, grey.page.dpiY),
            std::make_tuple(850, 1100, 1, 100.0, 100.0));
  EXPECT_EQ(grey.page.pixels, sheet.pixels);
  // Colour in one frame, in three (green, blue, red), and of unknown length.
  const std::vector<std::uint8_t> rgb = writePpm(dir.file("colour.ppm"), 37, 23);
  for (const char* shape : {"", ";three-pass=yes", ";hand-scanner=yes", ";three-pass=yes;hand-scanner=yes"}) {
    const Acquisition a = scanWith("pnm:0", "filename=" + dir.file("colour.ppm") + shape);
    ASSERT_EQ(a.error, 0) << shape;
    EXPECT_EQ(std::make_tuple(a.page.width, a.page.height, a.page.bytesPerPixel), std::make_tuple(37, 23, 3)) << shape;
    EXPECT_EQ(a.page.pixels, rgb) << shape;
  }
  // Every test device is listed; without a name the first listed scans.
  std::vector<std::string> names;
  for (const SaneDevice& d : listSaneDevices().devices) names.push_back(d.name);
  ASSERT_EQ(names.size(), 4u);
  const Acquisition first = scanWith("", "filename=" + dir.file("sheet.pgm"));
  if (names[0].rfind("pnm:", 0) == 0) EXPECT_EQ(first.page.pixels, sheet.pixels);
  else EXPECT_EQ(first.error, kScanUnsupported) << "the test device has no file name";
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"pnm:0", "pnm:1", "test:0", "test:1"}));
}

TEST(SaneScan, StatusesAndRefusalsGiveTheirErrorNumbers) {
  TempDir dir;
  writePgm(dir.file("page.pgm"), GreyImage{40, 30, 100, 100, std::vector<std::uint8_t>(1200, 200)});
  const std::string file = "filename=" + dir.file("page.pgm");
  const std::tuple<const char*, std::string, int> cases[] = {
      {"pnm:0", file + ";status-jammed=yes", kScanDeviceFailed},
      {"pnm:0", file + ";status-nodocs=yes", kScanDeviceFailed},
      {"pnm:0", file + ";status-coveropen=yes", kScanDeviceFailed},
      {"pnm:0", file + ";status-ioerror=yes", kScanDeviceFailed},
      {"pnm:0", file + ";status-accessdenied=yes", kScanDeviceFailed},
      {"pnm:0", file + ";status-eof=yes", kScanDeviceFailed},  // the page ends before it began
      {"pnm:0", file + ";status-nomem=yes", kScanNoMemory},
      {"pnm:0", "filename=" + dir.file("missing.pgm"), kScanValueRefused},
      {"pnm:0", file + ";no-such-option=1", kScanUnsupported},
      {"pnm:0", file + ";three-pass=perhaps", kScanValueRefused},
      {"test:0", "mode=Sepia", kScanValueRefused},
      {"test:0", "three-pass=yes", kScanValueRefused},  // inactive in grey mode
      {"nosuch:0", "", kScanNoDevice},
      {"pnm:9", "", kScanNoDevice},
  };
  for (const auto& [device, options, error] : cases) EXPECT_EQ(scanWith(device, options).error, error) << device << " " << options;
  // Every status, including those only a real scanner gives. (The test
  // backend could force them, but stopping its picture half-made can hang
  // inside the backend.)
  const int statuses[] = {0, kScanUnsupported, kScanCancelled, kScanDeviceBusy, kScanValueRefused, kScanDeviceFailed,
                          kScanDeviceFailed, kScanDeviceFailed, kScanDeviceFailed, kScanDeviceFailed, kScanNoMemory,
                          kScanDeviceFailed};
  for (int s = 0; s < 12; ++s) EXPECT_EQ(saneStatusError(s), statuses[s]) << s;
  // Cancel before the first read.
  useTestScanners();
  AcquireProgress cancelled;
  cancelled.cancel();
  EXPECT_EQ(SanePageSource("test:0", "").acquire(cancelled).error, kScanCancelled);
}

TEST(SaneScan, TestBackendGivesGreyAt100ClippedToItsBedAndNoAnchorBox) {
  const Acquisition a = scanWith("test:0", "");
  ASSERT_EQ(a.error, 0);
  // The bed is 200 mm each way: the legal-size area is clipped to it.
  EXPECT_EQ(std::make_tuple(a.page.width, a.page.height, a.page.bytesPerPixel, a.page.dpiX), std::make_tuple(787, 787, 1, 100.0));
  EXPECT_TRUE(std::all_of(a.page.pixels.begin(), a.page.pixels.end(), [](std::uint8_t v) { return v == 0; }));
  TempDir dir;
  RealFileSystem fs;
  const ScannedPage r = ReadScannedPage(fs, dir.path(), Workspace::standard(dir.file("zv.ini")), dir.file("none.db"), a.page.buffer());
  EXPECT_EQ(r.error, 0);
  EXPECT_EQ(r.reading.outcome, SheetOutcome::AnchorNotFound);
  EXPECT_TRUE(fs.exists(dir.file("Raw.bmp")) && fs.exists(dir.file("Scan.bmp")));
}

struct ScannedPageTest : ::testing::Test {
  TempDir dir;
  RealFileSystem real;
  FaultyFileSystem fs{real};
  Workspace ws = Workspace::standard(dir.file("zv.ini"));
  ScannedPageTest() { std::filesystem::copy_file(std::string(ZV_PROGRAM_DIR) + "/ZV.db", dir.file("ZV.db")); }
  ScannedPage read(const PixelBuffer& page) { return ReadScannedPage(fs, dir.path(), ws, dir.file("ZV.db"), page); }
};

TEST_F(ScannedPageTest, BitmapsOfThePageAt100AndItsFieldsWithPositionsStored) {
  const FilledSheet sheet = filledSheet();
  const GreyImage scan = filledScan(sheet, 300);
  const ScannedPage r = read(scan.buffer());
  ASSERT_EQ(r.error, 0);
  ASSERT_EQ(r.reading.outcome, SheetOutcome::Read);
  const SheetFields& f = r.reading.fields;
  EXPECT_EQ(std::make_tuple(f.SSN, f.Gender, f.Race, f.Marital, f.DateOfBirth, f.Age, f.Education, f.court, f.Responses),
            std::make_tuple(sheet.fields.SSN, sheet.fields.Gender, sheet.fields.Race, sheet.fields.Marital,
                            sheet.fields.DateOfBirth, sheet.fields.Age, sheet.fields.Education, sheet.fields.court,
                            sheet.fields.Responses));
  EXPECT_TRUE(f.MultipleMarks.empty());
  // 8-bit BMPs with a grey palette, 850 x 1100 at 100 px/in, rows bottom up.
  const GreyImage grey = resampleTo100(scan);
  const PageImage page = PageImage::load(grey);
  for (const char* name : {"Raw.bmp", "Scan.bmp"}) {
    const std::string b = readBytes(dir.file(name));
    const bool raw = name[0] == 'R';
    ASSERT_EQ(b.size(), 14u + 40 + 1024 + 852 * 1100) << name << ": rows padded to four bytes";
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(std::vector<std::uint32_t>({le32(b, 2), le32(b, 10), le32(b, 18), le32(b, 22), le32(b, 28) & 0xFFFF, le32(b, 38), le32(b, 1078 - 4)}),
              std::vector<std::uint32_t>({static_cast<std::uint32_t>(b.size()), 1078, 850, 1100, 8, 3937, 0xFFFFFF}));
    for (auto [x, y] : {std::pair{0, 0}, {425, 550}, {849, 1099}, {12, 700}}) {
      const int expected = raw ? grey.pixels[static_cast<std::size_t>(y * 850 + x)] : page.dark(x, y) ? 0 : 255;
      EXPECT_EQ(static_cast<std::uint8_t>(b[1078 + static_cast<std::size_t>((1099 - y) * 852 + x)]), expected) << name << x << "," << y;
    }
  }
  EXPECT_FALSE(real.exists(FileSystem::temporaryFor(dir.file("Raw.bmp"))));
  Recordset items = ws.OpenDatabase(dir.file("ZV.db")).OpenTable("ScanItem");
  EXPECT_EQ(Point(static_cast<int>(items.fieldInt("x")), static_cast<int>(items.fieldInt("y"))), r.reading.positions[0]);
}

TEST_F(ScannedPageTest, AScrapIsNoSheetAndAFailedWriteReadsNothing) {
  GreyImage scan = filledScan(filledSheet());
  // A write torn half-way: 20005, nothing read, the bitmap as it was, no temporary left.
  writeBytes(dir.file("Raw.bmp"), "before");
  for (const char* name : {"Raw.bmp", "Scan.bmp"}) {
    fs.arm({"write", std::string(name) + ".part", EIO, 1, 5000});
    const ScannedPage r = read(scan.buffer());
    EXPECT_EQ(r.error, kScanWriteError) << name;
    EXPECT_TRUE(r.reading.fields.Responses.empty());
    EXPECT_FALSE(real.exists(FileSystem::temporaryFor(dir.file(name))));
    EXPECT_FALSE(real.exists(dir.file("Scan.bmp")));
    EXPECT_EQ(readBytes(dir.file("Raw.bmp")) == "before", name[0] == 'R') << "Raw.bmp is replaced only whole";
  }
  // Cut to 690 wide or 890 high, boxes still on it: no anchor box.
  for (auto [w, h] : {std::pair{690, 1100}, {850, 890}}) {
    GreyImage cut{w, h, 100, 100, {}};
    for (int y = 0; y < h; ++y) cut.pixels.insert(cut.pixels.end(), scan.pixels.begin() + y * 850, scan.pixels.begin() + y * 850 + w);
    EXPECT_EQ(read(cut.buffer()).reading.outcome, SheetOutcome::AnchorNotFound) << w << "x" << h;
  }
}

TEST(ScanNotice, TenFieldsListedElevenWarnedRepeatsOnce) {
  const std::string head = "Warning! some items had multiple answers marked.\rPlease review the follwing answers.\r\r";
  const auto line = [](const std::string& name) { return "     " + name + std::string(30 - name.size(), ' ') + "\r"; };
  // Two marks in each of the first n items.
  for (int n : {0, 1, 10, 11}) {
    std::vector<PencilMark> marks;
    for (int item = 1; item <= n; ++item) marks.insert(marks.end(), {{kItemRow + item, 0, 200}, {kItemRow + item, 1, 150}});
    const auto notice = multipleMarkNotice(readScan(marks).fields.MultipleMarks);
    if (n == 0) {
      EXPECT_FALSE(notice);
      continue;
    }
    ASSERT_TRUE(notice);
    std::string listed = head;
    for (int item = 1; item <= n; ++item) listed += line("Item " + std::to_string(item));
    EXPECT_EQ(notice->text, n > 10 ? "Warning Many answers on this scanned answer sheet are \rMarked incorrectly. Please review "
                                     "the answer sheet to \rEnsure that proper answers have been scored."
                                   : listed);
    EXPECT_EQ(notice->title, n > 10 ? "Scan Sheet Answers" : "Scan sheet Answers");
  }
  // Both digits of the age marked twice, on a layout that names both digits
  // "Age": listed once; equal names further apart are listed again.
  SheetLayout layout = bundledDesign().layout;
  layout[kAgeRow].LocationName = layout[kAgeRow + 1].LocationName = layout[kItemRow + 2].LocationName = "Age";
  std::vector<PencilMark> marks;
  for (int row : {int(kAgeRow), kAgeRow + 1, kItemRow + 1, kItemRow + 2})
    marks.insert(marks.end(), {{row, 0, 200}, {row, 1, 150}});
  const SheetReading r = ReadSheetPage(PageImage::load(SheetScanner(bundledDesign(), {}).scan(marks)), layout);
  ASSERT_EQ(r.fields.MultipleMarks.size(), 4u);
  EXPECT_EQ(multipleMarkNotice(r.fields.MultipleMarks)->text, head + line("Age") + line("Item 1") + line("Age"));
  EXPECT_EQ(multipleMarkNotice({"Item 1", "   ", "Item 2"})->text, head + line("Item 1") + line("Item 2"));
}

TEST(ScanToClientInformation, CodesBecomeListPositionsAndABlankMonthDigitN) {
  // The sheet as filled; then with the first month digit, the gender and the race left blank.
  const FilledSheet filled = filledSheet();
  std::vector<PencilMark> sparse;
  for (const PencilMark& m : filled.marks)
    if (m.row != kDateRow && m.row != kGenderRow && m.row != kRaceRow) sparse.push_back(m);
  const SheetFields full = readScan(filled.marks).fields, blank = readScan(sparse).fields;
  EXPECT_EQ(blank.DateOfBirth, "N4/23/NN61");
  const ClientInfoValues a = scannedClientInfo("Ann Example", full), b = scannedClientInfo("Ann Example", blank);
  EXPECT_EQ(a, (ClientInfoValues{"Ann Example", "123456789", "45", 2, 3, 1, "12", "04/23/1961"}));
  EXPECT_EQ(b, (ClientInfoValues{"Ann Example", "123456789", "45", 2, 0, 0, "12", "N"}));
  SheetFields odd = full;
  odd.Race = "9", odd.Marital = "", odd.Gender = "N";
  const ClientInfoValues c = scannedClientInfo("", odd);
  EXPECT_EQ(std::make_tuple(c.race, c.marital, c.gender), std::make_tuple(0, 0, 0));
  EXPECT_EQ(scannedCourtHistory(full), filled.fields.court);
}
