// Opening the answer grid screen with all 162 items of the installed question
// bank: the table read, one grid per answer type built and painted, the
// screen shown with the first row highlighted (target: under 150 ms).
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/SystemState.h"
#include "bench/BenchSupport.h"
#include "sheets/qt/frmNewEntry.h"
#include "ui/Prompter.h"

namespace {

void BM_OpenGridScreen(benchmark::State& state) {
  zvbench::application();
  zv::RealFileSystem fs;
  zv::ScriptedPrompter prompter;
  zv::SystemState system(fs, prompter, ZV_PROGRAM_DIR);
  system.clients.CurrentRecord = 1;
  std::string answers;
  for (int i = 0; i < zv::kItemCount; ++i) answers += static_cast<char>('0' + i % 3);
  system.clients.current().setRaw(zv::Field::Name, "Benchmark Client");
  system.clients.current().setRaw(zv::Field::Responses, answers);
  int grids = 0;
  for (auto _ : state) {
    zv::frmNewEntry screen(system);
    screen.show();
    QApplication::processEvents();
    grids = screen.gridCount();
    benchmark::DoNotOptimize(grids);
    screen.hide();
  }
  if (!prompter.asked.empty()) state.SkipWithError(prompter.asked.front().text.c_str());
  state.counters["grids"] = grids;
}
BENCHMARK(BM_OpenGridScreen)->Unit(benchmark::kMillisecond);

}  // namespace
