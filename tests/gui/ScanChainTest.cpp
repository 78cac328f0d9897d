// Registering a client from a scanned answer sheet: through SANE's pnm
// backend from the main menu's chain to the 255 bytes SAVE stores; an image
// file at 300 px/in to the review; every way out before SAVE stores nothing;
// the progress screen's Cancel; the Scanner… screen.
#include <gtest/gtest.h>

#include <QImage>
#include <QListWidget>
#include <QProgressBar>
#include <thread>

#include "app/IniFile.h"
#include "app/Settings.h"
#include "app/qt/Activities.h"
#include "intake/FieldText.h"
#include "intake/qt/frmClientInfo.h"
#include "intake/qt/frmCourtHistory.h"
#include "records/ClientSlot.h"
#include "sheets/ScanFlow.h"
#include "sheets/qt/ScanChain.h"
#include "sheets/qt/frmNewEntry.h"
#include "sheets/qt/frmScanProgress.h"
#include "sheets/qt/frmScannerSelect.h"
#include "tests/core/SheetScanGenerator.h"
#include "tests/gui/ClientInfoTestSupport.h"

using namespace zv;
using namespace zvtest;

namespace {

struct ScriptedChooser : ScanFileChooser {
  std::optional<std::string> file;
  int asked = 0;
  std::optional<std::string> choose(QWidget*) override {
    ++asked;
    return file;
  }
};

// Two stored clients, the scanner settings in zv.ini, scripted name and file.
struct ScanRig : IntakeRig {
  ScriptedInputPrompt input;
  ScriptedChooser chooser;
  std::function<std::unique_ptr<PageSource>()> source;
  std::string before;
  // Should a screen open that the script does not expect, it is noted and closed.
  std::vector<std::string> unexpected;
  QTimer watch;

  explicit ScanRig(const std::string& device, const std::string& options = "") {
    useTestScanners();
    storeClients(2);
    before = readBytes(clientFile());
    IniFile ini(fs, program.file("zv.ini"));
    ini.write("Options", "ScanDevice", device);
    ini.write("Options", "ScanOptions", options);
  }
  // Runs the scan as the Add New Client chain does, with the screens of `script` expected.
  void run(ModalScript& script, std::vector<std::string> expected = {}) {
    expected.insert(expected.end(), {"frmScanProgress"});
    QObject::connect(&watch, &QTimer::timeout, [this, expected] {
      QWidget* m = QApplication::activeModalWidget();
      if (!m || std::find(expected.begin(), expected.end(), m->objectName().toStdString()) != expected.end()) return;
      unexpected.push_back(m->objectName().toStdString());
      m->close();
    });
    watch.start(100);
    ASSERT_TRUE(ClientSlot(state.clients).beginNew(prompter));
    script.run([&] {
      runScanAnswerSheet(state, nullptr, {input, chooser, source});
      ClientSlot(state.clients).abandon();
    });
    EXPECT_EQ(unexpected, std::vector<std::string>{});
    EXPECT_FALSE(state.ScannedAnswers);
  }
  bool bitmapsWritten() const { return std::filesystem::exists(program.file("Raw.bmp")) && std::filesystem::exists(program.file("Scan.bmp")); }
  void expectNothingStored() const {
    EXPECT_EQ(readBytes(clientFile()), before);
    EXPECT_EQ(recordCounts(state.clients), (std::vector<int>{2, 1}));
    EXPECT_EQ(state.clients.slot[3].trimmed(Field::Name), "");
  }
};

// The record SAVE stores for the filled sheet.
std::string expectedRecord(const FilledSheet& s, const std::string& name) {
  const SheetFields& f = s.fields;
  ClientRecord r = TestClient{name, f.SSN, f.Age, f.Gender, f.Race, f.Education, f.Marital, f.DateOfBirth, todayText(),
                              {f.court.begin(), f.court.end()}, f.Responses}.record();
  r.setRaw(Field::EditCount, "");  // never edited
  return r.bytes();
}

// Review by keys: Enter through every field of client information and on
// "Information OK"; court history opens on "Information OK"; SAVE. What the
// first two screens show is what they store.
void reviewAndSave(ModalScript& script, const FilledSheet& s) {
  script.then("frmClientInfo", [](QWidget*) {
    for (int i = 0; i <= kInfoFieldCount; ++i) press(Qt::Key_Return);
  });
  script.then("frmCourtHistory", [](QWidget* w) {
    EXPECT_EQ(focused(), static_cast<frmCourtHistory*>(w)->menu()->button(0));
    press(Qt::Key_Return);
  });
  script.then("frmNewEntry", [&s](QWidget* w) {
    auto* grid = static_cast<frmNewEntry*>(w);
    EXPECT_EQ(grid->answers().joined(), s.fields.Responses);
    choose(grid->menu(), 0);
  });
}

}  // namespace

// Add New Client -> Scan Answer Sheet -> the name -> the pnm backend reads
// the sheet -> review -> SAVE: client 3 holds exactly what the sheet says.
TEST(ScanChain, SaneScannerEndToEndFromTheEntryMethodToTheStoredRecord) {
  const FilledSheet sheet = filledSheet();
  TempDir files;
  writePgm(files.file("sheet.pgm"), filledScan(sheet));
  ScanRig rig("pnm:0", "filename=" + files.file("sheet.pgm"));
  ModalScript script;
  script.then("frmSelectEntryMethod", keys({Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}));
  script.then("frmMyInputBox", [](QWidget* w) {
    EXPECT_EQ(w->windowTitle(), "Client Name Input");
    type("Scanned Client");
    press(Qt::Key_Return), press(Qt::Key_Return);
  });
  reviewAndSave(script, sheet);
  script.run([&] { runAddNewClient(rig.state, nullptr); });
  EXPECT_EQ(rig.prompter.asked, (AskedList{{"Insert answer sheet for Scanned Client\r(face down) into scanner.",
                                             "ZV Test Scan", Buttons::OkCancel, Icon::None}}));
  EXPECT_EQ(readBytes(rig.clientFile()), rig.before + expectedRecord(sheet, "Scanned Client"));
  EXPECT_EQ(rig.state.clients.RecordCount, 3);
  EXPECT_TRUE(rig.bitmapsWritten());
}

TEST(ScanChain, CancellingTheNameTheSheetOrTheFileWritesNothing) {
  for (int step = 0; step < 3; ++step) {
    ScanRig rig(step == 2 ? "file" : "pnm:0");
    step == 0 ? rig.input.cancel() : rig.input.type("Nobody");
    if (step == 1) rig.prompter.script(Answer::Cancel);
    ModalScript script;
    rig.run(script);
    EXPECT_EQ(rig.prompter.asked.size(), step == 0 ? 0u : 1u) << step;
    EXPECT_EQ(rig.chooser.asked, step == 2 ? 1 : 0);
    EXPECT_FALSE(std::filesystem::exists(rig.program.file("Raw.bmp")) || std::filesystem::exists(rig.program.file("Scan.bmp")));
    rig.expectNothingStored();
  }
}

TEST(ScanChain, EveryFailureSaysWhatHappenedAndStoresNothing) {
  TempDir files;
  const GreyImage scan = filledScan(filledSheet());
  writePgm(files.file("sheet.pgm"), scan);
  GreyImage noReference = scan;  // the top right corner left white
  for (int y = 0; y < 200; ++y) std::fill_n(noReference.pixels.begin() + y * 850 + 700, 150, std::uint8_t{255});
  writePgm(files.file("noref.pgm"), noReference);
  writeBytes(files.file("text.png"), "not a picture at all");
  writeBytes(files.file("empty.pgm"), "P5\n0 10\n255\n");
  // The device, its options, the file chosen; what is told; whether both bitmaps are written; a failed write.
  const std::tuple<std::string, std::string, std::string, const char*, const char*, bool, bool> cases[] = {
      {"pnm:0", "filename=" + files.file("sheet.pgm") + ";status-jammed=yes", "",
       "Error '20084, Twain DS or DSM reported error, app shouldn't.", "Twain Error", false, false},
      {"nosuch:0", "", "", "Error '20082, Twain no Data Source.", "Twain Error", false, false},
      {"test:0", "", "", "Aborting scan.\rAnchor Box not found", "Scan Error", true, false},
      {"file", "", files.file("noref.pgm"), "Aborting scan.\rReference Box not found", "Scan Error", true, false},
      {"file", "", files.file("missing.png"), "Error '20010, File not found.", "Twain Error", false, false},
      {"file", "", files.path(), "Error '20014, Not able to open file.", "Twain Error", false, false},
      {"file", "", files.file("text.png"), "Error '20009, Invalid file format.", "Twain Error", false, false},
      {"file", "", files.file("empty.pgm"), "Error '20011, Invalid width/height.", "Twain Error", false, false},
      {"file", "", files.file("sheet.pgm"), "Error '20005, Error writing file.", "Twain Error", false, true},
  };
  for (const auto& [device, options, file, text, title, bitmaps, failWrite] : cases) {
    SCOPED_TRACE(text);
    ScanRig rig(device, options);
    rig.input.type("Nobody");
    rig.chooser.file = file;
    if (failWrite) rig.fs.arm({"write", "Scan.bmp", EIO});
    ModalScript script;
    rig.run(script);
    ASSERT_EQ(rig.prompter.asked.size(), 2u);
    const Icon icon = title[0] == 'S' ? Icon::Critical : Icon::None;
    EXPECT_EQ(rig.prompter.asked[1], (Asked{text, title, Buttons::Ok, icon}));
    EXPECT_EQ(rig.bitmapsWritten(), bitmaps);
    rig.expectNothingStored();
  }
}

// From an image file at 300 px/in, marks in two items twice, the first month
// digit blank: the notice before client information, which shows the date as
// "N"; declining either screen stores nothing.
TEST(ScanChain, ImageFileWithMultipleMarksAndABlankMonthDigitReachesTheScreensDecliningStoresNothing) {
  FilledSheet sheet = filledSheet();
  std::erase_if(sheet.marks, [](const PencilMark& m) { return m.row == kDateRow; });
  sheet.marks.insert(sheet.marks.end(), {{kItemRow + 5, 0, 120, 0.6}, {kItemRow + 140, 3, 120, 0.6}});
  const GreyImage scan = filledScan(sheet, 300);
  QImage png(scan.pixels.data(), scan.width, scan.height, scan.width, QImage::Format_Grayscale8);
  png.setDotsPerMeterX(static_cast<int>(scan.dpiX * 39.3701 + 0.5));
  png.setDotsPerMeterY(static_cast<int>(scan.dpiY * 39.3701 + 0.5));
  for (int declined = 0; declined < 2; ++declined) {
    ScanRig rig("File");
    ASSERT_TRUE(png.save(QString::fromStdString(rig.program.file("sheet.png"))));
    rig.chooser.file = rig.program.file("sheet.png");
    rig.input.type("Twice Marked");
    ModalScript script;
    script.then("frmClientInfo", [&rig, declined](QWidget* w) {
      ASSERT_EQ(rig.prompter.asked.size(), 2u);
      EXPECT_EQ(rig.prompter.asked[1].text, "Warning! some items had multiple answers marked.\rPlease review the follwing "
                                            "answers.\r\r     Item 5                        \r     Item 140                      \r");
      EXPECT_EQ(rig.prompter.asked[1].title, "Scan sheet Answers");
      auto* info = static_cast<frmClientInfo*>(w);
      EXPECT_EQ(info->textField(InfoField::DateOfBirth)->text(), "N");
      EXPECT_EQ(info->textField(InfoField::Name)->text(), "Twice Marked");
      choose(info->menu(), declined ? 0 : 1);
    });
    if (declined) script.then("frmCourtHistory", [](QWidget* w) { static_cast<frmCourtHistory*>(w)->cancelInput(); });
    rig.run(script, {"frmClientInfo", "frmCourtHistory"});
    EXPECT_EQ(rig.input.requests.at(0).helpMessage, "Enter the name of client.");
    EXPECT_EQ(rig.input.requests.at(0).inputLength, 25);
    rig.expectNothingStored();
  }
}

// A scanner that works until it is told to stop.
struct EndlessSource : PageSource {
  Acquisition acquire(AcquireProgress& progress) override {
    for (int permille = 1; !progress.cancelled(); permille = std::min(permille + 5, 999)) {
      progress.report(permille);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {kScanCancelled, {}};
  }
};

TEST(ScanChain, CancelOnTheProgressScreenStopsTheScanner) {
  ScanRig rig("pnm:0");
  rig.source = [] { return std::make_unique<EndlessSource>(); };
  rig.input.type("Slow Scan");
  ModalScript script;
  script.then("frmScanProgress", [](QWidget* w) {
    auto* p = static_cast<frmScanProgress*>(w);
    EXPECT_EQ(p->label()->text(), QString::fromUtf8("Scanning answer sheet\u2026"));
    EXPECT_EQ(focused(), p->menu()->button(0));
    EXPECT_EQ(p->menu()->button(0)->text(), "Cancel");
    QTest::qWait(300);
    EXPECT_GT(p->bar()->value(), 0) << "the bar follows the bytes read";
    press(Qt::Key_Return);
  });
  rig.run(script);
  ASSERT_EQ(rig.prompter.asked.size(), 2u);
  EXPECT_EQ(rig.prompter.asked[1],
            (Asked{"Error '20080, Twain Canceled by user or unknown causes.", "Twain Error", Buttons::Ok, Icon::None}));
  EXPECT_FALSE(rig.bitmapsWritten());
  rig.expectNothingStored();
}

TEST(ScannerScreen, ListsWhatSaneFindsShowsTheChoiceAndWritesIt) {
  const std::pair<std::string, const char*> cases[] = {{"", "First scanner found"}, {"FILE", "Image file"}, {"gone:0", "gone:0 (not found)"}};
  for (const auto& [current, shown] : cases) {
    ScanRig rig(current);
    const std::string chosen = current == "gone:0" ? current : "pnm:0";  // Cancel keeps what was in use
    ModalScript script;
    script.then("frmScannerSelect", [&](QWidget* w) {
      auto* s = static_cast<frmScannerSelect*>(w);
      EXPECT_EQ((QStringList{s->lblCurrent()->text(), s->lbScanners()->currentItem()->text(), s->lblFound()->text()}),
                (QStringList{QString("In use: ") + shown, shown, "4 scanners were found."}));
      QStringList entries;
      for (int i = 0; i < s->lbScanners()->count(); ++i) entries << s->lbScanners()->item(i)->text();
      EXPECT_TRUE(entries.contains("Noname PNM file reader (pnm:0)") && entries.contains("Noname frontend-tester (test:1)"));
      EXPECT_EQ(entries.size(), current == "gone:0" ? 7 : 6);
      EXPECT_EQ(entries.last(), current == "gone:0" ? "gone:0 (not found)" : "Image file");
      // Down to the pnm reader, Enter, Enter; or Cancel.
      while (s->lbScanners()->currentItem()->text() != "Noname PNM file reader (pnm:0)") press(current.empty() ? Qt::Key_Down : Qt::Key_Up);
      press(Qt::Key_Return);
      if (current == "gone:0") press(Qt::Key_Tab);
      press(Qt::Key_Return);
    });
    script.run([&] { runScannerSelect(rig.state, nullptr); });
    EXPECT_EQ(Settings(rig.fs, rig.program.path()).readScanDevice(), chosen);
  }
}
