#include "intake/qt/frmCourtHistory.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/SystemState.h"
#include "records/Cp1252.h"
#include "ui/qt/ScreenKit.h"

namespace zv {
namespace {

constexpr const char* kControlNames[kCourtFieldCount] = {
    "txtFirstArrest",   "txtFirstConviction", "txtFelonyArrests", "txtTimesProbation", "txtProbationRevocation",
    "txtTimesParole",   "txtParoleRevocation", "txtTimeArrest",   "txtTimesJail",      "txtTimesPrison",
    "txtAlcoholArrests", "txtDrugArrests",     "txtDUIArrests",   "txtPercentEmployed"};

}  // namespace

frmCourtHistory::frmCourtHistory(SystemState& state, QWidget* parent)
    : Form("Court History", parent), state_(state) {
  setObjectName("frmCourtHistory");
  frame()->setObjectName("frCourt");
  frame()->setFrameStyle(QFrame::Box | QFrame::Plain);
  auto* outer = new QVBoxLayout(frame());
  lblClientName_ = new QLabel(frame());
  lblClientName_->setObjectName("lblClientName");
  lblClientName_->setTextFormat(Qt::PlainText);
  QFont nameFont = lblClientName_->font();
  nameFont.setBold(true);
  lblClientName_->setFont(nameFont);
  lblClientName_->setMinimumWidth(boldLabelWidthFor(lblClientName_, 25));
  outer->addWidget(lblClientName_, 0, Qt::AlignHCenter);
  auto* grid = new QGridLayout;
  outer->addLayout(grid);
  for (int i = 0; i < kCourtFieldCount; ++i) {
    auto* l = new QLabel(courtLabel(i), frame());
    l->setObjectName(QString("lblCourtInfo%1").arg(i));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    reserveBoldWidth(l);
    auto* e = new QLineEdit(frame());
    e->setObjectName(kControlNames[i]);
    e->setMaxLength(courtMaxLength(i));
    e->setFixedWidth(twips(700));
    e->installEventFilter(this);
    labels_[static_cast<std::size_t>(i)] = l;
    fields_[static_cast<std::size_t>(i)] = e;
    grid->addWidget(l, i, 0);
    grid->addWidget(e, i, 1, Qt::AlignLeft);
  }
  menu_ = new MenuChoices(this, msgPanel());
  auto* buttons = new QHBoxLayout;
  const char* captions[] = {"Information OK", "Cancel Input"};
  const char* helps[] = {kCourtAcceptHelp, kCourtCancelHelp};
  for (int i = 0; i < 2; ++i) {
    buttons->addWidget(menu_->addRow(captions[i], helps[i], frame()));
  }
  outer->addSpacing(twips(120));
  outer->addLayout(buttons);
  connect(menu_, &MenuChoices::chosen, this, [this](int i) { i == 0 ? acceptInformation() : cancelInput(); });
  for (int i = 0; i + 1 < kCourtFieldCount; ++i) setTabOrder(field(i), field(i + 1));
  setTabOrder(field(kCourtFieldCount - 1), menu_->button(0));
  setTabOrder(menu_->button(0), menu_->button(1));

  // Leaves at once: nothing stored, the accepted flag untouched.
  auto* leave = new QShortcut(QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_F10), this);
  leave->setContext(Qt::WindowShortcut);
  connect(leave, &QShortcut::activated, this, [this] { done(QDialog::Rejected); });

  if (state_.clients.EditMode && state_.clients.CurrentRecord >= 1 && state_.clients.CurrentRecord <= kMaxClients)
    setValues(GetCourtData(state_.clients.current()));

  frame()->adjustSize();
  resize(std::max(frame()->width() + twips(1440), twips(8400)),
         frame()->height() + twips(1000) + msgPanel()->sizeHint().height() + twips(720));
}

void frmCourtHistory::activate() {
  menu_->ResetMenuChoices(1);
  const ClientTable& t = state_.clients;
  if (t.CurrentRecord >= 0 && t.CurrentRecord <= kMaxClients)
    lblClientName_->setText(QString::fromStdString(t.current().text(Field::Name)));
  if (t.EditMode || state_.ScannedAnswers) menu_->button(0)->setFocus(Qt::TabFocusReason);
  else field(0)->setFocus(Qt::TabFocusReason);
}

CourtValues frmCourtHistory::values() const {
  CourtValues v;
  for (int i = 0; i < kCourtFieldCount; ++i) v[static_cast<std::size_t>(i)] = field(i)->text().toStdString();
  return v;
}

void frmCourtHistory::setValues(const CourtValues& v) {
  for (int i = 0; i < kCourtFieldCount; ++i) field(i)->setText(QString::fromStdString(v[static_cast<std::size_t>(i)]));
}

int frmCourtHistory::fieldIndex(QObject* o) const {
  for (int i = 0; i < kCourtFieldCount; ++i)
    if (fields_[static_cast<std::size_t>(i)] == o) return i;
  return -1;
}

bool frmCourtHistory::eventFilter(QObject* watched, QEvent* event) {
  const int i = fieldIndex(watched);
  if (i < 0) return Form::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::FocusIn:
      setBold(label(i), true);
      msgPanel()->setText(courtHelp(i));
      selectOnFocus(field(i), static_cast<QFocusEvent*>(event)->reason());
      break;
    case QEvent::FocusOut:
      setBold(label(i), false);
      break;
    case QEvent::KeyPress: {
      auto* k = static_cast<QKeyEvent*>(event);
      const bool tab = k->key() == Qt::Key_Tab && !(k->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
      if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || tab) {
        if (enterRule(i)) {
          if (i + 1 < kCourtFieldCount) field(i + 1)->setFocus(Qt::TabFocusReason);
          else menu_->button(0)->setFocus(Qt::TabFocusReason);
        }
        return true;
      }
      // The client file holds Windows-1252 only; no character is stored as another.
      for (char32_t c : k->text().toUcs4())
        if (c >= 0x20 && !cp1252::representable(c)) {
          state_.prompter.beep();
          return true;
        }
      break;
    }
    default:
      break;
  }
  return Form::eventFilter(watched, event);
}

bool frmCourtHistory::enterRule(int i) {
  QLineEdit* e = field(i);
  const CourtEnterResult r = courtEnterRule(i, e->text().toStdString());
  e->setText(QString::fromStdString(r.text));
  if (r.accepted) return true;
  state_.prompter.beep();
  state_.prompter.ask(courtErrorMessage(i), kCourtErrorTitle, Buttons::Ok, Icon::Critical);
  e->setFocus(Qt::TabFocusReason);
  return false;
}

void frmCourtHistory::acceptInformation() {
  const int empty = firstEmptyCourtField(values());
  if (empty >= 0) {
    enterRule(empty);
    field(empty)->setFocus(Qt::TabFocusReason);
    return;
  }
  ClientTable& t = state_.clients;
  if (t.CurrentRecord >= 1 && t.CurrentRecord <= kMaxClients) SaveCourtData(t.current(), values());
  state_.Accepted = true;
  done(QDialog::Accepted);
}

// The chain that opened the screen gives up its client through the slot owner.
void frmCourtHistory::cancelInput() {
  state_.Accepted = false;
  done(QDialog::Rejected);
}

void frmCourtHistory::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) return;  // only "Cancel Input" cancels
  Form::keyPressEvent(e);
}

void frmCourtHistory::reject() { cancelInput(); }

}  // namespace zv
