#include "testing/qt/frmSelectEntryMethod.h"

#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "app/SystemState.h"
#include "app/qt/Activities.h"
#include "intake/ClientInfoRules.h"
#include "intake/qt/frmClientInfo.h"
#include "intake/qt/frmCourtHistory.h"
#include "records/ClientSlot.h"
#include "sheets/qt/ScanChain.h"
#include "sheets/qt/frmNewEntry.h"

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

}  // namespace

frmSelectEntryMethod::frmSelectEntryMethod(SystemState& state, QWidget* parent)
    : Form("Entry Method", parent), state_(state) {
  setObjectName("frmSelectEntryMethod");
  frame()->setObjectName("fraSelectMethod");
  frame()->setFrameStyle(QFrame::Box | QFrame::Plain);
  auto* layout = new QVBoxLayout(frame());
  auto* caption = new QLabel("Select Client Data Entry Method", frame());
  QFont bold = caption->font();
  bold.setBold(true);
  caption->setFont(bold);
  layout->addWidget(caption, 0, Qt::AlignHCenter);
  menu_ = new MenuChoices(this, msgPanel());
  for (const Row& r : kRows) {
    QFrame* panel = menu_->addRow(r.caption, r.help, frame());
    QPushButton* b = menu_->button(menu_->count() - 1);
    b->setMinimumWidth(std::max(b->minimumWidth(), twips(3600)));
    layout->addWidget(panel);
  }
  for (int i = 0; i + 1 < menu_->count(); ++i) setTabOrder(menu_->button(i), menu_->button(i + 1));
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
    case 0:  // the onscreen test comes with its own screens
      state_.prompter.tell(kNotAvailableYet);
      menu_->button(row)->setFocus(Qt::TabFocusReason);
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
  state_.Accepted = false;
  {
    frmClientInfo info(state_, this);
    info.exec();
  }
  if (state_.Accepted) {
    state_.Accepted = false;
    {
      frmCourtHistory court(state_, this);
      court.exec();
    }
    if (state_.Accepted) {
      frmNewEntry grid(state_, this);
      if (grid.ready()) grid.exec();
    }
  }
  // A registration given up anywhere in the chain leaves no trace.
  slot.abandon();
}

void frmSelectEntryMethod::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) return;  // "Cancel New Client Entry" cancels
  Form::keyPressEvent(e);
}

void frmSelectEntryMethod::reject() { choose(3); }

}  // namespace zv
