#include "testing/qt/frmSelectEntryMethod.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "app/DataLocation.h"
#include "app/SystemState.h"
#include "app/qt/Activities.h"
#include "intake/ClientInfoRules.h"
#include "intake/qt/IntakeChain.h"
#include "records/ClientSlot.h"
#include "sheets/qt/ScanChain.h"
#include "supervisor/qt/frmMyInputBox.h"
#include "testing/qt/MenuFrame.h"
#include "testing/qt/frmPresentQA.h"
#include "testing/qt/frmSelectLanguage.h"

namespace zv {
namespace {

struct Row {
  const char* caption;
  const char* help;
};
constexpr Row kRows[] = {
    {"Administer Test to Client",
     "Onscreen Presentation. Enter client information then present the test on the computer."},
    {"Enter Test Data from Answer Sheet",
     "Paper-Pencil Presentation. Manually enter test information from completed answer sheet."},
    {"Scan Answer Sheet", "Optical Scanner Presentation. Scan completed answer sheet."},
    {"Cancel New Client Entry", "Cancel. Do not enter a new client. Return to Main Menu."},
};

constexpr const char* kNoLanguageTable =
    "The question database holds no English or Spanish table, so the test cannot be presented.";

}  // namespace

frmSelectEntryMethod::frmSelectEntryMethod(SystemState& state, QWidget* parent)
    : Form("Entry Method", parent), state_(state) {
  setObjectName("frmSelectEntryMethod");
  QVBoxLayout* layout = menuFrame(*this, "Select Client Data Entry Method");
  menu_ = new MenuChoices(this, msgPanel());
  for (const Row& r : kRows) addMenuRow(*this, menu_, layout, r.caption, r.help);
  connect(menu_, &MenuChoices::chosen, this, &frmSelectEntryMethod::choose);
  frame()->adjustSize();
  // An empty frame over the menu, shown when the menu is hidden during a run.
  frBlank_ = new QFrame(this);
  frBlank_->setObjectName("frBlank");
  frBlank_->setProperty("overlay", true);
  frBlank_->setFrameStyle(QFrame::Box | QFrame::Plain);
  frBlank_->resize(frame()->size());
  frBlank_->hide();
  frBlank_->lower();
  resize(std::max(frame()->width() + twips(1440), twips(9000)),
         frame()->height() + twips(1000) + msgPanel()->sizeHint().height() + twips(1440));
}

void frmSelectEntryMethod::activate() {
  frBlank_->move(frame()->pos());
  menu_->ResetMenuChoices(3);
  menu_->button(0)->setFocus(Qt::TabFocusReason);
}

void frmSelectEntryMethod::choose(int row) {
  switch (row) {
    case 0:
      administerTest();
      done(QDialog::Accepted);
      return;
    case 2:  // the scan runs its own name prompt, screens and storing
      frame()->hide();
      frBlank_->show();
      runScanAnswerSheet(state_, this);
      ClientSlot(state_.clients).abandon();
      done(QDialog::Accepted);
      return;
    case 1:
      enterFromAnswerSheet();
      done(QDialog::Accepted);
      return;
    default:
      done(QDialog::Rejected);
      return;
  }
}

void frmSelectEntryMethod::enterFromAnswerSheet() {
  ClientSlot slot(state_.clients);
  if (takeClientInformation(state_, this)) takeAnswersOnGrid(state_, this);
  // A registration given up anywhere in the chain leaves no trace.
  slot.abandon();
}

QString frmSelectEntryMethod::chooseLanguage() {
  frmSelectLanguage languages(state_, this);
  int n = 0;
  try {
    n = languages.LanguageCount();
  } catch (const ZvError& e) {
    state_.prompter.ask(numberedErrorMessage(e), kAppTitle, Buttons::Ok, Icon::None);
    return {};
  }
  if (n == 0) {
    state_.prompter.tell(kNoLanguageTable, kAppTitle, Icon::Critical);
    return {};
  }
  if (n < 2) return languages.menu()->button(0)->text();
  state_.Accepted = false;
  languages.exec();
  return state_.Accepted ? languages.language() : QString();
}

void frmSelectEntryMethod::administerTest() {
  ClientSlot slot(state_.clients);
  const QString language = takeClientInformation(state_, this) ? chooseLanguage() : QString();
  if (!language.isEmpty()) {
    frame()->hide();
    frBlank_->show();
    msgPanel()->setText("Press the Enter key to continue.");
    state_.prompter.tell("The test will begin as soon as you press the Enter key.");
    auto outcome = Presentation::Outcome::Open;
    {
      frmPresentQA test(state_, language, this);
      if (test.ready()) test.exec();
      outcome = test.presentation().outcome();
    }
    QApplication::processEvents();
    // A client who finished the test does not get back to the other clients'
    // data: only the supervisor's code leaves, also when the changed client
    // file could not take the answers.
    if (outcome == Presentation::Outcome::Stored || outcome == Presentation::Outcome::Lost)
      while (!AskAccessCode(state_.prompter, this)) {
      }
  } else {
    state_.Accepted = false;  // no test was given
  }
  slot.abandon();
}

void frmSelectEntryMethod::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) return;  // "Cancel New Client Entry" cancels
  Form::keyPressEvent(e);
}

void frmSelectEntryMethod::reject() { choose(3); }

}  // namespace zv
