// zvcheck PROGRAM_FOLDER: checks every installation file of a program folder
// (report tables, paragraph files, ZVINVAL.TXT, ZVFOOT.TXT, the question
// tables of ZV.db) and prints one line per problem, "FILE:LINE: what is
// wrong", then one line per missing sound file of the onscreen test. Exit
// status 0 when the installation is sound, 1 when it has problems, 2 for a
// usage error.
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
         "for ZV.db the row), and one line per missing sound file of the onscreen\n"
         "test. Exits 0 when all is well, 1 when problems were found.\n";
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
  if (const std::size_t count = problems.size() + sounds.size(); count > 0) {
    std::cerr << "zvcheck: " << count << (count == 1 ? " problem" : " problems") << " in " << folder << "\n";
    return 1;
  }
  std::cout << "zvcheck: " << folder << ": installation OK\n";
  return 0;
}
