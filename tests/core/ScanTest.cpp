// Scanning without screens: error texts, the office's scanner options, pages
// from SANE's own test backends in every frame shape and failure, the two
// bitmaps and the reading of a delivered page, the multiple-mark notice and
// what client information is given.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "sheets/SaneScanner.h"
#include "sheets/ScanFlow.h"
#include "tests/core/SheetScanGenerator.h"

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

TEST(ScanTexts, ErrorNumbersGiveTheOperatorsMessageAndOptionsAreNameValuePairsBetweenSemicolons) {
  const std::pair<int, const char*> cases[] = {
      {20080, "Error '20080, Twain Canceled by user or unknown causes."}, {20016, "Error '20016, ."},
      {20003, "Error '20003, Not enough memory available."}, {20045, "Error '20045, Internal Error - Call LEAD."},
      {20013, "Error '20013, Invalid parmameter passed."}, {20005, "Error '20005, Error writing file."},
      {20084, "Error '20084, Twain DS or DSM reported error, app shouldn't."}, {20091, "Error '20091, ."},
  };
  for (auto [number, text] : cases) EXPECT_EQ(scanErrorMessage(number), text);
  for (const char* file : {"file", "FILE", "File"}) EXPECT_TRUE(isImageFileDevice(file));
  for (const char* other : {"", "files", "pnm:0"}) EXPECT_FALSE(isImageFileDevice(other));
  // The office's scanner options.
  using Parsed = std::vector<std::tuple<std::string, std::string, bool>>;
  Parsed parsed;
  for (const ScanOption& o : parseScanOptions(" source = ADF Front ;;filename=/tmp/a b.pgm; three-pass ;=x;"))
    parsed.emplace_back(o.name, o.value, o.hasValue);
  EXPECT_EQ(parsed,
            (Parsed{{"source", "ADF Front", true}, {"filename", "/tmp/a b.pgm", true}, {"three-pass", "", false}}));
  EXPECT_TRUE(parseScanOptions("").empty());
}

TEST(SaneScan, PnmBackendDeliversThePageInEveryFrameShapeAndTestBackendGivesBlackClippedToItsBed) {
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
  // The test backend's bed is 200 mm each way: the legal-size area is clipped to it.
  const Acquisition black = scanWith("test:0", "");
  ASSERT_EQ(black.error, 0);
  EXPECT_EQ(std::make_tuple(black.page.width, black.page.height, black.page.bytesPerPixel, black.page.dpiX),
            std::make_tuple(787, 787, 1, 100.0));
  EXPECT_TRUE(std::all_of(black.page.pixels.begin(), black.page.pixels.end(), [](std::uint8_t v) { return v == 0; }));
}

TEST(SaneScan, StatusesAndRefusalsGiveTheirErrorNumbers) {
  TempDir dir;
  writePgm(dir.file("page.pgm"), GreyImage{40, 30, 100, 100, std::vector<std::uint8_t>(1200, 200)});
  const std::string file = "filename=" + dir.file("page.pgm");
  const std::tuple<const char*, std::string, int> cases[] = {
      {"pnm:0", file + ";status-nomem=yes", kScanNoMemory}, {"pnm:0", file + ";no-such-option=1", kScanUnsupported},
      {"pnm:0", "filename=" + dir.file("missing.pgm"), kScanValueRefused},
      {"pnm:0", file + ";three-pass=perhaps", kScanValueRefused}, {"test:0", "mode=Sepia", kScanValueRefused},
      {"test:0", "three-pass=yes", kScanValueRefused},  // inactive in grey mode
      {"nosuch:0", "", kScanNoDevice}, {"pnm:9", "", kScanNoDevice},
  };
  for (const auto& [device, options, error] : cases) EXPECT_EQ(scanWith(device, options).error, error) << device << " " << options;
  // eof: the page ends before it began.
  for (const char* status : {"jammed", "nodocs", "coveropen", "ioerror", "accessdenied", "eof"})
    EXPECT_EQ(scanWith("pnm:0", file + ";status-" + status + "=yes").error, kScanDeviceFailed) << status;
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

struct ScannedPageTest : ::testing::Test {
  TempDir dir;
  RealFileSystem real;
  FaultyFileSystem fs{real};
  Workspace ws = Workspace::standard(dir.file("zv.ini"));
  ScannedPageTest() { std::filesystem::copy_file(std::string(ZV_PROGRAM_DIR) + "/ZV.db", dir.file("ZV.db")); }
  ScannedPage read(const PixelBuffer& page, const std::string& db = "ZV.db") {
    return ReadScannedPage(fs, dir.path(), ws, dir.file(db), page);
  }
};

TEST_F(ScannedPageTest, BitmapsOfThePageAt100AndItsFieldsWithPositionsStored) {
  const FilledSheet sheet = filledSheet();
  const GreyImage scan = filledScan(sheet, 300);
  const ScannedPage r = read(scan.buffer());
  ASSERT_EQ(r.error, 0);
  ASSERT_EQ(r.reading.outcome, SheetOutcome::Read);
  EXPECT_EQ(r.reading.fields, sheet.fields);
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
  // Cut to 690 wide or 890 high, boxes still on it: no anchor box, and no question database needed.
  for (auto [w, h] : {std::pair{690, 1100}, {850, 890}}) {
    GreyImage cut{w, h, 100, 100, {}};
    for (int y = 0; y < h; ++y) cut.pixels.insert(cut.pixels.end(), scan.pixels.begin() + y * 850, scan.pixels.begin() + y * 850 + w);
    EXPECT_EQ(read(cut.buffer(), "none.db").reading.outcome, SheetOutcome::AnchorNotFound) << w << "x" << h;
  }
}

TEST(ScanNotice, TenFieldsListedElevenWarnedRepeatsOnce) {
  using Notice = std::pair<std::string, std::string>;  // text, title
  const auto notice = [](const std::vector<std::string>& marks) {
    const auto n = multipleMarkNotice(marks);
    return n ? Notice{n->text, n->title} : Notice{};
  };
  const std::string head = "Warning! some items had multiple answers marked.\rPlease review the follwing answers.\r\r";
  const auto padded = [](const std::string& name) { return name + std::string(30 - name.size(), ' '); };
  const auto line = [&](const std::string& name) { return "     " + padded(name) + "\r"; };
  EXPECT_FALSE(multipleMarkNotice({}));
  std::vector<std::string> marks;
  std::string listed = head;
  for (int item = 1; item <= 10; ++item) {
    marks.push_back(padded("Item " + std::to_string(item)));
    listed += line("Item " + std::to_string(item));
  }
  EXPECT_EQ(notice(marks), Notice(listed, "Scan sheet Answers"));
  marks.push_back(padded("Item 11"));
  EXPECT_EQ(notice(marks), Notice("Warning Many answers on this scanned answer sheet are \rMarked incorrectly. Please "
                                  "review the answer sheet to \rEnsure that proper answers have been scored.",
                                  "Scan Sheet Answers"));
  // An entry that only repeats the one before (both digits of a field) is left out, and so is a blank one.
  const std::string age = padded("Age"), item1 = padded("Item 1");
  EXPECT_EQ(notice({age, age, item1, age}).first, head + line("Age") + line("Item 1") + line("Age"));
  EXPECT_EQ(notice({"Item 1", "   ", "Item 2"}).first, head + line("Item 1") + line("Item 2"));
}

TEST(ScanToClientInformation, CodesBecomeListPositionsAndADateStartingWithNIsN) {
  const SheetFields full = filledSheet().fields;
  EXPECT_EQ(scannedClientInfo("Ann Example", full),
            (ClientInfoValues{"Ann Example", "123456789", "45", 2, 3, 1, "12", "04/23/1961"}));
  // The first month digit blank; codes blank, empty or beyond their lists.
  SheetFields odd = full;
  odd.DateOfBirth = "N4/23/NN61";
  odd.Race = "9", odd.Marital = "", odd.Gender = "N";
  EXPECT_EQ(scannedClientInfo("", odd), (ClientInfoValues{"", "123456789", "45", 0, 0, 0, "12", "N"}));
}
