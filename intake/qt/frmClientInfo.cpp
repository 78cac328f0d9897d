#include "intake/qt/frmClientInfo.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/SystemState.h"
#include "intake/FieldText.h"
#include "records/Cp1252.h"
#include "ui/qt/ScreenKit.h"

namespace zv {
namespace {

constexpr const char* kControlNames[kInfoFieldCount] = {"txtName",  "txtSSN",   "txtAge",       "cmbMarital",
                                                        "cmbRace",  "cmbGender", "txtEducation", "txtDateOfBirth"};

bool representable(const QString& s) {
  for (char32_t c : s.toUcs4())
    if (!cp1252::representable(c)) return false;
  return true;
}

QString onlyRepresentable(const QString& s) {
  QString out;
  for (char32_t c : s.toUcs4())
    if (cp1252::representable(c)) out += QString::fromUcs4(&c, 1);
  return out;
}

bool isEnterOrTab(const QKeyEvent* k) {
  return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter ||
         (k->key() == Qt::Key_Tab && !(k->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)));
}

}  // namespace

frmClientInfo::frmClientInfo(SystemState& state, QWidget* parent)
    : Form("Client Information", parent), state_(state) {
  setObjectName("frmClientInfo");
  frame()->setObjectName("frClient");
  frame()->setFrameStyle(QFrame::Box | QFrame::Plain);
  auto* outer = new QVBoxLayout(frame());
  auto* grid = new QGridLayout;
  outer->addLayout(grid);
  // The name field shows a whole 25-character name; the lists line up with it.
  const int fieldWidth = std::max(twips(3600), lineEditWidthFor(frame(), 25));
  for (int i = 0; i < kInfoFieldCount; ++i) {
    const InfoField f = infoField(i);
    auto* l = new QLabel(infoLabel(f), frame());
    l->setObjectName(QString("lblInfo%1").arg(i));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    reserveBoldWidth(l);
    labels_[static_cast<std::size_t>(i)] = l;
    QWidget* w;
    if (isListField(f)) {
      auto* c = new QComboBox(frame());
      c->setEditable(true);
      c->setInsertPolicy(QComboBox::NoInsert);
      c->setCompleter(nullptr);
      for (const auto& choice : listChoices(f)) c->addItem(QString::fromStdString(choice));
      c->setCurrentIndex(-1);
      c->setEditText(QString());
      connect(c->lineEdit(), &QLineEdit::textEdited, this, [this, f](const QString& t) { listEdited(f, t); });
      w = c;
    } else {
      auto* e = new QLineEdit(frame());
      e->setMaxLength(infoMaxLength(f));
      if (f == InfoField::DateOfBirth) {
        connect(e, &QLineEdit::textEdited, this, &frmClientInfo::dateEdited);
      } else {
        // Pasted text is held to what the client file can store.
        connect(e, &QLineEdit::textEdited, this, [this, e](const QString& t) {
          if (representable(t)) return;
          state_.prompter.beep();
          e->setText(onlyRepresentable(t));
        });
      }
      w = e;
    }
    w->setObjectName(kControlNames[i]);
    w->setFixedWidth(f == InfoField::Name || f == InfoField::SSN || isListField(f) ? fieldWidth : twips(1400));
    w->installEventFilter(this);
    fields_[static_cast<std::size_t>(i)] = w;
    grid->addWidget(l, i, 0);
    grid->addWidget(w, i, 1, Qt::AlignLeft);
  }
  menu_ = new MenuChoices(this, msgPanel());
  auto* buttons = new QHBoxLayout;
  const char* captions[] = {"Information OK", "Cancel Input"};
  for (int i = 0; i < 2; ++i) {
    buttons->addWidget(menu_->addRow(captions[i], i == 1 ? kCancelHelp : "", frame()));
  }
  outer->addSpacing(twips(120));
  outer->addLayout(buttons);
  connect(menu_, &MenuChoices::chosen, this, [this](int i) { i == 0 ? acceptInformation() : cancelInput(); });
  for (int i = 0; i + 1 < kInfoFieldCount; ++i) setTabOrder(fields_[static_cast<std::size_t>(i)], fields_[static_cast<std::size_t>(i + 1)]);
  setTabOrder(fields_.back(), menu_->button(0));
  setTabOrder(menu_->button(0), menu_->button(1));

  // Opening: a new client starts empty; an edited one shows its record with its locks.
  ClientTable& t = state_.clients;
  ClientInfoValues start;
  int editCount = 0;
  if (t.EditMode && t.CurrentRecord >= 1 && t.CurrentRecord <= kMaxClients) {
    const ClientRecord& r = t.current();
    start = RecordToScreen(r);
    setValues(start);
    editCount = counterValue(r, Field::EditCount);
    nameDeleted_ = counterValue(r, Field::NameDeleted);
    openedEditCount_ = editCount;
    openedLocked_ = nameDeleted_ == 1 || editCount >= 3;
    if (openedLocked_) setFieldsEnabled(false);
    if (nameDeleted_ == 1) state_.prompter.tell(kNameDeletedMessage, kNameDeletedTitle, Icon::Information);
    else if (editCount >= 3) state_.prompter.tell(kEditLimitMessage, kEditLimitTitle, Icon::Information);
  }
  counter_.start(start, editCount);
  t.EditCount = editCount;
  t.NameDeleted = nameDeleted_;
  updateAcceptHelp();

  frame()->adjustSize();
  resize(std::max(frame()->width() + twips(1440), twips(8400)),
         frame()->height() + twips(1000) + msgPanel()->sizeHint().height() + twips(720));
}

void frmClientInfo::activate() {
  menu_->ResetMenuChoices(1);
  if (state_.clients.EditMode) menu_->button(0)->setFocus(Qt::TabFocusReason);
  else field(InfoField::Name)->setFocus(Qt::TabFocusReason);
}

int frmClientInfo::fieldIndex(QObject* o) const {
  for (int i = 0; i < kInfoFieldCount; ++i)
    if (fields_[static_cast<std::size_t>(i)] == o) return i;
  return -1;
}

QString frmClientInfo::fieldText(InfoField f) const {
  if (auto* c = listField(f)) return c->currentText();
  return textField(f)->text();
}

int frmClientInfo::listPosition(InfoField f) const { return matchListText(f, fieldText(f).toStdString()); }

ClientInfoValues frmClientInfo::values() const {
  auto text = [this](InfoField f) { return fieldText(f).toStdString(); };
  ClientInfoValues v;
  v.name = text(InfoField::Name);
  v.ssn = text(InfoField::SSN);
  v.age = text(InfoField::Age);
  v.marital = listPosition(InfoField::Marital);
  v.race = listPosition(InfoField::Race);
  v.gender = listPosition(InfoField::Gender);
  v.education = text(InfoField::Education);
  v.dateOfBirth = text(InfoField::DateOfBirth);
  return v;
}

void frmClientInfo::setValues(const ClientInfoValues& v) {
  auto setText = [this](InfoField f, const std::string& s) { textField(f)->setText(QString::fromStdString(s)); };
  auto setList = [this](InfoField f, int p) {
    QComboBox* c = listField(f);
    c->setCurrentIndex(p);
    c->setEditText(p >= 0 ? c->itemText(p) : QString());
  };
  setText(InfoField::Name, v.name);
  setText(InfoField::SSN, v.ssn);
  setText(InfoField::Age, v.age);
  setList(InfoField::Marital, v.marital);
  setList(InfoField::Race, v.race);
  setList(InfoField::Gender, v.gender);
  setText(InfoField::Education, v.education);
  setDateText(QString::fromStdString(v.dateOfBirth));
}

void frmClientInfo::setDateText(const QString& text) {
  dateShown_ = text;
  textField(InfoField::DateOfBirth)->setText(text);
}

bool frmClientInfo::eventFilter(QObject* watched, QEvent* event) {
  const int i = fieldIndex(watched);
  if (i < 0) return Form::eventFilter(watched, event);
  const InfoField f = infoField(i);
  switch (event->type()) {
    case QEvent::FocusIn:
      setBold(labels_[static_cast<std::size_t>(i)], true);
      msgPanel()->setText(infoHelp(f));
      selectOnFocus(fields_[static_cast<std::size_t>(i)], static_cast<QFocusEvent*>(event)->reason());
      break;
    case QEvent::FocusOut: {
      setBold(labels_[static_cast<std::size_t>(i)], false);
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      // A message box or an open list does not leave the field.
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) fieldLostFocus(f);
      break;
    }
    case QEvent::KeyPress:
      return typedKey(f, static_cast<QKeyEvent*>(event));
    default:
      break;
  }
  return Form::eventFilter(watched, event);
}

bool frmClientInfo::typedKey(InfoField f, QKeyEvent* k) {
  if (isEnterOrTab(k)) {
    leaveField(f);
    return true;
  }
  const QString text = k->text();
  if (text.isEmpty() || (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
  const char32_t c = text.toUcs4().value(0);
  if (c == 0x7F || (c < 0x20 && c != 8)) return false;  // Delete and other keys that type nothing
  if (isListField(f)) {
    if (listAcceptsChar(f, c)) return false;
    listField(f)->setEditText(QString());
    state_.prompter.beep();
    return true;
  }
  if (f == InfoField::DateOfBirth) {
    switch (dateKey(c)) {
      case DateKey::Accept: return false;
      case DateKey::DropSilently: return true;
      case DateKey::Refuse: state_.prompter.beep(); return true;
    }
  }
  if (c != 8 && !representable(text)) {
    // The client file holds Windows-1252 only; no character is stored as another.
    state_.prompter.beep();
    return true;
  }
  return false;
}

void frmClientInfo::listEdited(InfoField f, const QString& text) {
  QComboBox* c = listField(f);
  const int p = matchListText(f, text.toStdString());
  if (p >= 0) {
    c->setCurrentIndex(p);
    c->setEditText(c->itemText(p));
    c->lineEdit()->selectAll();
  } else if (!text.isEmpty()) {
    c->showPopup();
  }
}

void frmClientInfo::dateEdited(const QString& text) {
  QLineEdit* e = textField(InfoField::DateOfBirth);
  const bool grew = text.size() > dateShown_.size();
  dateShown_ = text;
  if (!grew) return;
  const QString formatted = QString::fromStdString(reformatDate(text.toStdString()));
  if (formatted != text) {
    const int caret = e->cursorPosition() + static_cast<int>(formatted.size() - text.size());
    dateShown_ = formatted;
    e->setText(formatted);
    e->setCursorPosition(std::clamp(caret, 0, static_cast<int>(formatted.size())));
  }
  if (formatted.endsWith('/')) e->setCursorPosition(static_cast<int>(formatted.size()));
}

void frmClientInfo::leaveField(InfoField f) {
  if (isListField(f)) {
    if (listPosition(f) < 0) {
      showError(f);
      return;
    }
    focusNext(f);
    return;
  }
  QLineEdit* e = textField(f);
  const LeaveResult r = leaveTextField(f, e->text().toStdString());
  const QString text = QString::fromStdString(r.text);
  if (text != e->text()) {
    if (f == InfoField::DateOfBirth) setDateText(text);
    else e->setText(text);
  }
  if (r.accepted) {
    focusNext(f);
    return;
  }
  showError(f);
}

void frmClientInfo::showError(InfoField f) {
  state_.prompter.beep();
  state_.prompter.ask(infoErrorMessage(f), kAppTitle, Buttons::Ok, Icon::Critical);
  QWidget* w = field(f);
  w->setFocus(Qt::TabFocusReason);
  SelectAllText();
}

void frmClientInfo::focusNext(InfoField f) {
  for (int i = indexOf(f) + 1; i < kInfoFieldCount; ++i) {
    QWidget* w = fields_[static_cast<std::size_t>(i)];
    if (w->isEnabled()) {
      w->setFocus(Qt::TabFocusReason);
      return;
    }
  }
  menu_->button(0)->setFocus(Qt::TabFocusReason);
}

void frmClientInfo::fieldLostFocus(InfoField f) {
  if (!state_.clients.EditMode) return;
  const auto outcome = counter_.fieldLeft(f, values().valueOf(f), fieldsEnabled_);
  state_.clients.EditCount = counter_.count();
  if (outcome == EditCounter::Outcome::LimitReached) {
    // Locked once the focus change under way has completed.
    fieldsEnabled_ = false;
    QTimer::singleShot(0, this, &frmClientInfo::limitReached);
  }
  updateAcceptHelp();
}

void frmClientInfo::limitReached() {
  menu_->button(0)->setFocus(Qt::TabFocusReason);
  setFieldsEnabled(false);
  state_.prompter.tell(kEditLimitMessage, kEditLimitTitle, Icon::Information);
  menu_->button(0)->setFocus(Qt::TabFocusReason);
}

void frmClientInfo::setFieldsEnabled(bool on) {
  fieldsEnabled_ = on;
  for (QWidget* w : fields_) w->setEnabled(on);
}

void frmClientInfo::updateAcceptHelp() {
  menu_->setHelp(0, QString::fromStdString(acceptHelp(state_.clients.EditMode, nameDeleted_, counter_.count())));
  if (menu_->button(0)->hasFocus()) msgPanel()->setText(QString::fromStdString(
      acceptHelp(state_.clients.EditMode, nameDeleted_, counter_.count())));
}

void frmClientInfo::acceptInformation() {
  // A locked record is checked too: a stored value that is not valid is
  // refused like a typed one, and its field opens for correction.
  const AcceptCheck check = checkForAccept(values());
  if (!check.ok) {
    QWidget* w = field(check.field);
    w->setEnabled(true);
    if (check.field == InfoField::Age) textField(InfoField::Age)->clear();
    if (check.message) {
      state_.prompter.beep();
      state_.prompter.ask(infoErrorMessage(check.field), kAppTitle, Buttons::Ok, Icon::Critical);
    }
    w->setFocus(Qt::TabFocusReason);
    return;
  }
  InfoAcceptance a;
  a.values = values();
  a.openedEditCount = openedEditCount_;
  a.editCount = counter_.count();
  a.nameLocked = nameDeleted_ == 1;
  a.today = todayText();
  if (!storeClientInfo(state_.clients, state_.fs, state_.clientFile(), state_.prompter, a)) {
    menu_->button(0)->setFocus(Qt::TabFocusReason);
    return;
  }
  state_.Accepted = true;
  done(QDialog::Accepted);
}

// The chain that opened the screen gives up its client through the slot owner.
void frmClientInfo::cancelInput() {
  state_.Accepted = false;
  done(QDialog::Rejected);
}

void frmClientInfo::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) return;  // only "Cancel Input" cancels
  Form::keyPressEvent(e);
}

void frmClientInfo::reject() { cancelInput(); }

}  // namespace zv
