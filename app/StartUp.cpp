#include "app/StartUp.h"

#include "app/Settings.h"
#include "app/SystemState.h"
#include "ui/ScreenRules.h"

namespace zv {

bool RunStartUp(SystemState& state, const StartUpScreens& screens) {
  Settings settings(state.fs, state.programDir);
  screens.mouseWait();

  // The workspace exists with the system state (engine defaults, zv.ini as
  // the initialisation path); the workgroup entry is written on every start.
  // An unwritable program folder is reported instead of ending silently.
  if (!RunProgramFolderStep(state.prompter, [&] { settings.writeSystemDB(); })) {
    screens.mouseDefault();
    return false;
  }

  screens.mouseDefault();
  if (SelectDataLocation(state, true, screens.askDrive) == LocationOutcome::EndProgram) return false;
  screens.mouseWait();

  bool ok = RunProgramFolderStep(state.prompter, [&] { state.sndPath = settings.readSndPath(); });
  // The question database path follows from the program folder (SystemState::questionDbPath).
  if (ok) {
    state.Refresh = true;
    screens.splash();
    screens.showMainMenu();
    ok = RunProgramFolderStep(state.prompter, [&] {
      state.NumLock = settings.readNumLock();
      screens.numLock(state.NumLock);
    });
  }
  if (ok) InitSectionEnds(state.SectionEnd);
  screens.mouseDefault();
  return ok;
}

}  // namespace zv
