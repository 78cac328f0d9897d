// Reading answer sheets. Thresholding plus reading one page already in
// memory, the layout write-back aside (target: at most 2 ms); zvscan on one
// 8-bit grey PNG sheet at 100 px/in as a scanner delivers it, the whole
// process from start to exit (target: at most 60 ms).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QImage>
#include <filesystem>

#include "tests/core/SheetScanGenerator.h"

extern char** environ;

namespace {

// A filled-in sheet, scanned a little askew, with noise.
zv::GreyImage filledScan() {
  auto marks = zvtest::markDigits(zvtest::kDateRow, "042361451218220712", zvtest::markDigits(zvtest::kIdRow, "123456789"));
  for (int item = 1; item <= 162; ++item) marks.push_back({zvtest::kItemRow + item, item % 2});
  zvtest::ScanSetup setup;
  setup.skew = 0.8, setup.shiftX = 6, setup.shiftY = -4, setup.noise = 3, setup.blur = true;
  return zvtest::SheetScanner(zvtest::bundledDesign(), setup).scan(marks);
}

void BM_ThresholdAndReadPage(benchmark::State& state) {
  const zv::GreyImage scan = filledScan();
  const zv::SheetLayout& layout = zvtest::bundledDesign().layout;
  std::string responses;
  for (auto _ : state) {
    const zv::PageImage page = zv::PageImage::load(scan);
    const zv::SheetReading r = zv::ReadSheetPage(page, layout);
    responses = r.fields.Responses;
    benchmark::DoNotOptimize(responses);
  }
  if (responses.find('0') != std::string::npos) state.SkipWithError("the sheet did not read completely");
}
BENCHMARK(BM_ThresholdAndReadPage)->Unit(benchmark::kMillisecond);

void BM_ZvscanOnePng(benchmark::State& state) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "zvbench-scan";
  fs::create_directories(dir);
  fs::copy_file(fs::path(ZV_PROGRAM_DIR) / "ZV.db", dir / "ZV.db", fs::copy_options::overwrite_existing);
  const zv::GreyImage scan = filledScan();
  QImage png(scan.pixels.data(), scan.width, scan.height, scan.width, QImage::Format_Grayscale8);
  png.setDotsPerMeterX(3937), png.setDotsPerMeterY(3937);
  const std::string sheet = (dir / "sheet.png").string();
  png.save(QString::fromStdString(sheet));
  const std::string tool = std::string(ZV_PROGRAM_DIR) + "/zvscan", programDir = dir.string();
  std::vector<char*> argv = {const_cast<char*>(tool.c_str()), const_cast<char*>("--program-dir"),
                             const_cast<char*>(programDir.c_str()), const_cast<char*>(sheet.c_str()), nullptr};
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  int status = 0;
  double cpuSeconds = 0;
  for (auto _ : state) {
    pid_t pid = 0;
    if (posix_spawn(&pid, tool.c_str(), &quiet, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("zvscan could not be started");
      break;
    }
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    cpuSeconds += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  }
  // The process's own processor time, apart from waiting for a busy machine.
  state.counters["process_cpu_ms"] =
      benchmark::Counter(cpuSeconds * 1000 / static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations())));
  posix_spawn_file_actions_destroy(&quiet);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("zvscan did not read the sheet");
  fs::remove_all(dir);
}
BENCHMARK(BM_ZvscanOnePng)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
