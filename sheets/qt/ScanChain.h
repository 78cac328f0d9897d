#pragma once
// Registering a client from a scanned answer sheet, in one pass: the client's
// name, the sheet into the scanner (or an image file chosen), the page read,
// then client information, court history and the answer grid, each filled
// with what the sheet says, for review before SAVE stores the client.
// Runs inside the Add New Client chain, which has begun the new client and
// gives it up again unless SAVE stored it.
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QWidget;

namespace zv {

struct SystemState;
class InputPrompt;
class PageSource;

// The image file of a scanned page, chosen by the operator; none when the
// choice was cancelled.
class ScanFileChooser {
 public:
  virtual ~ScanFileChooser() = default;
  virtual std::optional<std::string> choose(QWidget* parent) = 0;
};

// "Open Scanned Answer Sheet": PNG, JPEG, TIFF, BMP, PGM/PPM.
class QtScanFileChooser : public ScanFileChooser {
 public:
  std::optional<std::string> choose(QWidget* parent) override;
};

struct ScanServices {
  InputPrompt& input;
  ScanFileChooser& chooser;
  // Where pages come from; empty: as zv.ini says.
  std::function<std::unique_ptr<PageSource>()> source = {};
};

// With the screens' own name prompt and file chooser.
void runScanAnswerSheet(SystemState& state, QWidget* parent);
void runScanAnswerSheet(SystemState& state, QWidget* parent, const ScanServices& services);

}  // namespace zv
