#pragma once
// Proof that the installation checker and the report agree. The report files
// of an installation are changed one mutation at a time (deleted, duplicated
// or swapped lines, changed digits, inserted or deleted bytes; a fixed seed
// gives the same mutants every time), and for every mutant:
// - the checker finds a fault exactly when no report of any client can be
//   produced (each refused with the checker's first fault), and every report
//   can be produced otherwise;
// - no produced report holds a control byte other than its line ends and the
//   form-feed lines between pages.
#include <cstdint>
#include <string>
#include <vector>

namespace zv {

struct AgreementRun {
  int mutants = 0;
  int refused = 0;   // mutants both the checker and the report refused
  int produced = 0;  // mutants both accepted
  std::vector<std::string> disagreements;  // one line per mutant breaking the rule
};

// Copies the installation of `programDir` into `workDir` (an empty folder)
// and runs `count` mutants, reporting every client of `clientFile`.
AgreementRun RunCheckerAgreement(const std::string& programDir, const std::string& clientFile,
                                 const std::string& workDir, std::uint32_t seed, int count);

}  // namespace zv
