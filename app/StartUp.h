#pragma once
// The start-up sequence from launch to the waiting main menu. The second-copy
// check runs before anything is built (see app/qt/SingleInstance.h); the
// screens take part through the hooks below, so the sequence itself runs
// without a display in tests.
#include <functional>

#include "app/DataLocation.h"

namespace zv {

struct SystemState;

struct StartUpScreens {
  std::function<void()> mouseWait = [] {};
  std::function<void()> mouseDefault = [] {};
  AskDrive askDrive;                                 // the drive dialog
  std::function<void()> splash = [] {};              // shows the splash and returns once it has closed
  std::function<void()> showMainMenu = [] {};        // puts the main form in use, centred, and activates it
  std::function<void(bool)> numLock = [](bool) {};   // the main menu's NumLock option
};

// Engine defaults and SystemDB, data location, sound path, refresh flag,
// splash, main menu, NumLock, section ends. Returns false when the program
// must end (the user chose so, or a start-up error was not overcome).
bool RunStartUp(SystemState& state, const StartUpScreens& screens);

}  // namespace zv
