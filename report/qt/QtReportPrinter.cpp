#include "report/qt/QtReportPrinter.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "records/Cp1252.h"
#include "report/ReportPrinting.h"

namespace zv {

QFont reportFont() {
  QFont f;
  f.setFamilies({"Courier New", "Liberation Mono"});
  f.setStyleHint(QFont::Monospace);
  f.setFixedPitch(true);
  f.setPointSizeF(11.5);
  return f;
}

namespace {

// Draws one piece per page. Page breaks come only from the pieces; a piece
// that would not fit the printable area is scaled down to fit, never cut or
// run on to another page.
void paintPages(QPrinter& printer, const std::vector<std::string>& pages, const std::string& target) {
  QPainter painter;
  if (!painter.begin(&printer))
    throw ZvError(ErrorKind::DeviceIO, 0, "The printer could not start the document.", target);
  const QFont font = reportFont();
  painter.setFont(font);
  const QFontMetricsF fm(font, &printer);
  const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
  for (std::size_t p = 0; p < pages.size(); ++p) {
    if (p > 0 && !printer.newPage()) {
      painter.end();
      throw ZvError(ErrorKind::DeviceIO, 0, "The printer could not start a new page.", target);
    }
    const std::vector<std::string> lines = PageLines(pages[p]);
    QStringList texts;
    qreal widest = 0;
    for (const auto& l : lines) {
      texts << QString::fromStdString(cp1252::toUtf8(l));
      widest = std::max(widest, fm.horizontalAdvance(texts.back()));
    }
    const qreal height = fm.lineSpacing() * static_cast<qreal>(lines.size());
    qreal scale = 1.0;
    if (height > area.height()) scale = std::min(scale, area.height() / height);
    if (widest > area.width()) scale = std::min(scale, area.width() / widest);
    painter.save();
    painter.scale(scale, scale);
    for (int i = 0; i < texts.size(); ++i)
      painter.drawText(QPointF(0, fm.ascent() + fm.lineSpacing() * i), texts[i]);
    painter.restore();
  }
  if (!painter.end() || printer.printerState() == QPrinter::Error)
    throw ZvError(ErrorKind::DeviceIO, 0, "The printer reported an error.", target);
}

}  // namespace

void QtReportPrinter::printToPdf(const std::vector<std::string>& pages, const std::string& documentName,
                                 const std::string& pdfPath) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(pdfPath));
  printer.setDocName(QString::fromStdString(documentName));
  // The unprintable border of a typical printer, so the file prints as the paper would.
  printer.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Point);
  paintPages(printer, pages, pdfPath);
}

PrintOutcome QtReportPrinter::print(const std::vector<std::string>& pages, const std::string& documentName) {
  BusyPointer busy;
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) {
    const std::string pdfPath = joinPath(pdfFolder_, documentName + ".pdf");
    printToPdf(pages, documentName, pdfPath);
    return {pdfPath};
  }
  QPrinter printer(info, QPrinter::HighResolution);
  printer.setDocName(QString::fromStdString(documentName));
  paintPages(printer, pages, info.printerName().toStdString());
  return {};
}

BusyPointer::BusyPointer() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QApplication::processEvents();
}

BusyPointer::~BusyPointer() { QApplication::restoreOverrideCursor(); }

Answer IdlePointerPrompter::ask(const std::string& text, const std::string& title, Buttons buttons, Icon icon) {
  int levels = 0;
  while (QApplication::overrideCursor()) {
    QApplication::restoreOverrideCursor();
    ++levels;
  }
  const Answer a = inner_.ask(text, title, buttons, icon);
  for (int i = 0; i < levels; ++i) QApplication::setOverrideCursor(Qt::WaitCursor);
  return a;
}

}  // namespace zv
