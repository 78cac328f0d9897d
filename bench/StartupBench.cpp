// Start-up from launch to the waiting main menu on a data location with 51
// clients, with the splash curtain and holds run without their designed waits.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <filesystem>
#include <fstream>

#include "app/SystemState.h"
#include "bench/BenchSupport.h"
#include "app/qt/frmMainMenu.h"
#include "ui/Prompter.h"

namespace {

void BM_StartUpToMainMenu(benchmark::State& state) {
  zvbench::application();
  const auto program = std::filesystem::temp_directory_path() / ("zvbench-start-" + std::to_string(::getpid()));
  std::filesystem::create_directories(program / "data");
  {
    std::ofstream out(program / "data" / zv::kClientFileName, std::ios::binary | std::ios::trunc);
    for (int n = 1; n <= zv::kMaxClients; ++n) {
      zv::ClientRecord r;
      r.setRaw(zv::Field::Name, "Client " + std::to_string(n));
      r.setRaw(zv::Field::Responses, std::string(162, '0'));
      out << r.bytes();
    }
  }
  zv::RealFileSystem fs;
  for (auto _ : state) {
    zv::ScriptedPrompter prompter;
    zv::SystemState system(fs, prompter, program.string());
    zv::frmMainMenu menu(system);
    menu.hooks().splashTiming = zv::frmAbout::noWaits();
    if (!menu.Form_Load() || system.clients.RecordCount != zv::kMaxClients || !prompter.asked.empty()) {
      state.SkipWithError("start-up did not reach the main menu");
      break;
    }
    QApplication::processEvents();
    menu.hide();
  }
  std::filesystem::remove_all(program);
}
BENCHMARK(BM_StartUpToMainMenu)->Unit(benchmark::kMillisecond);

}  // namespace
