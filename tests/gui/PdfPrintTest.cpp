#include <gtest/gtest.h>

#include <QPrinterInfo>
#include <QProcess>

#include "records/Cp1252.h"
#include "report/ReportPrinting.h"
#include "report/qt/QtReportPrinter.h"
#include "report/qt/frmViewReport.h"
#include "tests/gui/SupervisorGuiSupport.h"

using namespace zv;

namespace {

// A three-page report laid out like the writer's: 58 lines on the first
// page, a form-feed line and a running head on the next ones.
std::string threePageReport() {
  std::string text;
  for (int p = 1; p <= 3; ++p) {
    if (p > 1) text += "\f\r\n       NAME: Caf\xE9 Owner                   -" + std::to_string(p) + "-" + std::string(20, ' ') + "ZV REPORT\r\n\r\n";
    const int lines = p == 3 ? 20 : 56;
    for (int l = 1; l <= lines; ++l)
      text += "       Page " + std::to_string(p) + " line " + std::to_string(l) + "  |...............|..........|\r\n";
  }
  return text;
}

std::string run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(30000)) return {};
  return p.readAllStandardOutput().toStdString();
}

// Words of a text, blanks of any length between them.
std::vector<std::string> words(const std::string& text) {
  std::vector<std::string> out;
  std::string w;
  for (char c : text) {
    if (c == ' ' || c == '\n' || c == '\r' || c == '\f' || c == '\t') {
      if (!w.empty()) out.push_back(w);
      w.clear();
    } else {
      w += c;
    }
  }
  if (!w.empty()) out.push_back(w);
  return out;
}

void expectPdfMatches(const std::string& pdf, const std::vector<std::string>& pages) {
  const std::string info = run("pdfinfo", {QString::fromStdString(pdf)});
  ASSERT_NE(info.find("Pages:"), std::string::npos) << "pdfinfo could not read " << pdf;
  EXPECT_EQ(std::stoi(info.substr(info.find("Pages:") + 6)), static_cast<int>(pages.size())) << info;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const std::string n = std::to_string(p + 1);
    const std::string text = run("pdftotext", {"-layout", "-f", QString::fromStdString(n), "-l",
                                               QString::fromStdString(n), QString::fromStdString(pdf), "-"});
    EXPECT_EQ(words(text), words(cp1252::toUtf8(pages[p]))) << "page " << n;
  }
}

}  // namespace

TEST(PdfPrint, EachPieceIsOnePdfPageWithItsText) {
  zvtest::TempDir dir;
  const std::string text = threePageReport();
  const auto pages = SplitReportPages(text.substr(0, text.size() - 1));
  ASSERT_EQ(pages.size(), 3u);
  QtReportPrinter::printToPdf(pages, "report", dir.file("report.pdf"));
  expectPdfMatches(dir.file("report.pdf"), pages);
}

TEST(PdfPrint, AOnePageReportIsOnePdfPage) {
  zvtest::TempDir dir;
  const auto pages = SplitReportPages("\r\n       ZORVEX\r\n       NAME: Jones\r");
  QtReportPrinter::printToPdf(pages, "temp3", dir.file("temp3.pdf"));
  expectPdfMatches(dir.file("temp3.pdf"), pages);
}

TEST(PdfPrint, UnwritablePdfIsAnError) {
  EXPECT_THROW(QtReportPrinter::printToPdf({"x"}, "report", "/nonexistent-folder/deeper/report.pdf"), ZvError);
}

TEST(PdfPrint, ViewerWithoutAPrinterSavesReportPdfBesideTheReportAndSaysWhere) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a printer is set up on this machine";
  zvtest::SupervisorScreens s(1);
  QtReportPrinter printer(s.dir.path());
  s.state.printer = &printer;
  frmViewReport view(s.state, printer,
                     [&](const ClientTable&) { zvtest::writeBytes(s.dir.file("report.prn"), threePageReport()); });
  zvtest::showActive(&view);
  view.cmdPrintReport()->click();
  ASSERT_EQ(s.prompter.asked.size(), 1u);
  EXPECT_EQ(s.prompter.asked[0].text,
            "No printer is set up on this computer, so the report was saved as a PDF file:\r" + s.dir.file("report.pdf"));
  const std::string text = threePageReport();
  expectPdfMatches(s.dir.file("report.pdf"), SplitReportPages(text.substr(0, text.size() - 1)));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
