// Printing through Qt into PDF, read back with poppler: one page per piece,
// its words, and the font they are printed in.
#include <gtest/gtest.h>

#include <QPrinterInfo>
#include <QProcess>
#include <iterator>
#include <regex>
#include <sstream>

#include "records/ClientFile.h"
#include "records/Cp1252.h"
#include "report/ReportPrinting.h"
#include "report/ScoreAndReport.h"
#include "report/qt/QtReportPrinter.h"
#include "report/qt/frmViewReport.h"
#include "tests/gui/GuiSupport.h"

using namespace zv;

namespace {

// A three-page report laid out like the writer's (56 lines on the first page,
// a form-feed line and a running head on the next ones), short enough for
// every page to fit A4 or Letter paper at the report's font size.
std::string threePageReport() {
  std::string text;
  for (int p = 1; p <= 3; ++p) {
    if (p > 1) text += "\f\r\n       NAME: Caf\xE9 Owner                   -" + std::to_string(p) + "-" + std::string(20, ' ') + "ZV REPORT\r\n\r\n";
    for (int l = 1; l <= (p == 3 ? 20 : p == 2 ? 50 : 56); ++l)
      text += "       Page " + std::to_string(p) + " line " + std::to_string(l) + "  |...............|..........|\r\n";
  }
  return text.substr(0, text.size() - 1);
}

std::string run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(30000)) return {};
  return p.readAllStandardOutput().toStdString();
}

// Reads the PDF back: as many pages as pieces, each with the piece's words,
// every font Courier New or Liberation Mono; returns the point size of each
// plain word, from its width (every character of these fonts advances 0.6 em).
std::vector<double> expectPdfMatches(const std::string& pdf, const std::vector<std::string>& pages) {
  const std::string info = run("pdfinfo", {QString::fromStdString(pdf)});
  EXPECT_NE(info.find("Pages:"), std::string::npos) << "pdfinfo could not read " << pdf;
  if (info.find("Pages:") == std::string::npos) return {};
  EXPECT_EQ(std::stoi(info.substr(info.find("Pages:") + 6)), static_cast<int>(pages.size())) << info;
  const std::regex font(R"(^([A-Z]{6}\+)?(CourierNew\S*|LiberationMono) )");
  std::istringstream fonts(run("pdffonts", {QString::fromStdString(pdf)}));
  int fontCount = 0;
  for (std::string line; std::getline(fonts, line);)
    if (line.rfind("name", 0) != 0 && line.rfind("---", 0) != 0) {
      ++fontCount;
      EXPECT_TRUE(std::regex_search(line, font)) << line;
    }
  EXPECT_GE(fontCount, 1);
  const std::regex word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
  const std::pair<std::string, std::string> entities[] = {{"&apos;", "'"}, {"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}};
  std::vector<double> sizes;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const QString n = QString::number(p + 1);
    const std::string html = run("pdftotext", {"-bbox", "-f", n, "-l", n, QString::fromStdString(pdf), "-"});
    std::vector<std::tuple<double, double, std::string>> placed;  // top, left, word
    for (auto m = std::sregex_iterator(html.begin(), html.end(), word); m != std::sregex_iterator(); ++m) {
      std::string w = (*m)[4];
      const double left = std::stod((*m)[1]), right = std::stod((*m)[3]);
      if (std::all_of(w.begin(), w.end(), [](char c) { return c > 0 && c != '&'; }))  // plain ASCII
        sizes.push_back((right - left) / (0.6 * static_cast<double>(w.size())));
      for (const auto& [entity, c] : entities)
        for (std::size_t at; (at = w.find(entity)) != std::string::npos;) w.replace(at, entity.size(), c);
      placed.emplace_back(std::stod((*m)[2]), left, w);
    }
    std::sort(placed.begin(), placed.end());  // reading order: line by line, left to right
    std::vector<std::string> printed;
    for (const auto& w : placed) printed.push_back(std::get<2>(w));
    std::istringstream text(cp1252::toUtf8(pages[p]));  // its words, blanks of any length between them
    EXPECT_EQ(printed, (std::vector<std::string>{std::istream_iterator<std::string>(text), {}})) << "page " << p + 1;
  }
  return sizes;
}

}  // namespace

// A made-up report, a one-line one and a client's real report (the Spanish
// name: Windows-1252 letters on every page).
TEST(PdfPrint, EachPieceIsOnePdfPageWithItsTextInCourierNewOf11Point5) {
  zvtest::TempDir dir;
  RealFileSystem fs;
  ClientTable clients;
  LoadClientFile(fs, std::string(ZV_PROGRAM_DIR) + "/samples/DATA401.ZV", clients);
  clients.CurrentRecord = 6;
  ScoreAndReport(fs, clients, {ZV_PROGRAM_DIR, dir.file("report.prn"), true});
  const std::string real = ReadReportFile(fs, dir.file("report.prn"));
  ASSERT_GT(SplitReportPages(real).size(), 1u);
  for (const std::string& report :
       {threePageReport(), std::string("\r\n       ZORVEX\r\n       NAME: Jones\r"), real}) {
    const auto pages = SplitReportPages(report);
    QtReportPrinter::printToPdf(pages, "report", dir.file("report.pdf"));
    const std::vector<double> sizes = expectPdfMatches(dir.file("report.pdf"), pages);
    ASSERT_GE(sizes.size(), 2u);
    for (double size : sizes) EXPECT_NEAR(size, 11.5, 0.05);
  }
  EXPECT_THROW(QtReportPrinter::printToPdf({"x"}, "report", "/nonexistent-folder/deeper/report.pdf"), ZvError);
}

TEST(PdfPrint, ViewerWithoutAPrinterSavesReportPdfBesideTheReportAndSaysWhere) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a printer is set up on this machine";
  zvtest::SupervisorScreens s(1);
  QtReportPrinter printer(s.program.path());
  s.state.printer = &printer;
  frmViewReport view(s.state, printer,
                     [&](const ClientTable&) { zvtest::writeBytes(s.program.file("report.prn"), threePageReport() + "\n"); });
  zvtest::showActive(&view);
  view.cmdPrintReport()->click();
  EXPECT_EQ(zvtest::askedTexts(s.prompter),
            (zvtest::Texts{"No printer is set up on this computer, so the report was saved as a PDF file:\r" + s.program.file("report.pdf")}));
  expectPdfMatches(s.program.file("report.pdf"), SplitReportPages(threePageReport()));
}
