#pragma once
// The sections of the report file, each written through the report writer
// with its own page-line count.
#include "report/ReportWriter.h"
#include "report/TextFiles.h"
#include "scoring/Classification.h"
#include "scoring/ReportTables.h"
#include "scoring/Scores.h"
#include "scoring/Scoring.h"

namespace zv {

// Everything one report is composed from; lives for one WriteReport.
struct ReportContext {
  const ReportTables& tables;
  const ReportTexts& texts;
  Scores& scores;
  const ClientFields& client;
  ReportWriter& w;
  Classification classification{};
  int percentile(int s) const { return scores.scale[static_cast<std::size_t>(s)].Percentile; }
  int omitted(int s) const { return scores.scale[static_cast<std::size_t>(s)].OmittedCount; }
};

// Risk range word (printed) and sub-range word (paragraph key) of percentile p on scale s.
struct RiskRange {
  const char* range;
  const char* subRange;
};
RiskRange riskRangeOf(int scale, int percentile);

void PrintPageFoot(ReportContext& ctx, int mode);
void PrintHeader(ReportContext& ctx, int mode);
void PrintProfile(ReportContext& ctx, int first, int last);
void PrintClassificationHeading(ReportContext& ctx);
void PrintScaleParagraph(ReportContext& ctx, int s);
void PrintScaleParagraphs(ReportContext& ctx);
void PrintInvalidNote(ReportWriter& w, int mode);
void PrintInvalidText(ReportContext& ctx);
void PrintResponses(ReportContext& ctx);
void PrintSignificantItems(ReportContext& ctx);
void PrintChoices(ReportContext& ctx);
void PrintAdditionalInfo(ReportContext& ctx);
void PrintSignatureBlock(ReportContext& ctx, int testNumberColumn = 63);
void PrintSummaryPage(ReportContext& ctx);

// The whole report into ctx.w; `summaryPage` appends the one-page summary.
void WriteReport(ReportContext& ctx, bool summaryPage);

}  // namespace zv
