#pragma once
// The printed answer sheet: drawn from the sheet design of the question
// database (bubbles from ScanItem, everything else from SheetPrint), always
// at actual size on letter paper, since the reading counts in 1/100 in.
#include <string>

#include "report/Printer.h"
#include "sheets/SheetLayout.h"

class QPaintDevice;
class QPainter;
class QWidget;

namespace zv {

struct SystemState;

// Bubble outlines and letters: a light blue that a scan thresholds to white,
// printed in colour or in grey, also under a rubbed-out pencil mark. The
// outline is a thin line (sheet units, 1/100 in) for the same reason.
inline constexpr int kLightInkRgb[3] = {190, 215, 250};
inline constexpr double kBubbleRadius = 7.0;  // the printed circle, inside its 15-pixel window
inline constexpr double kBubbleOutline = 0.7;

// Draws the sheet with the paper's top left corner at the painter's origin;
// `dotsPerInch` is the device's resolution.
void paintAnswerSheet(QPainter& painter, const SheetDesign& design, double dotsPerInch);

// A one-page letter PDF without margins. Throws ZvError when it cannot be written.
void writeAnswerSheetPdf(const SheetDesign& design, const std::string& path);

// On the default printer, full page at actual size; with no printer set up,
// the PDF file "AnswerSheet.pdf" in `pdfFolder`. Throws ZvError.
PrintOutcome printAnswerSheet(const SheetDesign& design, const std::string& pdfFolder);

// The main menu's "Print Answer Sheet": the design from the question
// database, printed, and the user told where a PDF went or what failed.
void runPrintAnswerSheet(SystemState& state, QWidget* parent);

}  // namespace zv
