#include "sheets/qt/ScanChain.h"

#include <QApplication>
#include <QFileDialog>
#include <memory>

#include "app/Settings.h"
#include "app/SystemState.h"
#include "intake/qt/IntakeChain.h"
#include "sheets/SaneScanner.h"
#include "sheets/ScanFlow.h"
#include "sheets/qt/ScannedImage.h"
#include "sheets/qt/frmScanProgress.h"
#include "supervisor/qt/frmMyInputBox.h"
#include "ui/qt/ScreenKit.h"

namespace zv {
namespace {

// The busy pointer from the acquisition on; the normal one comes back
// before anything is said to the operator, whichever way the flow leaves.
class BusyPointer {
 public:
  BusyPointer() { MouseWait(); }
  ~BusyPointer() { end(); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
  void end() {
    if (on_) MouseDefault();
    on_ = false;
  }

 private:
  bool on_ = true;
};

// The source zv.ini names; none when the operator cancelled the file chooser.
std::unique_ptr<PageSource> chosenSource(SystemState& state, QWidget* parent, const ScanServices& services) {
  if (services.source) return services.source();
  ScanFileChooser& chooser = services.chooser;
  const Settings settings(state.fs, state.programDir);
  const std::string device = settings.readScanDevice();
  if (!isImageFileDevice(device)) return std::make_unique<SanePageSource>(device, settings.readScanOptions());
  const std::optional<std::string> file = chooser.choose(parent);
  if (!file) return nullptr;
  return std::make_unique<ImageFileSource>(QString::fromStdString(*file));
}

// Steps to the fields: false when the flow ends with what it has told the operator.
bool readSheet(SystemState& state, QWidget* parent, const ScanServices& services, SheetFields& fields) {
  std::unique_ptr<PageSource> source = chosenSource(state, parent, services);
  if (!source) return false;
  BusyPointer busy;
  AcquireProgress quick;
  const Acquisition a = source->slow() ? acquireWithProgress(*source, parent) : source->acquire(quick);
  const auto tell = [&](const std::string& text, const char* title, Icon icon) {
    busy.end();
    state.prompter.ask(text, title, Buttons::Ok, icon);
  };
  if (a.error) {
    tell(scanErrorMessage(a.error), kScanErrorTitle, Icon::None);
    return false;
  }
  ScannedPage page;
  try {
    page = ReadScannedPage(state.fs, state.programDir, state.workspace, state.questionDbPath(), a.page.buffer(),
                           [] { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
  } catch (const ZvError& e) {
    tell(e.description() + "  " + std::to_string(e.number()), kAppTitle, Icon::None);
    return false;
  }
  if (page.error) {
    tell(scanErrorMessage(page.error), kScanErrorTitle, Icon::None);
    return false;
  }
  if (page.reading.outcome != SheetOutcome::Read) {
    tell(abortScanText(page.reading.outcome), kSheetErrorTitle, Icon::Critical);
    return false;
  }
  fields = std::move(page.reading.fields);
  if (const auto notice = multipleMarkNotice(fields.MultipleMarks)) tell(notice->text, notice->title.c_str(), Icon::None);
  return true;
}

}  // namespace

std::optional<std::string> QtScanFileChooser::choose(QWidget* parent) {
  const QString file = QFileDialog::getOpenFileName(
      parent, "Open Scanned Answer Sheet", QString(),
      "Scanned answer sheets (*.png *.jpg *.jpeg *.tif *.tiff *.bmp *.pgm *.ppm *.pnm);;All files (*)");
  if (file.isEmpty()) return std::nullopt;
  return file.toStdString();
}

void runScanAnswerSheet(SystemState& state, QWidget* parent) {
  QtInputPrompt input(state.prompter, parent);
  QtScanFileChooser chooser;
  runScanAnswerSheet(state, parent, {input, chooser});
}

void runScanAnswerSheet(SystemState& state, QWidget* parent, const ScanServices& services) {
  const InputReply name = services.input.ask(clientNameRequest());
  if (name.cancelled) return;
  if (state.prompter.ask(insertSheetText(name.value), kScanTitle, Buttons::OkCancel, Icon::None) != Answer::Ok) return;
  SheetFields fields;
  if (!readSheet(state, parent, services, fields)) return;

  // The new client's screens, each filled from the sheet for review; the
  // client is stored only by SAVE on the answer grid.
  state.ScannedAnswers = true;
  const IntakeValues read{scannedClientInfo(name.value, fields), scannedCourtHistory(fields)};
  if (takeClientInformation(state, parent, &read)) {
    state.clients.current().setRaw(Field::Responses, fields.Responses);
    takeAnswersOnGrid(state, parent);
  }
  state.ScannedAnswers = false;
}

}  // namespace zv
