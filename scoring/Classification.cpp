#include "scoring/Classification.h"

#include <initializer_list>

#include "report/ReportWriter.h"
#include "ui/ScreenRules.h"

namespace zv {

const std::array<const char*, 3> kClassificationOmittedLines = {
    "DEPENDENCY/ABUSE CLASSIFICATION: This defendant omitted one or  more  of",
    "the DSM-IV Dependency/Abuse Scale items  (or  their  equivalent  items).",
    "These omissions should be corrected, so that this scale can be scored.",
};

namespace {

class Items {
 public:
  explicit Items(const Scores& s) : s_(s) {}
  int code(int i) const { return s_.ItemCode[static_cast<std::size_t>(i)]; }
  int points(int i) const { return s_.ItemPoints[static_cast<std::size_t>(i)]; }
  bool choice(int i) const { return Between(code(i), 1, 3); }  // answers 1 to 3 of a multiple-choice item
  bool allOmitted(std::initializer_list<int> items) const {
    for (int i : items)
      if (code(i) != 0) return false;
    return true;
  }

 private:
  const Scores& s_;
};

void cutLastTwo(std::string& s) { s.resize(s.size() >= 2 ? s.size() - 2 : 0); }

}  // namespace

Classification DecideSubstanceUse(const Scores& scores) {
  const Items it(scores);
  Classification c;
  const int alcoholArrests = scores.CourtValue[11];
  const int drugArrests = scores.CourtValue[12];
  const int duiArrests = scores.CourtValue[13];
  c.arrest = alcoholArrests >= 2 || drugArrests >= 2 || duiArrests >= 2;
  c.diagnosedBefore = it.code(74) == 1;

  // Dependency criteria.
  auto dependency = [&](std::initializer_list<int> group, bool admitted, bool physiological) {
    if (it.allOmitted(group)) {
      c.dependencyOmitted = true;
      return;
    }
    if (!admitted) return;
    ++c.dependencyCriteria;
    if (physiological) c.physiological = true;
  };
  dependency({66, 145}, it.code(66) == 1 || it.choice(145), true);
  dependency({146, 147}, it.choice(146) || it.choice(147), true);
  dependency({7, 148}, it.code(7) == 1 || it.choice(148), false);
  dependency({155, 149, 158}, it.choice(149) || it.points(155) > 1 || it.points(158) > 1, false);
  dependency({32, 150}, it.code(32) == 1 || it.choice(150), false);
  dependency({53, 152}, it.code(53) == 1 || it.choice(152), false);
  dependency({101, 144}, it.code(101) == 1 || it.choice(144), false);
  c.DependencyMet = c.dependencyCriteria >= 3 ? 1 : 0;

  if (c.DependencyMet == 1) {
    std::string& list = c.dependencyList;
    for (int i = 144; i <= 152; ++i)
      if (i != 151 && it.choice(i)) list += " " + std::to_string(i) + ", ";
    for (int i : {7, 32, 53, 66, 101})
      if (it.code(i) == 1) list += " " + std::to_string(i) + ", ";
    for (int i : {155, 158})
      if (it.points(i) > 0) list += " " + std::to_string(i) + ", ";
    cutLastTwo(list);

    std::string& t = c.toleranceText;
    if (it.code(66) == 1) t = " 66 ";
    if (!t.empty()) t = "(Tolerance: " + t;
    if (it.choice(145)) {
      t = t.empty() ? std::string("(Tolerance: ") : t + ", ";
      t += " 145";
    }
    if (it.choice(146)) {
      t = t.empty() ? std::string("(") : t + ", ";
      t += " Withdrawal: 146";
      if (it.choice(147)) t += ",  147";
    } else if (it.choice(147)) {
      t = t.empty() ? std::string("(") : t + ", ";
      t += " Withdrawal: 147";
    }
    if (!t.empty()) t += ").";
  }

  // Abuse criteria.
  auto abuse = [&](std::initializer_list<int> group, bool admitted) {
    if (it.allOmitted(group)) {
      c.abuseOmitted = true;
      return;
    }
    if (admitted) ++c.AbuseCount;
  };
  abuse({62, 59, 140, 151},
        it.code(151) == 3 || it.code(151) == 1 || it.choice(140) || it.code(62) == 1 || it.code(59) == 1);
  abuse({151, 141}, it.code(151) == 2 || it.choice(141));
  abuse({142}, it.choice(142) || c.arrest);
  abuse({68, 143, 85}, it.code(85) == 1 || it.code(68) == 1 || it.choice(143));

  std::string& abuseList = c.abuseList;
  for (int i : {140, 141, 142, 143, 151})
    if (it.choice(i)) abuseList += std::to_string(i) + ", ";
  for (int i : {59, 62, 68, 85})
    if (it.code(i) == 1) abuseList += " " + std::to_string(i) + ", ";
  if (alcoholArrests >= 2) abuseList += " Alcohol Arrests, ";
  if (drugArrests >= 2) abuseList += " Drug Arrests, ";
  if (duiArrests >= 2) abuseList += " DUIs, ";
  if (!abuseList.empty()) {
    cutLastTwo(abuseList);
    abuseList += ".";
  }

  // Self-ratings: later steps are higher levels, so the last one that applies wins.
  auto rate = [&](int item, int code, int level, const char* text, const char* subject) {
    if (it.code(item) != code) return;
    c.ratingLevel = level;
    (item == 153 ? c.alcoholRating : c.drugRating) = text;
    c.ratingSubject = subject;
  };
  rate(153, 3, 1, "a mild problem", "alcohol");
  rate(157, 3, 1, "a mild problem", "drugs");
  rate(153, 2, 2, "a moderate problem", "alcohol");
  rate(157, 2, 2, "a moderate problem", "drugs");
  rate(153, 1, 3, "a serious problem", "alcohol");
  rate(157, 1, 3, "a serious problem", "drugs");
  if (c.alcoholRating != "a minimum problem" && c.drugRating != "a minimum problem")
    c.ratingSubject = "alcohol and drugs";

  // Elevated substance scales.
  const bool alcohol = scores.scale[2].Percentile >= 70;
  const bool drugs = scores.scale[3].Percentile >= 70;
  if (alcohol && drugs) {
    c.elevatedCount = 2;
    c.scaleWords = "Alcohol and Drugs Scales";
    c.substance = "alcohol and drugs";
  } else if (alcohol) {
    c.elevatedCount = 1;
    c.scaleWords = "Alcohol Scale";
    c.elevatedWord = "Alcohol Scale";
    c.otherWord = "Drugs Scale";
    c.substance = "alcohol";
  } else if (drugs) {
    c.elevatedCount = 1;
    c.scaleWords = "Drugs Scale";
    c.elevatedWord = "Drugs Scale";
    c.otherWord = "Alcohol Scale";
    c.substance = "drugs";
  }
  return c;
}

std::string ClassificationParagraph(const Classification& c) {
  const bool h = c.diagnosedBefore;
  std::string p = "DEPENDENCY/ABUSE CLASSIFICATION: ";

  // a. Dependency.
  if (c.DependencyMet == 1) {
    p += "Three or more of the seven DSM-IV dependency items (or their equivalents) are admitted to, which meets "
         "the 'dependency' criteria as defined here.";
    p += " These admissions include: " + c.dependencyList + ".";
    p += h ? " Moreover, this person reports (item #74) having been diagnosed 'substance dependent' in the past."
           : " This person reports (item #74) that he or she has not been diagnosed 'substance dependent' in the "
             "past.";
    p += c.physiological ? " This is a substance dependence classification with physiological dependence " +
                               c.toleranceText
                         : std::string(" This is a substance dependence classification without physiological "
                                       "dependence.");
  } else {
    p += "Three or more of the seven DSM-IV dependency items (or their equivalents) are not admitted to, "
         "consequently the classification of 'dependency' as defined here does not apply.";
    p += h ? " However, this person reports (item #74) having been diagnosed 'substance dependent' in the past. By "
             "DSM-IV definition, the classification of 'dependency' still applies."
           : " Moreover, this person reports (item #74) that he or she has not been diagnosed 'substance "
             "dependent' in the past.";
  }

  // b. Abuse.
  if (!h && c.DependencyMet == 0) {
    if (c.AbuseCount >= 1) {
      p += " One or more of the substance abuse items (or their equivalents) are admitted to, which meets the "
           "criteria of 'substance abuse' as defined here.";
      p += " These admissions include: " + c.abuseList;
    } else {
      p += " One or more of the substance abuse items (or their equivalents) are not admitted to, consequently "
           "the classification of 'substance abuse' as defined here does not apply.";
    }
  }

  // c. Self-ratings.
  if (Between(c.ratingLevel, 1, 3))
    p += " This client describes their drinking as " + c.alcoholRating + " and their drug use as " + c.drugRating +
         ".";
  else
    p += " This client's self-ratings of their drinking and drug use was 'no problem.'";

  // d. Scales.
  if (c.elevatedCount == 2)
    p += " This individual's Alcohol Scale and Drugs Scale scores are elevated (at or above the 70th percentile) "
         "and represent drinking and drug use risk of further involvement, abuse and/or relapse.";
  else if (c.elevatedCount == 1)
    p += " This person's " + c.elevatedWord +
         " score is elevated (at or above the 70th percentile) whereas their " + c.otherWord +
         " score is not (at or below the 69th percentile) elevated." +
         " This ZV profile is not uncommon in the early stages of substance use, or after relapse.";
  else
    p += " This individual's Alcohol Scale and Drugs Scale scores are at or below the 69th percentile and do not "
         "represent significant substance (alcohol or other drugs) use risk.";

  // e. Summary.
  const std::string scaleWords = c.scaleWords.empty() ? std::string("Alcohol and/or Drugs Scales") : c.scaleWords;
  if (!h && c.DependencyMet == 0 && c.AbuseCount == 0) {
    if (c.elevatedCount > 0)
      p += " Problematic risk of " + c.substance +
           " is present. Although not meeting the DSM-IV criteria for dependence or abuse, this client demonstrates "
           "a substance use risk.";
    else if (c.ratingLevel == 0)
      p += " According to DSM-IV criteria as represented in the ZV, this person does not meet the criteria of "
           "dependency or abuse.";
    else
      p += " According to DSM-IV criteria as represented in the ZV, this person does not meet the criteria of "
           "dependency or abuse. Yet, self-ratings suggest " +
           c.ratingSubject + " concern.";
  } else if (!h && c.DependencyMet == 0 && c.AbuseCount >= 1) {
    p += " In summary, this client meets the DSM-IV substance abuse classification.";
    p += " And within this abuse category their degree of risk is represented by their " + scaleWords + " score.";
  } else if (h && c.DependencyMet == 0) {
    p += " The 'once dependent, always dependent' theory is controversial. Some evaluators prefer considering "
         "Alcohol and Drugs Scale risk (abuse, dependency, relapse) scores.";
  } else if (c.DependencyMet == 1) {
    p += " In summary, this client meets the DSM-IV substance dependency classification.";
    p += " And within this dependent category their degree of risk is represented by their " + scaleWords +
         " score.";
    if (c.ratingLevel == 0) {
      p += " Review this client's Truthfulness Scale score to establish how open and truthful they are about their "
           "substance use.";
      p += " It is not unusual for defendants to minimize their drug usage in court-related settings.";
    }
  }
  if (c.elevatedCount == 2)
    p += " Use of multiple substances simultaneously or sequentially is likely. A detailed history including "
         "review of court records could be helpful.";
  return p;
}

Classification ClassifySubstanceUse(Scores& scores, int mode, ReportWriter* writer) {
  Classification c = DecideSubstanceUse(scores);
  scores.DependencyMet = c.DependencyMet;
  scores.AbuseCount = c.AbuseCount;
  if (mode == 1 || writer == nullptr) return c;
  if (c.dependencyOmitted || c.abuseOmitted) {
    for (const char* line : kClassificationOmittedLines) writer->Body(line);
    writer->BlankLine();
    writer->count(4);
  } else {
    writer->PrintJustified(ClassificationParagraph(c));
  }
  return c;
}

}  // namespace zv
