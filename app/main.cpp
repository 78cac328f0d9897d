// Zorvex: a second copy hands over to the running one and ends; otherwise
// the start-up sequence runs in the main menu, which then waits for the user.
#include <QApplication>

#include "app/SystemState.h"
#include "app/qt/SingleInstance.h"
#include "app/qt/frmMainMenu.h"
#include "records/FileSystem.h"
#include "ui/qt/QtPrompter.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Zorvex");

  zv::SingleInstance instance;
  if (!instance.claim()) return 0;

  zv::RealFileSystem fs;
  zv::QtPrompter prompter;
  // The program folder is the executable's own folder.
  zv::SystemState state(fs, prompter, QCoreApplication::applicationDirPath().toStdString());
  zv::frmMainMenu menu(state);
  QObject::connect(&instance, &zv::SingleInstance::activationRequested, &menu, &zv::frmMainMenu::bringToFront);
  if (!menu.Form_Load()) return 0;
  return app.exec();
}
