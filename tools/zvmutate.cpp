// zvmutate PROGRAM_FOLDER [--count N] [--seed N] [--clients FILE]: mutates
// the report files of an installation N times, one change per mutant, and
// checks for each that zvcheck finds a fault exactly when no report can be
// produced, and that no control byte reaches a report. Prints every
// disagreement and a summary; exit 0 when there is none, 1 otherwise, 2 for
// a usage error.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "records/FileSystem.h"
#include "report/CheckerAgreement.h"

namespace {

int usage() {
  std::cerr << "usage: zvmutate PROGRAM_FOLDER [--count N] [--seed N] [--clients DATA401.ZV]\n"
               "Mutates the report files of a copy of the installation N times (default\n"
               "1000, seed 1) and checks that zvcheck and the report agree on every mutant\n"
               "for every client (default: PROGRAM_FOLDER/samples/DATA401.ZV).\n";
  return 2;
}

bool number(const char* text, long& value) {
  char* end = nullptr;
  value = std::strtol(text, &end, 10);
  return *text && !*end && value >= 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argv[1][0] == '-') return usage();
  const std::string program = argv[1];
  std::string clients = zv::joinPath(program, "samples/DATA401.ZV");
  long count = 1000, seed = 1;
  for (int i = 2; i < argc; i += 2) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return usage();
    if (arg == "--clients") clients = argv[i + 1];
    else if (!((arg == "--count" && number(argv[i + 1], count)) || (arg == "--seed" && number(argv[i + 1], seed))))
      return usage();
  }
  std::string work = (std::filesystem::temp_directory_path() / "zvmutate-XXXXXX").string();
  if (!::mkdtemp(work.data())) {
    std::cerr << "zvmutate: cannot create a work folder\n";
    return 1;
  }
  int status = 0;
  try {
    const zv::AgreementRun run =
        zv::RunCheckerAgreement(program, clients, work, static_cast<std::uint32_t>(seed), static_cast<int>(count));
    for (const auto& d : run.disagreements) std::cout << d << "\n";
    std::cout << "zvmutate: " << run.mutants << " mutants (seed " << seed << "): " << run.refused
              << " refused by both, " << run.produced << " accepted by both, " << run.disagreements.size()
              << " disagreements\n";
    status = run.disagreements.empty() ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "zvmutate: " << e.what() << "\n";
    status = 1;
  }
  std::filesystem::remove_all(work);
  return status;
}
