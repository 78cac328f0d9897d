#include "report/ReportSections.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "records/CodeTables.h"
#include "testing/TestSections.h"
#include "ui/ScreenRules.h"

namespace zv {
namespace {

constexpr int kFull = ReportWriter::kPageFull;

std::string rightAligned3(int n) {
  std::string s = std::to_string(n);
  return s.size() < 3 ? std::string(3 - s.size(), ' ') + s : s;
}

std::string upperTrimmed(const std::string& s) {
  std::string t = trimBlanks(s);
  for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return t;
}

// One ruler of the profile chart; all rows are 41 characters wide.
struct Ruler {
  const char* empty;
  const char* dotted;
  const char* border;
  const char* labels;
  const char* numbers;
};

constexpr Ruler kRulerA = {
    "|               |           |       |   |",
    "|...............|...........|.......|...|",
    "+---------------+-----------+-------+---+",
    "|   LOW RISK    |  MEDIUM   |PROBLEM|MAX|",
    "0               40          70      90 100",
};

constexpr Ruler kRulerB = {
    "|           |         |             |   |",
    "|...........|.........|.............|...|",
    "+-----------+---------+-------------+---+",
    "| LOW RISK  | MEDIUM  |   PROBLEM   |MAX|",
    "0           30        55            90 100",
};

constexpr int kRulerColumn = 38;

void rulerRow(ReportWriter& w, const char* row) {
  w.Spc(kRulerColumn - 1);
  w.Line(row);
}

void scaleRow(ReportContext& ctx, int s, const Ruler& ruler) {
  ReportWriter& w = ctx.w;
  const int p = ctx.percentile(s);
  w.Spc(7);
  w.Text(ctx.tables.ScaleName[static_cast<std::size_t>(s)]);
  w.Tab(p < 10 ? 29 : 28);  // the units digit always lands in column 30
  if (ctx.omitted(s) > 4) {
    w.Text(" **");
    w.Tab(kRulerColumn);
    w.Line("Scale not scored, insufficient answers");
    return;
  }
  w.Integer(p);
  if (ctx.percentile(1) >= 90) w.Text("*");
  w.Tab(kRulerColumn);
  const int n = std::max(0, (p * 10) / 25);
  const std::string dotted = ruler.dotted;
  std::string bar(static_cast<std::size_t>(n + 1), '*');
  if (n < 40) bar += dotted.substr(dotted.size() - static_cast<std::size_t>(40 - n));
  w.Line(bar);
}

struct Area {
  const char* heading;
  int first;
  int last;
};
constexpr std::array<Area, 4> kAreas = {{{"ALCOHOL", 1, 11}, {"DRUGS", 12, 24}, {"ANTISOCIAL", 25, 31}, {"VIOLENCE", 32, 42}}};

void areaHeadings(ReportWriter& w, const Area& left, const Area& right) {
  w.Spc(7);
  w.Text(left.heading);
  w.Tab(44);
  w.Line(right.heading);
  w.Spc(7);
  w.Text(std::string(std::char_traits<char>::length(left.heading), '-'));
  w.Tab(44);
  w.Line(std::string(std::char_traits<char>::length(right.heading), '-'));
}

std::string courtText(const ClientFields& client, int f) {
  std::string v = client.CourtText[static_cast<std::size_t>(f)];
  if (v.size() < 2) v += ' ';
  return upperTrimmed(v) == "N" ? std::string("N/A") : v;
}

}  // namespace

RiskRange riskRangeOf(int scale, int p) {
  if (scale == 2 || scale == 3) {
    if (p <= 29) return {"LOW", "LOW"};
    if (p <= 39) return {"MEDIUM", "MEDIUM-LOW"};
    if (p <= 54) return {"MEDIUM", "MEDIUM-HIGH"};
    if (p <= 72) return {"PROBLEM", "PROBLEM-LOW"};
    if (p <= 89) return {"PROBLEM", "PROBLEM-HIGH"};
    if (p <= 95) return {"SEVERE", "SEVERE"};
    return {"MAXIMUM", "MAXIMUM"};
  }
  if (p <= 39) return {"LOW", "LOW"};
  if (p <= 55) return {"MEDIUM", "MEDIUM-LOW"};
  if (p <= 69) return {"MEDIUM", "MEDIUM-HIGH"};
  if (p <= 89) return {"PROBLEM", "PROBLEM"};
  if (p <= 94) return {"MAXIMUM", "MAXIMUM-LOW"};
  return {"MAXIMUM", "MAXIMUM-HIGH"};
}

void PrintPageFoot(ReportContext& ctx, int mode) {
  const auto& [first, second] = ctx.texts.footLines;
  ReportWriter& w = ctx.w;
  if (mode == 2) {
    while (w.PageLine < 56) {
      w.BlankLine();
      w.count(1);
    }
    w.Body(first);
    w.count(1);
    if (w.PageLine < kFull) {
      w.Tab(10);
      w.Line(second);
      w.count(1);
    }
  } else {
    while (w.PageLine < 57) {
      w.BlankLine();
      w.count(1);
    }
    w.Tab(10);
    w.Line(second);
    w.count(1);
  }
}

void PrintHeader(ReportContext& ctx, int mode) {
  ReportWriter& w = ctx.w;
  const ClientFields& c = ctx.client;
  w.Tab(30);
  w.Line("ZORVEX");
  w.Tab(30);
  w.Line("***********************");
  if (mode == 1) {
    w.BlankLine();
  } else {
    w.Tab(34);
    w.Line("ONE-PAGE SUMMARY");
  }
  w.count(3);
  w.Body("NAME: " + c.Name);
  w.Body("ID# : " + c.IdNumber);
  w.Spc(7);
  w.Text("AGE : " + c.Age + "     SEX: " + CodeTables::gender(c.GenderCode));
  w.Tab(60);
  w.Line("CONFIDENTIAL REPORT");
  w.Body("ETHNICITY/RACE: " + CodeTables::race(c.RaceCode));
  w.Body("EDUCATION/HIGHEST GRADE: " + c.Education);
  w.Body("MARITAL STATUS: " + CodeTables::marital(c.MaritalCode));
  w.Body("DATE OF BIRTH: " + c.DateOfBirth);
  w.Body("DATE SCORED: " + c.DateTested);
  w.count(8);
}

void PrintProfile(ReportContext& ctx, int first, int last) {
  ReportWriter& w = ctx.w;
  w.Line("       MEASURES            %ile                      ZV PROFILE");
  w.Spc(7);
  w.Text("--------");
  w.Spc(12);
  w.Text("----");
  w.Spc(6);
  w.Line(kRulerA.border);
  rulerRow(w, kRulerA.labels);
  for (int s = first; s <= last; ++s) {
    if (s == 2 || s == 3) continue;
    scaleRow(ctx, s, kRulerA);
    rulerRow(w, s == last ? kRulerA.border : kRulerA.empty);
  }
  rulerRow(w, kRulerA.numbers);
  w.Spc(34);
  w.Line("                SUBSTANCE SCALES");
  rulerRow(w, kRulerB.border);
  rulerRow(w, kRulerB.labels);
  scaleRow(ctx, 2, kRulerB);
  rulerRow(w, kRulerB.empty);
  scaleRow(ctx, 3, kRulerB);
  rulerRow(w, kRulerB.border);

  bool tooManyOmitted = false;
  for (int s = first; s <= last; ++s) tooManyOmitted = tooManyOmitted || ctx.omitted(s) > 4;
  const int truth = ctx.percentile(1);
  if (tooManyOmitted) {
    w.Spc(7);
    w.Text("** Too many omitted items");
  } else if (truth >= 90) {
    w.Spc(7);
    w.Text("* Truthfulness Scale score");
  }
  w.Tab(kRulerColumn);
  w.Line(kRulerB.numbers);
  if (tooManyOmitted) {
    w.Spc(7);
    w.Text("   to score this scale");
  } else if (Between(truth, 90, 94)) {
    w.Spc(7);
    w.Text("  is elevated (90+%)");
  } else if (truth >= 95) {
    w.Spc(7);
    w.Text("  is excessively high");
  }
  w.Tab(kRulerColumn);
  w.Line("----------- PERCENTILE SCORES -----------");
  w.BlankLine();
  // The chart counts fewer lines than it writes (19 for the six scales).
  w.count(2 * (last - first) + 9);
}

void PrintClassificationHeading(ReportContext& ctx) {
  ReportWriter& w = ctx.w;
  ctx.classification = ClassifySubstanceUse(ctx.scores, 1);
  const std::string opening = "*** Substance (Dependency/Abuse) Classification: ";
  auto centred = [&w](const std::string& text) {
    w.Tab(42 - static_cast<int>(text.size()) / 2);
    w.Line(text);
  };
  if (ctx.scores.ItemCode[74] == 1 || ctx.scores.DependencyMet == 1) {
    centred(opening + "substance dependent");
    w.count(2);
  } else if (ctx.scores.AbuseCount > 0) {
    centred(opening + "substance abuse");
    w.count(2);
  } else {
    centred("According to DSM-IV criteria as represented in the ZV, this");
    centred(" person does not meet the criteria of dependency or abuse.");
    w.count(3);
  }
  w.BlankLine();
  w.BlankLine();
  w.count(2);
}

void PrintInvalidNote(ReportWriter& w, int mode) {
  w.BlankLine();
  w.Spc(8);
  w.Line(mode == 1 ? "This scale  is inaccurate and  not  scorable  because  the  respondent"
                   : "This Truthfulness Scale is inaccurate because there were an  excessive");
  w.Spc(8);
  w.Line(mode == 1 ? "omitted or skipped an excessive number of items." : "number of True responses in Section 1.");
  w.count(3);
  w.blankLineIfRoom();
}

void PrintScaleParagraph(ReportContext& ctx, int s) {
  ReportWriter& w = ctx.w;
  const int p = ctx.percentile(s);
  const RiskRange rr = riskRangeOf(s, p);
  w.Spc(7);
  w.Text(ctx.tables.ScaleName[static_cast<std::size_t>(s)]);
  w.Text(" SCALE: ");
  w.Text(rr.range);
  w.Text(" RISK RANGE");
  w.Tab(61);
  w.Line("RISK PERCENTILE:" + std::to_string(p));
  w.count(1);

  const std::vector<std::string>& lines = ctx.texts.paragraph(s, rr.subRange);
  const bool substance = s == 2 || s == 3;
  const bool lowButDependent = substance && Between(p, 0, 29) && ctx.scores.DependencyMet == 1;
  const bool highNotDependent = substance && p >= 55 && ctx.scores.DependencyMet == 0;
  if (!lowButDependent && !highNotDependent) {
    for (const std::string& line : lines) {
      w.Body(line);
      w.count(1);
      w.newPageIfFull();
    }
    return;
  }
  std::string text;
  for (const std::string& line : lines) text += line + " ";
  if (lowButDependent)
    text += std::string(" Check if this person is a recovering substance (alcohol and/or drugs) ") +
            "abuser. If Truthfulness Scale score is below the 90th percentile and the " +
            "person is not recovering, then dependence should be explored in interview.";
  else
    text += std::string(" Although this person does not meet the DSM-IV dependency criteria, their ") +
            "scale score indicates that the person does represent a substance use risk.";
  w.PrintJustified(text, false);
}

void PrintScaleParagraphs(ReportContext& ctx) {
  ReportWriter& w = ctx.w;
  w.Spc(8);
  w.Line("* * SUMMARY PARAGRAPHS EXPLAINING CLIENT'S ATTAINED SCALE SCORES * *");
  w.Spc(8);
  w.Line("    ------------------------------------------------------------");
  w.count(2);
  for (int s = 1; s <= 6; ++s) {
    if (ctx.omitted(s) > 4) {
      w.Body(ctx.tables.ScaleName[static_cast<std::size_t>(s)]);
      w.count(1);
      PrintInvalidNote(w, 1);
    } else {
      if (s == 1 && ctx.scores.scale[1].RawScore == 99) {
        w.Body(ctx.tables.ScaleName[1] + " SCALE: " + "MAXIMUM RISK RANGE");
        w.count(1);
        PrintInvalidNote(w, 2);
      } else {
        PrintScaleParagraph(ctx, s);
      }
      if (w.PageLine > 2 && w.PageLine < kFull) {
        w.BlankLine();
        w.count(1);
      }
      if (s == 1) ctx.classification = ClassifySubstanceUse(ctx.scores, 2, &w);
    }
    if (w.PageLine + 2 > kFull) w.NewPage();
  }
}

void PrintInvalidText(ReportContext& ctx) {
  ReportWriter& w = ctx.w;
  for (const std::string& line : ctx.texts.invalidText) {
    w.Body(line);
    w.count(1);
    w.newPageIfFull();
  }
}

void PrintResponses(ReportContext& ctx) {
  ReportWriter& w = ctx.w;
  const int trueFalseEnd = kSectionEnds[1];
  auto answer = [&](int i) {
    const int c = ctx.scores.ItemCode[static_cast<std::size_t>(i)];
    if (i <= trueFalseEnd) return c == 1 ? 'T' : c == 2 ? 'F' : '0';
    return static_cast<char>('0' + c);
  };
  w.Tab(36);
  w.Line("ZV RESPONSES");
  w.Tab(36);
  w.Line("------------");
  for (int start = 1; start <= 101; start += 50) {
    std::string row = rightAligned3(start) + "-" + rightAligned3(start + 49) + "   ";
    for (int i = start; i < start + 50; ++i) {
      row += answer(i);
      if ((i - start + 1) % 10 == 0) row += "  ";
    }
    w.Body(row);
  }
  std::string row = "151-162   ";
  for (int i = 151; i <= 162; ++i) {
    row += answer(i);
    if (i == 160) row += "  ";
  }
  w.Body(row);
  w.count(6);
  w.blankLineIfRoom();
}

void PrintSignificantItems(ReportContext& ctx) {
  ReportWriter& w = ctx.w;
  std::array<std::vector<std::string>, 4> selected;
  for (std::size_t a = 0; a < kAreas.size(); ++a) {
    for (int k = kAreas[a].first; k <= kAreas[a].last; ++k) {
      const int item = ctx.tables.SignificantItems[static_cast<std::size_t>(k)];
      if (item >= 1 && item <= kItemCount && ctx.scores.ItemPoints[static_cast<std::size_t>(item)] > 1)
        selected[a].push_back(ctx.tables.SignificantItemText[static_cast<std::size_t>(k)]);
    }
    if (selected[a].empty()) selected[a] = {"No Significant Items were selected.", "Review the Truthfulness Scale score"};
  }

  if (w.PageLine + 3 > kFull) w.NewPage();
  w.Body("SIGNIFICANT ITEMS: These  answers  are  the  defendant's  self-reported");
  w.Body("responses. And, they represent direct admissions or unusual  responses,");
  w.Body("which may help in understanding the defendant's situation.");
  w.count(3);
  w.blankLineIfRoom();

  for (std::size_t pair = 0; pair < 2; ++pair) {
    const Area& left = kAreas[2 * pair];
    const Area& right = kAreas[2 * pair + 1];
    const auto& l = selected[2 * pair];
    const auto& r = selected[2 * pair + 1];
    areaHeadings(w, left, right);
    w.count(2);
    const std::size_t rows = std::max(l.size(), r.size());
    for (std::size_t row = 0; row < rows; ++row) {
      if (row < l.size()) {
        w.Spc(7);
        w.Text(l[row]);
      }
      if (row < r.size()) {
        w.Tab(44);
        w.Text(r[row]);
      }
      w.EndLine();
      w.count(1);
      if (w.pageFull()) {
        w.NewPage();
        w.Body("SIGNIFICANT ITEMS (continued):");
        w.BlankLine();
        areaHeadings(w, left, right);
        w.count(4);
      }
    }
    if (w.PageLine >= 3 && w.PageLine < kFull) {
      w.BlankLine();
      w.count(1);
    }
  }
}

void PrintChoices(ReportContext& ctx) {
  ReportWriter& w = ctx.w;
  w.Body("MULTIPLE CHOICE (DEFENDANT'S SELF-REPORT):");
  w.Body("------------------------------------------");
  w.count(2);
  const int last = kSectionEnds[3] - kSectionEnds[2];
  for (int k = 1; k <= last; ++k) {
    const int item = kSectionEnds[2] + k;
    const int code = ctx.scores.ItemCode[static_cast<std::size_t>(item)];
    std::string number = std::to_string(item);
    if (number.size() > 3) number = number.substr(number.size() - 3);
    if (code == 0) {
      w.Body(number + ". No response given.");
    } else if (code <= 4) {
      const std::string& text = ctx.tables.ChoiceText[static_cast<std::size_t>(4 * (k - 1) + code)];
      w.Body(text.substr(0, std::min<std::size_t>(text.size(), ReportWriter::kLineWidth)));
    } else {
      // A damaged response string: never read another item's answer texts.
      w.Body(number + ". Answer code " + std::to_string(code) + " is not one of this item's answers.");
    }
    w.count(1);
    w.newPageIfFull();
  }
  w.blankLineIfRoom();
}

void PrintAdditionalInfo(ReportContext& ctx) {
  ReportWriter& w = ctx.w;
  struct Row {
    const char* leftLabel;
    int leftField;
    const char* rightLabel;
    int rightField;
  };
  static constexpr std::array<Row, 7> kRows = {{
      {"Age at first arrest.......... ", 1, "Total number of times arrested... ", 8},
      {"Age at first conviction...... ", 2, "Jail sentences................... ", 9},
      {"Felony arrests............... ", 3, "Prison sentences................. ", 10},
      {"Times on probation........... ", 4, "Alcohol-related arrests.......... ", 11},
      {"Probation revocations........ ", 5, "Drug-related arrests............. ", 12},
      {"Times on parole.............. ", 6, "DUI or DWI arrests............... ", 13},
      {"Parole revocations........... ", 7, "Months employed in last 12 months.", 14},
  }};
  w.Spc(21);
  w.Line("ADDITIONAL INFORMATION PROVIDED BY CLIENT");
  w.Spc(21);
  w.Line("-----------------------------------------");
  w.count(2);
  for (const Row& row : kRows) {
    w.Spc(7);
    w.Text(row.leftLabel);
    w.Text(courtText(ctx.client, row.leftField));
    w.Tab(43);
    w.Text(row.rightLabel);
    w.Line(courtText(ctx.client, row.rightField));
  }
  w.count(7);
  w.blankLineIfRoom();
}

void PrintSignatureBlock(ReportContext& ctx, int testNumberColumn) {
  ReportWriter& w = ctx.w;
  w.Body("RECOMMENDATIONS:_______________________________________________________");
  w.count(1);
  w.BlankLine();
  w.Body(std::string(71, '_'));
  w.count(2);
  w.BlankLine();
  w.Body("______________________        ______________");
  w.count(2);
  w.Spc(7);
  w.Text("STAFF MEMBER SIGNATURE             DATE");
  w.Tab(testNumberColumn);
  w.Text("(ZV TEST #");
  w.Integer(ctx.scores.ReportedClient);
  w.Line(")");
  w.count(1);
  w.blankLineIfRoom();
}

void PrintSummaryPage(ReportContext& ctx) {
  ReportWriter& w = ctx.w;
  w.Line("\x0C");
  w.PageLine = 0;
  PrintHeader(ctx, 2);
  w.Body("Zorvex (ZV) results are confidential and  are  working");
  w.Body("hypotheses. No diagnosis or decision  should be based solely upon these");
  w.Body("results. These test results are to be used in conjunction with  experi-");
  w.Body("enced staff judgment and review of available records.");
  w.BlankLine();
  w.count(5);
  PrintProfile(ctx, 1, 6);
  PrintAdditionalInfo(ctx);
  PrintSignatureBlock(ctx, 62);
  if (w.PageLine < kFull) {
    w.BlankLine();
    w.count(1);
    if (w.PageLine < kFull) PrintPageFoot(ctx, 1);
  }
}

void WriteReport(ReportContext& ctx, bool summaryPage) {
  ReportWriter& w = ctx.w;
  w.PageNumber = 1;
  w.PageLine = 0;
  w.BlankLine();
  w.count(1);
  PrintHeader(ctx, 1);
  w.BlankLine();
  w.count(1);

  if (ctx.percentile(1) >= 95) {
    // An invalid test: no chart, no classification, no paragraphs, no summary.
    PrintInvalidText(ctx);
    PrintResponses(ctx);
    PrintPageFoot(ctx, 2);
    return;
  }

  w.Body("Zorvex (ZV) results are  working hypotheses and are to");
  w.Body("be used in conjunction with an interview, record review and experienced");
  w.Body("staff judgment.  No diagnosis or recommendation  should be based solely");
  w.Body("upon ZV results.");
  w.BlankLine();
  w.BlankLine();
  w.count(6);
  PrintProfile(ctx, 1, 6);
  PrintClassificationHeading(ctx);
  if (w.PageLine + 9 > kFull) w.NewPage();
  PrintAdditionalInfo(ctx);
  PrintPageFoot(ctx, 2);
  if (w.PageLine + 5 > kFull) w.NewPage();
  PrintScaleParagraphs(ctx);

  PrintSignificantItems(ctx);
  PrintChoices(ctx);
  if (w.PageLine + 8 > kFull) w.NewPage();
  PrintSignatureBlock(ctx, 63);
  if (w.PageLine + 6 > kFull) w.NewPage();
  PrintResponses(ctx);
  if (w.PageLine < kFull) {
    w.BlankLine();
    w.count(1);
    if (w.PageLine < kFull) PrintPageFoot(ctx, 2);
  }

  if (summaryPage) PrintSummaryPage(ctx);
}

}  // namespace zv
