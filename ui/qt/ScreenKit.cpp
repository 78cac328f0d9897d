#include "ui/qt/ScreenKit.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
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
  setWordWrap(true);
}

QSize MsgPanel::sizeHint() const {
  const QRect twoLines = fontMetrics().boundingRect(QRect(0, 0, 1000, 1000), Qt::TextWordWrap, "X\nX");
  return {QLabel::sizeHint().width(), twoLines.height() + 2 * (margin() + frameWidth())};
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

namespace {

int boldAdvance(const QWidget* w, const QString& text) {
  QFont f = w->font();
  f.setBold(true);
  return QFontMetrics(f).horizontalAdvance(text);
}

}  // namespace

void reserveBoldWidth(QLabel* l) {
  l->setMinimumWidth(boldAdvance(l, l->text()) + 2 * (l->margin() + l->frameWidth()) + 1);
}

int lineEditWidthFor(const QWidget* e, int chars) {
  // The style's frame and the line edit's own margins (2 px each side) and caret.
  return e->fontMetrics().horizontalAdvance(QString(chars, 'W')) +
         2 * e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 6;
}

int boldLabelWidthFor(const QLabel* l, int chars) {
  return boldAdvance(l, QString(chars, 'W')) + 2 * (l->margin() + l->frameWidth()) + 1;
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
  // The caption turns bold with the focus: the button keeps room for it,
  // with a little air on both sides.
  QFont bold = button->font();
  bold.setBold(true);
  button->setFont(bold);
  button->setMinimumWidth(button->sizeHint().width() + twips(90));
  button->setFont(QFont());
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
  return panel(count() - 1);
}

int MenuChoices::indexOf(const QObject* o) const {
  for (int i = 0; i < rows_.size(); ++i)
    if (rows_[i].button.data() == o) return i;
  return -1;
}

void MenuChoices::detach() {
  for (const Row& r : rows_)
    if (r.button) r.button->removeEventFilter(this);
  rows_.clear();
  focused_ = -1;
}

void MenuChoices::ResetMenuChoices(int last) {
  for (int i = 0; i <= last && i < rows_.size(); ++i) {
    if (!alive(i)) continue;
    QPalette p = panel(i)->palette();
    p.setColor(QPalette::Window, vbColor(kPanelNormal));
    panel(i)->setPalette(p);
    QFont f = button(i)->font();
    f.setBold(false);
    button(i)->setFont(f);
    panel(i)->setProperty("highlighted", false);
  }
}

void MenuChoices::HighlightMenuChoice(int last, int k) {
  ResetMenuChoices(last);
  if (k < 0 || k >= rows_.size() || !alive(k)) return;
  QPalette p = panel(k)->palette();
  p.setColor(QPalette::Window, vbColor(kPanelHighlight));
  panel(k)->setPalette(p);
  QFont f = button(k)->font();
  f.setBold(true);
  button(k)->setFont(f);
  panel(k)->setProperty("highlighted", true);
}

bool MenuChoices::isHighlighted(int i) const { return panel(i) && panel(i)->property("highlighted").toBool(); }

bool MenuChoices::eventFilter(QObject* watched, QEvent* event) {
  const int i = indexOf(watched);
  // A button being destroyed is left alone, as are its panels.
  if (i < 0 || !alive(i)) return QObject::eventFilter(watched, event);
  QPushButton* const self = button(i);
  switch (event->type()) {
    case QEvent::FocusIn:
      focused_ = i;
      HighlightMenuChoice(rows_.size() - 1, i);
      if (msg_) msg_->setText(rows_[i].help);
      emit focused(i);
      break;
    case QEvent::FocusOut:
      // A hidden screen needs no colours.
      if (self->isVisible()) ResetMenuChoices(rows_.size() - 1);
      break;
    case QEvent::KeyPress: {
      auto* k = static_cast<QKeyEvent*>(event);
      switch (k->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
          if (self->isEnabled()) emit chosen(i);
          return true;
        case Qt::Key_Space:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
          return false;
        case Qt::Key_Up:
        case Qt::Key_Left:
          if (auto* w = self->previousInFocusChain()) {
            // The focus chain can hold widgets that take no focus; skip them.
            QWidget* target = w;
            while (target && target != self && !(target->isEnabled() && target->isVisible() &&
                                                 (target->focusPolicy() & Qt::TabFocus)))
              target = target->previousInFocusChain();
            if (target) target->setFocus(Qt::BacktabFocusReason);
          }
          return true;
        case Qt::Key_Down:
        case Qt::Key_Right: {
          QWidget* target = self->nextInFocusChain();
          while (target && target != self &&
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

Form::~Form() {
  // The menu rows stop watching before the screen's widgets are destroyed.
  for (auto* m : findChildren<MenuChoices*>(Qt::FindDirectChildrenOnly)) m->detach();
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
