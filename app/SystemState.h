#pragma once
// What the running system shares between its screens: the client table, the
// flags through which chained screens report to each other, the settled
// locations, and the platform services (files, messages) in use.
#include <string>

#include "app/QuestionDb.h"
#include "records/ClientFile.h"
#include "records/ClientTable.h"
#include "records/FileSystem.h"
#include "testing/TestSections.h"
#include "ui/Prompter.h"

namespace zv {

class Printer;     // report/Printer.h
class WavePlayer;  // testing/WavePlayer.h

struct SystemState {
  SystemState(FileSystem& fileSystem, Prompter& messages, std::string programFolder)
      : fs(fileSystem), prompter(messages), programDir(std::move(programFolder)),
        workspace(Workspace::standard(joinPath(programDir, "zv.ini"))) {}

  FileSystem& fs;
  Prompter& prompter;
  Printer* printer = nullptr;   // null: the screens print through the system printer
  WavePlayer* player = nullptr;  // null: the onscreen test plays through the audio device

  std::string programDir;
  std::string dataLocation;  // the folder holding DATA401.ZV
  std::string sndPath;
  Workspace workspace;

  ClientTable clients;
  SectionEnds SectionEnd = kSectionEnds;

  bool Accepted = false;        // a chained modal screen completed (true) or was cancelled
  bool Refresh = true;          // the main menu rebuilds its client list on its next activation
  bool ScannedAnswers = false;  // the current response string came from a scan
  bool NumLock = true;

  std::string clientFile() const { return clientFilePath(dataLocation); }
  std::string questionDbPath() const { return joinPath(programDir, "ZV.db"); }
  std::string reportPath() const { return joinPath(programDir, "report.prn"); }
};

}  // namespace zv
