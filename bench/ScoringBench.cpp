// Report production speed: scoring plus writing one full report (target
// under 2 ms) and every client of a full data location (target under 50 ms),
// each report reading the installation's tables afresh as the system does.
// The Compose benchmarks measure the report's own work (tables, scoring,
// layout); the ScoreAndReport ones add the all-or-nothing file replacement
// (temporary file, fsync, rename), which the disk, not the code, dominates.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "records/ClientFile.h"
#include "records/FileSystem.h"
#include "report/ScoreAndReport.h"

namespace {

struct BenchData {
  std::string program = ZV_PROGRAM_DIR;
  std::string out;
  zv::ClientTable samples;
  zv::ClientTable full;  // 51 clients, the samples repeated

  BenchData() {
    zv::RealFileSystem fs;
    zv::LoadClientFile(fs, program + "/samples/DATA401.ZV", samples);
    full.RecordCount = zv::kMaxClients;
    for (int n = 1; n <= zv::kMaxClients; ++n)
      full.slot[static_cast<std::size_t>(n)] =
          samples.slot[static_cast<std::size_t>((n - 1) % std::max<int>(1, samples.RecordCount) + 1)];
    out = (std::filesystem::temp_directory_path() / "zvbench-report.prn").string();
  }
};

const BenchData& data() {
  static const BenchData d;
  return d;
}

void BM_ScoreAndWriteOneReport(benchmark::State& state) {
  const BenchData& d = data();
  zv::RealFileSystem fs;
  zv::ClientTable table = d.samples;
  table.CurrentRecord = 1;
  const zv::ReportRequest request{d.program, d.out, true};
  for (auto _ : state) benchmark::DoNotOptimize(zv::ScoreAndReport(fs, table, request));
}
BENCHMARK(BM_ScoreAndWriteOneReport)->Unit(benchmark::kMillisecond);

void BM_ComposeOneReport(benchmark::State& state) {
  const BenchData& d = data();
  zv::RealFileSystem fs;
  zv::ClientTable table = d.samples;
  table.CurrentRecord = 1;
  const zv::ReportRequest request{d.program, d.out, true};
  for (auto _ : state) benchmark::DoNotOptimize(zv::ComposeReport(fs, table, request));
}
BENCHMARK(BM_ComposeOneReport)->Unit(benchmark::kMillisecond);

// Every client of a full data location, written (true) or only composed.
void BM_AllClientsOfAFullDataLocation(benchmark::State& state, bool written) {
  const BenchData& d = data();
  zv::RealFileSystem fs;
  zv::ClientTable table = d.full;
  const zv::ReportRequest request{d.program, d.out, false};
  for (auto _ : state) {
    for (int n = 1; n <= zv::kMaxClients; ++n) {
      table.CurrentRecord = static_cast<std::int16_t>(n);
      if (written) benchmark::DoNotOptimize(zv::ScoreAndReport(fs, table, request));
      else benchmark::DoNotOptimize(zv::ComposeReport(fs, table, request));
    }
  }
}
BENCHMARK_CAPTURE(BM_AllClientsOfAFullDataLocation, written, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AllClientsOfAFullDataLocation, composed, false)->Unit(benchmark::kMillisecond);

}  // namespace
