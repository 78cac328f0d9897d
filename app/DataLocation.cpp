#include "app/DataLocation.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/Settings.h"
#include "app/SystemState.h"
#include "records/ClientFile.h"
#include "ui/Prompter.h"

namespace zv {
namespace {

std::string upperAscii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// What the user's answer to a failed step asks for.
enum class Next { Done, AskAnother, Retry, Leave, End };

using Handler = std::function<Next(const ZvError&)>;

// Runs one step under the procedure's error handling until it is done or the
// user's answer says otherwise.
Next attempt(const std::function<void()>& step, const Handler& onError) {
  for (;;) {
    try {
      step();
      return Next::Done;
    } catch (const ZvError& e) {
      const Next next = onError(e);
      if (next != Next::Retry) return next;
    }
  }
}

Next askAnother(const std::string& candidate, Prompter& prompter) {
  return prompter.ask(noTestInformationMessage(candidate), kAppTitle, Buttons::YesNo, Icon::None) == Answer::Yes
             ? Next::AskAnother : Next::End;
}

Next retryOrLeave(const std::string& text, const std::string& title, Prompter& prompter) {
  return prompter.ask(text, title, Buttons::OkCancel, Icon::Critical) == Answer::Ok ? Next::Retry : Next::Leave;
}

Next tellAndLeave(const std::string& text, Prompter& prompter) {
  prompter.ask(text, kAppTitle, Buttons::Ok, Icon::None);
  return Next::Leave;
}

// The procedure for one call: steps 1 to 5, each a function of its own.
class LocationProcedure {
 public:
  LocationProcedure(SystemState& state, const AskDrive& askDrive)
      : state_(state), settings_(state.fs, state.programDir), askDrive_(askDrive),
        defaultLocation_(settings_.defaultDataLocation()) {}

  LocationOutcome run(bool atStartUp) {
    rememberInForce();
    for (bool first = atStartUp;; first = false) {
      const std::string candidate = chooseCandidate(first);
      switch (load(candidate)) {
        case Next::Done: break;
        case Next::AskAnother: continue;
        case Next::End: return LocationOutcome::EndProgram;
        default: return leaveUnloaded(candidate);
      }
      switch (testWrites(candidate)) {
        case Next::Done: break;
        case Next::AskAnother: continue;
        case Next::End: return LocationOutcome::EndProgram;
        default: return LocationOutcome::Left;  // with the table as loaded
      }
      return remember(candidate) == Next::Done ? LocationOutcome::Settled : LocationOutcome::Left;
    }
  }

 private:
  // 1. The location in force and its table, kept for a procedure left before any load.
  void rememberInForce() {
    inForce_ = state_.dataLocation;
    tableInForce_ = state_.clients;
  }

  // 2. At start-up the FilePath setting, no question asked; otherwise the drive dialog.
  std::string chooseCandidate(bool first) {
    if (!first) return askDrive_(inForce_.empty() ? defaultLocation_ : inForce_);
    // A missing key yields the default location through the same 50-character
    // buffer, which cuts a long program folder's default; that cut value can
    // only come from the default, so it is restored.
    const std::string value = settings_.readFilePath();
    if (defaultLocation_.size() > Settings::kMaxPathLength && value == defaultLocation_.substr(0, Settings::kMaxPathLength))
      return defaultLocation_;
    return value;
  }

  // 3. The candidate's client file becomes the client table.
  Next load(const std::string& candidate) {
    bool ended = false;
    bool readFailed = false;
    const Next next = attempt(
        [&] {
          openLocation(candidate);
          state_.dataLocation = candidate;
          LoadOutcome outcome;
          outcome.recordsInFile = -1;  // stays -1 when the load ended on an error
          ended = !LoadClientFileWithMessages(state_.fs, clientFilePath(candidate), state_.clients, state_.prompter,
                                              &outcome);
          readFailed = !ended && outcome.recordsInFile < 0;
        },
        [&](const ZvError& e) { return locationError(e, candidate); });
    if (next != Next::Done) return next;
    if (ended) return Next::End;
    // Going on with an empty table after a failed read would let the next new
    // client overwrite record 1 of that file.
    if (readFailed) return askAnother(candidate, state_.prompter);
    return Next::Done;
  }

  // 4. The candidate takes writes: checkWriteTest is written and removed.
  Next testWrites(const std::string& candidate) {
    const std::string probe = joinPath(candidate, kWriteTestFile);
    return attempt(
        [&] {
          try {
            if (state_.fs.exists(probe)) state_.fs.remove(probe);
            state_.fs.writeAt(probe, 0, "test\r\n");
            if (state_.fs.exists(probe)) state_.fs.remove(probe);
          } catch (const ZvError&) {
            // A half-written probe must not stay behind on the user's disk.
            try {
              state_.fs.remove(probe);
            } catch (const ZvError&) {
            }
            throw;
          }
        },
        [&](const ZvError& e) {
          switch (e.kind()) {
            case ErrorKind::WriteProtected:
              return retryOrLeave(dataDiskWriteProtectedMessage(), kDataDiskErrorTitle, state_.prompter);
            case ErrorKind::DriveNotReady:
            case ErrorKind::PathNotFound:
              return askAnother(candidate, state_.prompter);  // the disk went away after loading
            default:
              return tellAndLeave(fileErrorMessage(e), state_.prompter);
          }
        });
  }

  // 5. The candidate is remembered as FilePath in zv.ini, in the program folder.
  Next remember(const std::string& candidate) {
    return attempt([&] { settings_.writeFilePath(candidate); },
                   [&](const ZvError& e) {
                     if (e.kind() == ErrorKind::WriteProtected)
                       return retryOrLeave(programFolderWriteProtectedMessage(e), kProgramFolderErrorTitle,
                                           state_.prompter);
                     return tellAndLeave(fileErrorMessage(e), state_.prompter);
                   });
  }

  // Left before the candidate was loaded: never pair a location with another
  // location's clients, so the location in force stays with its table. (At
  // start-up there is none; the failing candidate is kept so that later
  // writes report against it instead of landing elsewhere.)
  LocationOutcome leaveUnloaded(const std::string& candidate) {
    state_.dataLocation = inForce_.empty() ? candidate : inForce_;
    state_.clients = tableInForce_;
    return LocationOutcome::Left;
  }

  // The candidate must be an existing folder; the default location inside the
  // program folder is created when missing, so a fresh installation just starts.
  void openLocation(const std::string& candidate) {
    FileSystem& fs = state_.fs;
    if (candidate.empty()) throw ZvError(ErrorKind::PathNotFound, ENOENT, std::strerror(ENOENT), candidate);
    if (candidate == defaultLocation_ && !fs.exists(candidate)) fs.makeDirectories(candidate);
    if (!fs.exists(candidate)) throw ZvError(ErrorKind::PathNotFound, ENOENT, std::strerror(ENOENT), candidate);
    if (!fs.isDirectory(candidate)) throw ZvError(ErrorKind::PathNotFound, ENOTDIR, std::strerror(ENOTDIR), candidate);
  }

  Next locationError(const ZvError& e, const std::string& candidate) {
    switch (e.kind()) {
      case ErrorKind::DriveNotReady:
      case ErrorKind::FileNotFound:
      case ErrorKind::PathNotFound:
      case ErrorKind::DeviceIO:
      case ErrorKind::BadData:
        return askAnother(candidate, state_.prompter);
      case ErrorKind::WriteProtected:
        return retryOrLeave(dataDiskWriteProtectedMessage(), kDataDiskErrorTitle, state_.prompter);
      default:
        return tellAndLeave(numberedErrorMessage(e), state_.prompter);
    }
  }

  SystemState& state_;
  Settings settings_;
  const AskDrive& askDrive_;
  const std::string defaultLocation_;
  std::string inForce_;
  ClientTable tableInForce_;
};

std::string fileAndFolder(const ZvError& e) {
  const std::filesystem::path p(e.path());
  return "File: " + p.filename().string() + "\rFolder: " + p.parent_path().string();
}

}  // namespace

std::string noTestInformationMessage(const std::string& candidate) {
  return "No test information found on drive " + upperAscii(candidate) + ", would you like to try another drive?";
}

std::string dataDiskWriteProtectedMessage() {
  return "Data disk write protected!\r\rSet the data disk to writable and replace in drive.";
}

std::string numberedErrorMessage(const ZvError& e) {
  return "Error " + std::to_string(e.number()) + ":" + e.description();
}

std::string fileErrorMessage(const ZvError& e) { return numberedErrorMessage(e) + "\r\r" + fileAndFolder(e); }

std::string programFolderWriteProtectedMessage(const ZvError& e) {
  return "Program folder write protected!\r\r" + fileAndFolder(e) +
         "\r\rSet the program folder to writable to continue.";
}

LocationOutcome SelectDataLocation(SystemState& state, bool atStartUp, const AskDrive& askDrive) {
  return LocationProcedure(state, askDrive).run(atStartUp);
}

bool RunProgramFolderStep(Prompter& prompter, const std::function<void()>& step) {
  for (;;) {
    try {
      step();
      return true;
    } catch (const ZvError& e) {
      if (e.kind() == ErrorKind::WriteProtected &&
          prompter.ask(programFolderWriteProtectedMessage(e), kProgramFolderErrorTitle, Buttons::OkCancel,
                       Icon::Critical) == Answer::Ok)
        continue;
      if (e.kind() != ErrorKind::WriteProtected) prompter.ask(fileErrorMessage(e), kAppTitle, Buttons::Ok, Icon::None);
      return false;
    }
  }
}

}  // namespace zv
