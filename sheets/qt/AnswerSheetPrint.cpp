#include "sheets/qt/AnswerSheetPrint.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include "app/SystemState.h"
#include "report/qt/QtReportPrinter.h"

namespace zv {
namespace {

constexpr double kUnitsPerInch = 100.0;
constexpr double kFrameWidth = 0.8;

const char* const kSheetFonts[] = {"Liberation Sans", "Arial", "Helvetica"};

QColor lightInk() { return QColor(kLightInkRgb[0], kLightInkRgb[1], kLightInkRgb[2]); }

QFont sheetFont(double pt, bool bold) {
  QFont f;
  f.setFamilies({kSheetFonts[0], kSheetFonts[1], kSheetFonts[2]});
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(pt);
  f.setBold(bold);
  return f;
}

// Paints in sheet units (1/100 in) on a device of the given resolution.
class SheetCanvas {
 public:
  SheetCanvas(QPainter& p, double dpi) : p_(p), k_(dpi / kUnitsPerInch) {}

  QRectF rect(double x, double y, double w, double h) const { return {x * k_, y * k_, w * k_, h * k_}; }

  void fill(const QRectF& r, const QColor& c) { p_.fillRect(r, c); }

  void frame(double x, double y, double w, double h) {
    p_.setPen(QPen(Qt::black, kFrameWidth * k_));
    p_.setBrush(Qt::NoBrush);
    const double in = kFrameWidth / 2;
    p_.drawRect(rect(x + in, y + in, w - 2 * in, h - 2 * in));
  }

  // Text kept inside its box: the size shrinks until it fits.
  void text(const QRectF& box, const QString& s, double pt, bool bold, int flags, const QColor& c) {
    QFont f = sheetFont(pt, bold);
    for (int tries = 0; tries < 20; ++tries) {
      const QRectF need = QFontMetricsF(f, p_.device()).boundingRect(box, flags, s);
      if (need.width() <= box.width() + 0.01 && need.height() <= box.height() + 0.01) break;
      f.setPointSizeF(f.pointSizeF() * 0.93);
    }
    p_.setFont(f);
    p_.setPen(c);
    p_.drawText(box, flags, s);
  }

  void bubble(Point at, const QString& label) {
    const QPointF centre((at.x + kBubbleSide / 2.0) * k_, (at.y + kBubbleSide / 2.0) * k_);
    p_.setPen(QPen(lightInk(), kBubbleOutline * k_));
    p_.setBrush(Qt::NoBrush);
    p_.drawEllipse(centre, kBubbleRadius * k_, kBubbleRadius * k_);
    if (label.isEmpty()) return;
    const double side = 2 * (kBubbleRadius - kBubbleOutline);
    const QRectF inside(centre.x() - side / 2 * k_, centre.y() - side / 2 * k_, side * k_, side * k_);
    text(inside, label, label.size() > 2 ? 4.2 : 6.0, false, Qt::AlignCenter, lightInk());
  }

 private:
  QPainter& p_;
  double k_;
};

int textFlags(const std::string& style) {
  int flags = style.find('t') != std::string::npos ? Qt::AlignTop : Qt::AlignVCenter;
  if (style.find('c') != std::string::npos) flags |= Qt::AlignHCenter;
  else if (style.find('r') != std::string::npos) flags |= Qt::AlignRight;
  else flags |= Qt::AlignLeft;
  return flags;
}

}  // namespace

void paintAnswerSheet(QPainter& painter, const SheetDesign& design, double dotsPerInch) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  SheetCanvas canvas(painter, dotsPerInch);
  for (const SheetPrintItem& p : design.print) {
    if (p.kind == "box" || p.kind == "line") canvas.fill(canvas.rect(p.x, p.y, p.w, p.h), Qt::black);
    else if (p.kind == "frame") canvas.frame(p.x, p.y, p.w, p.h);
    else if (p.kind == "text")
      canvas.text(canvas.rect(p.x, p.y, p.w, p.h), QString::fromStdString(p.text), p.pt,
                  p.style.find('b') != std::string::npos, textFlags(p.style), Qt::black);
  }
  const Point anchor = design.anchor();
  for (const ScanItemRow& row : design.layout) {
    const std::vector<std::string> labels = design.labelsOf(row.ID);
    const std::vector<Point> points = bubblePoints(row, 0.0f);
    for (std::size_t i = 0; i < points.size(); ++i)
      canvas.bubble({anchor.x + points[i].x, anchor.y + points[i].y},
                    i < labels.size() ? QString::fromStdString(labels[i]) : QString());
  }
}

namespace {

void paintOrThrow(QPagedPaintDevice& device, const SheetDesign& design, double dpi, const std::string& target) {
  QPainter painter;
  if (!painter.begin(&device))
    throw ZvError(ErrorKind::DeviceIO, 0, "The answer sheet could not be started.", target);
  paintAnswerSheet(painter, design, dpi);
  if (!painter.end()) throw ZvError(ErrorKind::DeviceIO, 0, "The answer sheet could not be finished.", target);
}

}  // namespace

void writeAnswerSheetPdf(const SheetDesign& design, const std::string& path) {
  QPdfWriter pdf(QString::fromStdString(path));
  pdf.setTitle("Zorvex Answer Sheet");
  pdf.setCreator("Zorvex");
  pdf.setResolution(1200);
  pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  paintOrThrow(pdf, design, pdf.resolution(), path);
}

PrintOutcome printAnswerSheet(const SheetDesign& design, const std::string& pdfFolder) {
  BusyPointer busy;
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) {
    const std::string path = joinPath(pdfFolder, "AnswerSheet.pdf");
    writeAnswerSheetPdf(design, path);
    return {path};
  }
  QPrinter printer(info, QPrinter::HighResolution);
  printer.setDocName("AnswerSheet");
  printer.setFullPage(true);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  paintOrThrow(printer, design, printer.resolution(), info.printerName().toStdString());
  if (printer.printerState() == QPrinter::Error)
    throw ZvError(ErrorKind::DeviceIO, 0, "The printer reported an error.", info.printerName().toStdString());
  return {};
}

void runPrintAnswerSheet(SystemState& state, QWidget*) {
  constexpr const char* kTitle = "Print Answer Sheet";
  try {
    const Database db = state.workspace.OpenDatabase(state.questionDbPath());
    const PrintOutcome out = printAnswerSheet(LoadSheetDesign(db), state.programDir);
    if (!out.pdfPath.empty())
      state.prompter.tell("No printer is set up on this computer, so the answer sheet was saved as a PDF file:\r" +
                              out.pdfPath + "\rPrint it at actual size, not fitted to the page.",
                          kTitle, Icon::Information);
  } catch (const ZvError& e) {
    std::string text = "The answer sheet could not be printed.\r" + std::string(e.what());
    if (e.number() != 0) text += "  " + std::to_string(e.number());
    state.prompter.tell(text, kTitle, Icon::Exclamation);
  }
}

}  // namespace zv
