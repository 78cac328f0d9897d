#include "app/DataLocation.h"

#include <cerrno>
#include <cstring>

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
enum class Next { AskAnother, Retry, Leave, End };

Next handleLocationError(const ZvError& e, const std::string& candidate, Prompter& prompter) {
  switch (e.kind()) {
    case ErrorKind::DriveNotReady:
    case ErrorKind::FileNotFound:
    case ErrorKind::PathNotFound:
    case ErrorKind::DeviceIO:
    case ErrorKind::BadData:
      return prompter.ask(noTestInformationMessage(candidate), kAppTitle, Buttons::YesNo, Icon::None) == Answer::Yes
                 ? Next::AskAnother : Next::End;
    case ErrorKind::WriteProtected:
      return prompter.ask(dataDiskWriteProtectedMessage(), kDataDiskErrorTitle, Buttons::OkCancel, Icon::Critical) ==
                     Answer::Ok
                 ? Next::Retry : Next::Leave;
    default:
      prompter.ask(numberedErrorMessage(e), kAppTitle, Buttons::Ok, Icon::None);
      return Next::Leave;
  }
}

// The candidate must be an existing folder; the default location inside the
// program folder is created when missing, so a fresh installation just starts.
void openLocation(FileSystem& fs, const std::string& candidate, const std::string& defaultLocation) {
  if (candidate.empty()) throw ZvError(ErrorKind::PathNotFound, ENOENT, std::strerror(ENOENT), candidate);
  if (candidate == defaultLocation && !fs.exists(candidate)) fs.makeDirectories(candidate);
  if (!fs.exists(candidate)) throw ZvError(ErrorKind::PathNotFound, ENOENT, std::strerror(ENOENT), candidate);
  if (!fs.isDirectory(candidate)) throw ZvError(ErrorKind::PathNotFound, ENOTDIR, std::strerror(ENOTDIR), candidate);
}

void writeTest(FileSystem& fs, const std::string& location) {
  const std::string probe = joinPath(location, kWriteTestFile);
  try {
    if (fs.exists(probe)) fs.remove(probe);
    fs.writeAt(probe, 0, "test\r\n");
    if (fs.exists(probe)) fs.remove(probe);
  } catch (const ZvError&) {
    // A half-written probe must not stay behind on the user's disk.
    try {
      fs.remove(probe);
    } catch (const ZvError&) {
    }
    throw;
  }
}

}  // namespace

std::string noTestInformationMessage(const std::string& candidate) {
  return "No test information found on drive " + upperAscii(candidate) + ", would you like to try another drive?";
}

std::string dataDiskWriteProtectedMessage() {
  return "Data disk write protected!\r\rSet the data disk to writable and replace in drive.";
}

std::string dataDiskNotFoundMessage() { return "Data disk not found!\r\rInsert data disk in drive A to continue."; }

std::string numberedErrorMessage(const ZvError& e) {
  return "Error " + std::to_string(e.number()) + ":" + e.description();
}

namespace {

enum class Pass { Settled, AskAnother, Left, End };

// Steps 3 to 5 for one candidate.
Pass tryCandidate(SystemState& state, Settings& settings, const std::string& candidate,
                  const std::string& defaultLocation, bool& loaded) {
  loaded = false;
  int step = 3;
  while (step <= 5) {
    try {
      if (step == 3) {
        openLocation(state.fs, candidate, defaultLocation);
        state.dataLocation = candidate;
        LoadOutcome outcome;
        outcome.recordsInFile = -1;  // stays -1 when the load ended on an error
        if (!LoadClientFileWithMessages(state.fs, clientFilePath(candidate), state.clients, state.prompter, &outcome))
          return Pass::End;
        if (outcome.recordsInFile < 0) {
          // The client file could not be read: going on with an empty table
          // would let the next new client overwrite record 1 of that file.
          return state.prompter.ask(noTestInformationMessage(candidate), kAppTitle, Buttons::YesNo, Icon::None) ==
                         Answer::Yes
                     ? Pass::AskAnother : Pass::End;
        }
        loaded = true;
      } else if (step == 4) {
        writeTest(state.fs, candidate);
      } else if (candidate.size() <= Settings::kMaxPathLength) {
        // Only what the 50-character settings buffer gives back can be
        // remembered; a longer path can only be the default location, which
        // a missing FilePath yields anyway.
        settings.writeFilePath(candidate);
      }
      ++step;
    } catch (const ZvError& e) {
      switch (handleLocationError(e, candidate, state.prompter)) {
        case Next::AskAnother: return Pass::AskAnother;
        case Next::Retry: break;
        case Next::Leave: return Pass::Left;
        case Next::End: return Pass::End;
      }
    }
  }
  return Pass::Settled;
}

// The FilePath setting. A missing key yields the default location through
// the same 50-character buffer, which would cut a long program folder's
// default; that cut value can only come from the default, so it is restored.
std::string startUpCandidate(const Settings& settings) {
  const std::string value = settings.readFilePath();
  const std::string def = settings.defaultDataLocation();
  if (def.size() > Settings::kMaxPathLength && value == def.substr(0, Settings::kMaxPathLength)) return def;
  return value;
}

}  // namespace

LocationOutcome SelectDataLocation(SystemState& state, bool atStartUp, const AskDrive& askDrive) {
  Settings settings(state.fs, state.programDir);
  const std::string inForce = state.dataLocation;
  const ClientTable tableInForce = state.clients;
  const std::string defaultLocation = settings.defaultDataLocation();
  bool firstPass = atStartUp;

  for (;;) {
    const std::string candidate =
        firstPass ? startUpCandidate(settings) : askDrive(inForce.empty() ? defaultLocation : inForce);
    firstPass = false;
    bool loaded = false;
    switch (tryCandidate(state, settings, candidate, defaultLocation, loaded)) {
      case Pass::Settled: return LocationOutcome::Settled;
      case Pass::End: return LocationOutcome::EndProgram;
      case Pass::AskAnother: continue;
      case Pass::Left:
        if (!loaded) {
          // Never pair a location with another location's clients: without a
          // load of the candidate the location in force stays with its table.
          // (At start-up there is none; the failing candidate is kept so that
          // later writes report against it instead of landing elsewhere.)
          state.dataLocation = inForce.empty() ? candidate : inForce;
          state.clients = tableInForce;
        }
        return LocationOutcome::Left;
    }
  }
}

bool RunStartUpStep(Prompter& prompter, const std::function<void()>& step) {
  for (;;) {
    try {
      step();
      return true;
    } catch (const ZvError& e) {
      switch (e.kind()) {
        case ErrorKind::FileNotFound:
        case ErrorKind::PathNotFound:
        case ErrorKind::DriveNotReady:
          if (prompter.ask(dataDiskNotFoundMessage(), kDataDiskErrorTitle, Buttons::OkCancel, Icon::Critical) ==
              Answer::Ok)
            continue;
          return false;
        case ErrorKind::WriteProtected:
          if (prompter.ask(dataDiskWriteProtectedMessage(), kDataDiskErrorTitle, Buttons::OkCancel, Icon::Critical) ==
              Answer::Ok)
            continue;
          return false;
        default:
          prompter.ask(numberedErrorMessage(e), kAppTitle, Buttons::Ok, Icon::None);
          return false;
      }
    }
  }
}

}  // namespace zv
