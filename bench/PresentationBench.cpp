// The onscreen test on the installed question bank and voices:
// - Enter on an answer until the next item is shown with its question sound
//   started (target: at most 5 ms);
// - opening the presentation screen: rows read, screen built and shown with
//   the general instructions spoken (target: at most 100 ms).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>

#include "app/SystemState.h"
#include "bench/BenchSupport.h"
#include "testing/WavePlayer.h"
#include "testing/qt/frmPresentQA.h"
#include "ui/Prompter.h"

namespace {

struct Installed {
  zv::RealFileSystem fs;
  zv::ScriptedPrompter prompter;
  zv::RecordingWavePlayer player;
  zv::SystemState system{fs, prompter, ZV_PROGRAM_DIR};
  Installed() {
    zvbench::application();
    system.sndPath = std::string(ZV_PROGRAM_DIR) + "/sounds";
    system.player = &player;
  }
};

// A key pressed and released where the focus is.
void key(int k) {
  QWidget* w = QApplication::focusWidget();
  QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier), release(QEvent::KeyRelease, k, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
}

void BM_EnterToNextItem(benchmark::State& state) {
  Installed in;
  auto screen = std::make_unique<zv::frmPresentQA>(in.system, "English");
  screen->show();
  QApplication::setActiveWindow(screen.get());
  QApplication::processEvents();
  key(Qt::Key_Return);
  key(Qt::Key_Return);
  int item = 1;
  for (auto _ : state) {
    state.PauseTiming();
    // Items 1 to 104 only: the section notice is a message box of its own.
    if (item == 104) {
      for (int i = 0; i < 103; ++i) key(Qt::Key_F10);
      item = 1;
    }
    key(Qt::Key_Down);
    const auto heard = in.player.started.size();
    state.ResumeTiming();
    key(Qt::Key_Return);
    state.PauseTiming();
    ++item;
    if (screen->presentation().item().id != item || in.player.started.size() != heard + 1) {
      state.SkipWithError("the next item was not shown with its sound");
      break;
    }
    state.ResumeTiming();
  }
}
BENCHMARK(BM_EnterToNextItem)->Unit(benchmark::kMicrosecond);

void BM_OpenPresentation(benchmark::State& state) {
  Installed in;
  for (auto _ : state) {
    zv::frmPresentQA screen(in.system, "Spanish");
    screen.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(screen.presentation().item().id);
    screen.hide();
  }
  if (!in.prompter.asked.empty()) state.SkipWithError(in.prompter.asked.front().text.c_str());
}
BENCHMARK(BM_OpenPresentation)->Unit(benchmark::kMillisecond);

}  // namespace
