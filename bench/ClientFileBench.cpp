// Loading a full client file (51 records) into the client table.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "records/ClientFile.h"

namespace {

std::string fullClientFile() {
  std::string bytes;
  for (int n = 1; n <= zv::kMaxClients; ++n) {
    zv::ClientRecord r;
    r.setRaw(zv::Field::Name, "Client " + std::to_string(n));
    r.setRaw(zv::Field::SSN, "N");
    r.setRaw(zv::Field::Age, "34");
    r.setRaw(zv::Field::Responses, std::string(162, '1'));
    bytes += r.bytes();
  }
  return bytes;
}

void BM_LoadClientFile51(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / ("zvbench-load-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = zv::clientFilePath(dir.string());
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << fullClientFile();
  }
  zv::RealFileSystem fs;
  zv::ClientTable table;
  for (auto _ : state) {
    const auto outcome = zv::LoadClientFile(fs, path, table);
    benchmark::DoNotOptimize(outcome);
    benchmark::DoNotOptimize(table.RecordCount);
  }
  if (table.RecordCount != zv::kMaxClients) state.SkipWithError("the file did not load 51 clients");
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LoadClientFile51)->Unit(benchmark::kMicrosecond);

}  // namespace
