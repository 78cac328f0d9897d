#pragma once
// Settling the data location, the folder that holds the client file: the
// candidate is loaded, tested for writing and remembered as FilePath. When a
// step fails, the user's answer decides whether another location is asked
// for, the failed step is tried again, or the program ends.
#include <functional>
#include <string>

namespace zv {

struct SystemState;
class Prompter;
class ZvError;

// Written into the candidate and removed again to prove that it takes writes.
inline constexpr const char* kWriteTestFile = "checkWriteTest";

// Shows the drive dialog with `inForce` preselected and returns its answer.
using AskDrive = std::function<std::string(const std::string& inForce)>;

enum class LocationOutcome {
  Settled,     // loaded, write-tested and remembered in the settings
  Left,        // the user left the procedure; work goes on with the table as loaded
  EndProgram,  // the user chose to end the program
};

// Runs the procedure. At start-up the first candidate is the FilePath setting
// (no question asked); every later candidate comes from `askDrive`.
LocationOutcome SelectDataLocation(SystemState& state, bool atStartUp, const AskDrive& askDrive);

// The messages of the procedure.
std::string noTestInformationMessage(const std::string& candidate);
std::string dataDiskWriteProtectedMessage();
std::string numberedErrorMessage(const ZvError& e);  // "Error <n>:<description>"
// A fault that names the file and the folder it happened in.
std::string fileErrorMessage(const ZvError& e);
std::string programFolderWriteProtectedMessage(const ZvError& e);
inline constexpr const char* kDataDiskErrorTitle = "Data Disk Error";
inline constexpr const char* kProgramFolderErrorTitle = "Program Folder Error";

// The start-up error handler for a step in the program folder (zv.ini, the
// only place start-up touches after the data location): a write-protected folder
// offers OK (again) and Cancel, any other error is shown once; both name the
// file and folder. Returns false when the program must end.
bool RunProgramFolderStep(Prompter& prompter, const std::function<void()>& step);

}  // namespace zv
