#pragma once
// The one QApplication the screen benchmarks share, offscreen unless a
// platform was chosen.
#include <QApplication>

namespace zvbench {

inline QApplication& application() {
  static int argc = 1;
  static char name[] = "zvbench";
  static char* argv[] = {name, nullptr};
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (!app) app = new QApplication(argc, argv);
  return *app;
}

}  // namespace zvbench
