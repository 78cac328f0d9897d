// zvcheck PROGRAM_FOLDER: checks every installation file of a program folder
// (report tables, paragraph files, ZVINVAL.TXT, ZVFOOT.TXT, the question
// tables of ZV.db) and prints one line per problem, "FILE:LINE: what is
// wrong", or "FILE:LINE: warning: ..." for what the report prints all the
// same, then one line per missing sound file of the onscreen test. Exit
// status 0 when there is no fault (warnings allowed), 1 when there are
// faults, 2 for a usage error.
#include <algorithm>
#include <cstring>
#include <iostream>

#include "records/FileSystem.h"
#include "scoring/InstallationCheck.h"
#include "testing/SoundCheck.h"

namespace {

void usage(std::ostream& out) {
  out << "usage: zvcheck PROGRAM_FOLDER\n"
         "Checks the installation files of a Zorvex program folder against their\n"
         "layouts and bounds: ZVRPT.TXT, ZVB.TXT, the six scale paragraph files,\n"
         "ZVINVAL.TXT, ZVFOOT.TXT and the question tables of ZV.db. Prints one line\n"
         "per problem as FILE:LINE: what is wrong (LINE 0: the file as a whole;\n"
         "for ZV.db the row). A fault in a report file stops every report, with the\n"
         "first such line as its message; a warning (FILE:LINE: warning: ...) does\n"
         "not. Then one line per sound file of the onscreen test that is missing.\n"
         "Exits 0 when no fault was found, 1 when faults were found.\n";
}

std::string count(std::size_t n, const char* what) {
  return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    usage(std::cout);
    return 0;
  }
  if (argc != 2 || argv[1][0] == '-') {
    usage(std::cerr);
    return 2;
  }
  zv::RealFileSystem fs;
  const std::string folder = argv[1];
  if (!fs.isDirectory(folder)) {
    std::cerr << "zvcheck: " << folder << " is not a folder\n";
    return 2;
  }
  const auto problems = zv::CheckInstallation(fs, folder);
  for (const auto& p : problems) std::cout << p.text() << "\n";
  const auto sounds = zv::CheckSounds(fs, folder);
  for (const auto& s : sounds) std::cout << s.text() << "\n";
  const auto isFault = [](const zv::DataProblem& p) { return !p.warning; };
  const auto faults =
      static_cast<std::size_t>(std::count_if(problems.begin(), problems.end(), isFault)) + sounds.size();
  const std::size_t warningCount = problems.size() + sounds.size() - faults;
  const std::string warnings = warningCount == 0 ? "" : ", " + count(warningCount, "warning");
  if (faults == 0) {
    std::cout << "zvcheck: " << folder << ": installation OK" << (warnings.empty() ? "" : " (" + warnings.substr(2) + ")")
              << "\n";
    return 0;
  }
  const bool reportsBlocked = std::any_of(problems.begin(), problems.end(),
                                          [&](const zv::DataProblem& p) { return isFault(p) && p.file != "ZV.db"; });
  std::cerr << "zvcheck: " << count(faults, "fault") << warnings << " in " << folder
            << (reportsBlocked ? ": no report can be produced\n"
                               : ": reports can be produced, the question database or the sounds need mending\n");
  return 1;
}
