#pragma once
// Scoring one client: the record's working fields, the six raw scores and
// their percentiles. Every value is rebuilt for each report.
#include <array>
#include <string>
#include <string_view>

#include "records/ClientTable.h"
#include "scoring/ReportTables.h"
#include "scoring/Scores.h"
#include "testing/TestSections.h"

namespace zv {

struct ScoringConstants {
  int ScaleCount = 0;
  int CourtFieldCount = 0;
  // Answer codes keyed per key section 1..4 (code 0 is keyed as well).
  std::array<int, 5> KeyedAnswers{};
};

ScoringConstants SetScoringConstants();

// The working fields of the reported client, as the report prints them
// (Windows-1252 bytes, each at its record field's full width unless "N/A"; control
// characters read as blanks, and the court values are taken from those texts).
struct ClientFields {
  std::string Name;         // 25
  std::string IdNumber;     // 10, or "N/A"
  std::string Age;          // 3, or "N/A"
  std::string Education;    // 2, or "N/A"
  std::string DateOfBirth;  // 10, or "N/A"
  std::string DateTested;   // 10
  int GenderCode = 0;       // numeric value of the one-digit codes
  int RaceCode = 0;
  int MaritalCode = 0;
  std::array<std::string, kCourtFieldCount + 1> CourtText;  // 1..14, 2 characters as stored
  int ReportedClient = 0;
};

// The numeric value of a field: leading blanks skipped, an optional sign,
// then the leading digits ("01" is 1, "7 " is 7, "N" or blank is 0).
int fieldNumber(std::string_view text);

// Norm groups: gender 1..2 and race 1..3; every other code is normed as group 1.
int genderGroup(int genderCode);
int raceGroup(int raceCode);

// Copies slot clients.CurrentRecord into the working fields and fills
// scores.ItemCode, scores.CourtValue and scores.ReportedClient.
ClientFields DecodeClient(const ClientTable& clients, Scores& scores);

// Key section (1..4) of an item and its position in that section's keys.
struct KeyPosition {
  int section;
  int position;
};
KeyPosition keyPositionOf(int item, const SectionEnds& ends = kSectionEnds);

// Raw scores, omitted and scored-item counts, item points, the stress ratio
// and the court-history points. Throws ZvError(BadData) when a keyed item
// holds an answer code its key section cannot key (above 4).
void ComputeRawScores(const ScoringConstants& constants, const ReportTables& tables, Scores& scores,
                      const SectionEnds& ends = kSectionEnds);

// Percentiles of scales 1..6 for norm group (gender, race), including the
// truthfulness correction, the ceilings and the floors.
void ComputePercentiles(const ReportTables& tables, int gender, int race, Scores& scores);

// The points one court-history field earns (exposed for tests).
struct CourtPoints {
  std::array<int, 7> scale{};  // points added to scales 1..6
  int courtTotal = 0;          // points added to CourtTotal
};
CourtPoints courtPointsOf(int field, int value);

}  // namespace zv
