#include "ui/qt/ScreenKit.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/ScreenRules.h"

namespace zv {

QColor vbColor(unsigned bgr) {
  const unsigned rgb = bgrToRgb(bgr);
  return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

int twips(int t) {
  const QScreen* s = QGuiApplication::primaryScreen();
  return twipsToPixels(t, s ? s->logicalDotsPerInch() : 96.0);
}

MsgPanel::MsgPanel(QWidget* parent) : QLabel(parent) {
  setObjectName("MsgPanel");
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setMargin(2);
  setTextFormat(Qt::PlainText);
}

void CenterForm(QWidget* form) {
  if (form->isMaximized()) return;
  const QScreen* s = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
  if (!s) return;
  const QRect d = s->availableGeometry();
  form->move(d.x() + d.width() / 2 - form->frameGeometry().width() / 2,
             d.y() + d.height() / 2 - form->frameGeometry().height() / 2);
}

void placeFrame(QWidget* frame, QWidget* form) {
  const int left = (form->width() - frame->width()) / 2;
  const int top = form->height() / 2 - (frame->height() + twips(1000)) / 2;
  frame->move(left, std::max(0, top));
}

void MouseWait() {
  if (!QApplication::overrideCursor()) QApplication::setOverrideCursor(Qt::WaitCursor);
  else QApplication::changeOverrideCursor(Qt::WaitCursor);
  QApplication::processEvents();
}

void MouseDefault() {
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  QApplication::processEvents();
}

void SelectAllText() {
  QWidget* w = QApplication::focusWidget();
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
  else if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit()) c->lineEdit()->selectAll();
  else if (auto* t = qobject_cast<QTextEdit*>(w)) t->selectAll();
  else if (auto* sb = qobject_cast<QAbstractSpinBox*>(w)) sb->selectAll();
}

void selectOnFocus(QWidget* w, Qt::FocusReason reason) {
  auto selectAll = [w] {
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
    else if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit()) c->lineEdit()->selectAll();
  };
  if (reason != Qt::MouseFocusReason) {
    selectAll();
    return;
  }
  QTimer::singleShot(0, w, [w, selectAll] {
    if (w->hasFocus()) selectAll();
  });
}

void setBold(QLabel* l, bool on) {
  QFont f = l->font();
  f.setBold(on);
  l->setFont(f);
}

MenuChoices::MenuChoices(QWidget* owner, MsgPanel* panel) : QObject(owner), owner_(owner), msg_(panel) {}

QPushButton* MenuChoices::add(const QString& caption, const QString& help, QWidget* container) {
  const int i = rows_.size();
  auto* panel = new QFrame(container ? container : owner_);
  panel->setObjectName(QString("sspMenuChoice%1").arg(i));
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setAutoFillBackground(true);
  auto* button = new QPushButton(caption, panel);
  button->setObjectName(QString("cmdMenuChoice%1").arg(i));
  button->setAutoDefault(false);
  button->setDefault(false);
  button->installEventFilter(this);
  connect(button, &QPushButton::clicked, this, [this, i] { emit chosen(i); });
  rows_.push_back({panel, button, help});
  ResetMenuChoices(i);
  return button;
}

QFrame* MenuChoices::addRow(const QString& caption, const QString& help, QWidget* container) {
  QPushButton* b = add(caption, help, container);
  auto* border = new QVBoxLayout(b->parentWidget());
  border->setContentsMargins(3, 3, 3, 3);
  border->addWidget(b);
  return rows_.back().panel();
}

int MenuChoices::indexOf(QObject* o) const {
  for (int i = 0; i < rows_.size(); ++i)
    if (rows_[i].buttonObject == o) return i;
  return -1;
}

bool MenuChoices::alive(const Row& row) {
  // A widget whose destructor is running no longer casts to its own class.
  return row.panel() && row.button();
}

void MenuChoices::ResetMenuChoices(int last) {
  for (int i = 0; i <= last && i < rows_.size(); ++i) {
    if (!alive(rows_[i])) continue;
    QPalette p = rows_[i].panel()->palette();
    p.setColor(QPalette::Window, vbColor(kPanelNormal));
    rows_[i].panel()->setPalette(p);
    QFont f = rows_[i].button()->font();
    f.setBold(false);
    rows_[i].button()->setFont(f);
    rows_[i].panel()->setProperty("highlighted", false);
  }
}

void MenuChoices::HighlightMenuChoice(int last, int k) {
  ResetMenuChoices(last);
  if (k < 0 || k >= rows_.size() || !alive(rows_[k])) return;
  QPalette p = rows_[k].panel()->palette();
  p.setColor(QPalette::Window, vbColor(kPanelHighlight));
  rows_[k].panel()->setPalette(p);
  QFont f = rows_[k].button()->font();
  f.setBold(true);
  rows_[k].button()->setFont(f);
  rows_[k].panel()->setProperty("highlighted", true);
}

bool MenuChoices::isHighlighted(int i) const {
  return rows_.at(i).panel() && rows_.at(i).panel()->property("highlighted").toBool();
}

bool MenuChoices::eventFilter(QObject* watched, QEvent* event) {
  const int i = indexOf(watched);
  if (i < 0) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::FocusIn:
      focused_ = i;
      HighlightMenuChoice(rows_.size() - 1, i);
      if (msg_) msg_->setText(rows_[i].help);
      emit focused(i);
      break;
    case QEvent::FocusOut:
      // A screen being closed or destroyed takes the focus from a button
      // whose panels may already be gone; a hidden screen needs no colours.
      if (alive(rows_[i]) && rows_[i].button()->isVisible()) ResetMenuChoices(rows_.size() - 1);
      break;
    case QEvent::KeyPress: {
      auto* k = static_cast<QKeyEvent*>(event);
      switch (k->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
          if (rows_[i].button()->isEnabled()) emit chosen(i);
          return true;
        case Qt::Key_Space:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
          return false;
        case Qt::Key_Up:
        case Qt::Key_Left:
          if (auto* w = rows_[i].button()->previousInFocusChain()) {
            // The focus chain can hold widgets that take no focus; skip them.
            QWidget* target = w;
            while (target && target != rows_[i].button() && !(target->isEnabled() && target->isVisible() &&
                                                             (target->focusPolicy() & Qt::TabFocus)))
              target = target->previousInFocusChain();
            if (target) target->setFocus(Qt::BacktabFocusReason);
          }
          return true;
        case Qt::Key_Down:
        case Qt::Key_Right: {
          QWidget* target = rows_[i].button()->nextInFocusChain();
          while (target && target != rows_[i].button() &&
                 !(target->isEnabled() && target->isVisible() && (target->focusPolicy() & Qt::TabFocus)))
            target = target->nextInFocusChain();
          if (target) target->setFocus(Qt::TabFocusReason);
          return true;
        }
        default:
          return true;  // every other key is discarded
      }
    }
    case QEvent::KeyRelease: {
      auto* k = static_cast<QKeyEvent*>(event);
      return k->key() != Qt::Key_Space;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

Form::Form(const QString& caption, QWidget* parent) : QDialog(parent) {
  setWindowTitle(caption);
  setModal(true);
  frame_ = new QFrame(this);
  frame_->setObjectName("frame");
  msg_ = new MsgPanel(this);
}

void Form::relayout() {
  const int h = msg_->sizeHint().height();
  msg_->setGeometry(0, height() - h, width(), h);
  placeFrame(frame_, this);
}

void Form::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!centred_) {
    CenterForm(this);
    centred_ = true;
  }
  relayout();
  activate();
}

void Form::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  relayout();
}

}  // namespace zv
