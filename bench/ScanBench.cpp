// From the end of the acquisition to the client information screen shown:
// Raw.bmp and Scan.bmp written, the page read with the installed layout and
// the positions stored, the screen built, filled and shown (target: at most
// 100 ms). Arg 0: a grey page at 100 px/in as a scanner delivers it; arg 1:
// a 300 px/in page as decoded from the chosen image file. Reading that file
// (a PNG) is the file source's acquisition, measured on its own.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <filesystem>

#include "app/SystemState.h"
#include "bench/BenchSupport.h"
#include "intake/qt/frmClientInfo.h"
#include "sheets/ScanFlow.h"
#include "sheets/qt/ScannedImage.h"
#include "tests/core/SheetScanGenerator.h"

namespace {

void BM_ScannedPageToClientInformation(benchmark::State& state) {
  zvbench::application();
  const zvtest::TempDir dir;
  std::filesystem::copy_file(std::string(ZV_PROGRAM_DIR) + "/ZV.db", dir.file("ZV.db"));
  zv::RealFileSystem fs;
  zv::ScriptedPrompter prompter;
  zv::SystemState system(fs, prompter, dir.path());
  const zvtest::FilledSheet sheet = zvtest::filledSheet();
  const zv::GreyImage scan = zvtest::filledScan(sheet, state.range(0) == 1 ? 300 : 100);
  std::string responses;
  for (auto _ : state) {
    const zv::ScannedPage page =
        zv::ReadScannedPage(fs, system.programDir, system.workspace, system.questionDbPath(), scan.buffer());
    zv::frmClientInfo screen(system);
    screen.setValues(zv::scannedClientInfo("Benchmark Client", page.reading.fields));
    screen.show();
    QApplication::processEvents();
    responses = page.reading.fields.Responses;
    benchmark::DoNotOptimize(responses);
    screen.hide();
  }
  if (responses != sheet.fields.Responses) state.SkipWithError("the sheet did not read as filled");
}
BENCHMARK(BM_ScannedPageToClientInformation)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ReadScannedImageFile(benchmark::State& state) {
  zvbench::application();
  const zvtest::TempDir dir;
  const zv::GreyImage scan = zvtest::filledScan(zvtest::filledSheet(), 300);
  QImage png(scan.pixels.data(), scan.width, scan.height, scan.width, QImage::Format_Grayscale8);
  png.setDotsPerMeterX(11811), png.setDotsPerMeterY(11811);
  png.save(QString::fromStdString(dir.file("sheet.png")));
  int width = 0;
  for (auto _ : state) {
    zv::AcquireProgress progress;
    width = zv::ImageFileSource(QString::fromStdString(dir.file("sheet.png"))).acquire(progress).page.width;
    benchmark::DoNotOptimize(width);
  }
  if (width != scan.width) state.SkipWithError("the file was not read");
}
BENCHMARK(BM_ReadScannedImageFile)->Unit(benchmark::kMillisecond);

}  // namespace
