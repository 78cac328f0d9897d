// zvsheet: writes the blank answer sheet of a program folder's question
// database as a one-page letter PDF at actual size.
//   zvsheet --program-dir DIR --output FILE.pdf
// Exits 0 when written, 1 when it could not be, 2 for wrong arguments.
#include <QGuiApplication>
#include <iostream>
#include <string>

#include "app/QuestionDb.h"
#include "records/FileSystem.h"
#include "records/ZvError.h"
#include "sheets/qt/AnswerSheetPrint.h"

int main(int argc, char** argv) {
  std::string programDir, output;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--program-dir") programDir = argv[i + 1];
    else if (flag == "--output") output = argv[i + 1];
    else programDir.clear();
  }
  if (argc != 5 || programDir.empty() || output.empty()) {
    std::cerr << "usage: zvsheet --program-dir DIR --output FILE.pdf\n";
    return 2;
  }
  // A command-line tool: fonts without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  try {
    const auto db = zv::Workspace::standard(zv::joinPath(programDir, "zv.ini"))
                        .OpenDatabase(zv::joinPath(programDir, "ZV.db"));
    zv::writeAnswerSheetPdf(zv::LoadSheetDesign(db), output);
  } catch (const zv::ZvError& e) {
    std::cerr << "zvsheet: " << e.what() << (e.path().empty() ? "" : ": " + e.path()) << "\n";
    return 1;
  }
  return 0;
}
