#pragma once
// The DSM-IV dependency/abuse classification of a scored client and its
// report paragraph.
#include <array>
#include <string>

#include "scoring/Scores.h"

namespace zv {

class ReportWriter;

struct Classification {
  int DependencyMet = 0;        // 1 when three or more of the seven dependency criteria are admitted
  int AbuseCount = 0;           // abuse criteria admitted (0..4)
  int dependencyCriteria = 0;   // dependency criteria admitted (0..7)
  bool physiological = false;   // criterion 1 or 2 admitted
  bool dependencyOmitted = false;
  bool abuseOmitted = false;
  bool arrest = false;          // two or more alcohol, drug or DUI arrests
  bool diagnosedBefore = false; // item 74 answered 1
  std::string dependencyList;   // built only when DependencyMet
  std::string toleranceText;    // "(Tolerance: ...)." built only when DependencyMet
  std::string abuseList;
  std::string alcoholRating = "a minimum problem";
  std::string drugRating = "a minimum problem";
  int ratingLevel = 0;          // 0..3
  std::string ratingSubject;
  int elevatedCount = 0;        // Alcohol and Drugs scales at or above 70
  std::string scaleWords;
  std::string elevatedWord;
  std::string otherWord;
  std::string substance;
};

// The decision and every text of the paragraph, from item codes, item
// points, the substance percentiles and the arrest counts.
Classification DecideSubstanceUse(const Scores& scores);

// The paragraph "DEPENDENCY/ABUSE CLASSIFICATION: ..." for a client without
// omitted criterion items.
std::string ClassificationParagraph(const Classification& c);

// The three lines that replace the paragraph when criterion items are omitted.
extern const std::array<const char*, 3> kClassificationOmittedLines;

// Mode 1 decides only; any other mode decides and prints the paragraph into
// `writer` at its current line. Sets scores.DependencyMet and scores.AbuseCount.
Classification ClassifySubstanceUse(Scores& scores, int mode, ReportWriter* writer = nullptr);

}  // namespace zv
