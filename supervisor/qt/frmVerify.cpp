#include "supervisor/qt/frmVerify.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "app/SystemState.h"

namespace zv {

frmVerify::frmVerify(SystemState& state, QWidget* parent)
    : Form("Test Data Input Verification", parent), state_(state), verification_(state) {
  setObjectName("frmVerify");
  msgPanel()->setObjectName("pnlMessage");
  frame()->setObjectName("frAllHolder");
  auto* outer = new QVBoxLayout(frame());
  outer->setContentsMargins(0, 0, 0, 0);
  auto* frAll = new QGroupBox("Data Verification", frame());
  frAll->setObjectName("frAll");
  outer->addWidget(frAll);
  auto* layout = new QVBoxLayout(frAll);

  auto* current = new QGroupBox("Current Question", frAll);
  auto* currentLayout = new QHBoxLayout(current);
  lblCur_ = new QLabel(current);
  lblCur_->setObjectName("lblCurQuestion");
  txtCur_ = new QLineEdit(current);
  txtCur_->setObjectName("txtCurQuestion");
  txtCur_->setMaxLength(1);
  txtCur_->setFixedWidth(twips(600));
  txtCur_->installEventFilter(this);
  currentLayout->addWidget(lblCur_);
  currentLayout->addWidget(txtCur_);
  layout->addWidget(current);

  frame1_ = new QGroupBox("Previous Question", frAll);
  frame1_->setObjectName("Frame1");
  auto* prevLayout = new QHBoxLayout(frame1_);
  lblPrev_ = new QLabel(frame1_);
  lblPrev_->setObjectName("lblPrevQuestion");
  txtPrev_ = new QLineEdit(frame1_);
  txtPrev_->setObjectName("txtPrevQuestion");
  txtPrev_->setReadOnly(true);
  txtPrev_->setFocusPolicy(Qt::NoFocus);
  txtPrev_->setFixedWidth(twips(600));
  prevLayout->addWidget(lblPrev_);
  prevLayout->addWidget(txtPrev_);
  layout->addWidget(frame1_);

  cancel_ = new QPushButton("Cancel", frAll);
  cancel_->setObjectName("cmdCancel");
  cancel_->setAutoDefault(false);
  cancel_->installEventFilter(this);
  layout->addWidget(cancel_);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  setTabOrder(txtCur_, cancel_);

  frame()->setMinimumWidth(twips(4200));
  frame()->adjustSize();
  lblCur_->setText(QString::fromStdString(verification_.session().currentLabel()));
  msgPanel()->setText(kVerifyStartMessage);
  // Wide enough for the longest help text in the panel.
  const int panelWidth = msgPanel()->fontMetrics().horizontalAdvance(kVerifyStartMessage) + twips(360);
  resize(std::max(frame()->width() + twips(1440), panelWidth),
         frame()->height() + twips(1000) + msgPanel()->sizeHint().height() + twips(360));

  refreshLabels();
}

void frmVerify::activate() {
  refreshLabels();
  txtCur_->clear();
  txtCur_->setFocus();
}

void frmVerify::refreshLabels() {
  const VerifySession& s = verification_.session();
  frame1_->setVisible(s.position() >= 2);
  lblPrev_->setText(QString::fromStdString(s.previousLabel()));
  txtPrev_->setText(QString::fromStdString(s.previousAnswer()));
  lblCur_->setText(QString::fromStdString(s.currentLabel()));
}

void frmVerify::typed(char c) {
  switch (verification_.key(c)) {
    case Verification::After::Refused:
      return;
    case Verification::After::Moved:
      refreshLabels();
      txtCur_->clear();
      txtCur_->setFocus();
      return;
    case Verification::After::Close:
      accept();
      return;
  }
}

bool frmVerify::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtCur_) {
    if (event->type() == QEvent::FocusIn) msgPanel()->setText(kVerifyStartMessage);
    if (event->type() == QEvent::KeyPress) {
      auto* k = static_cast<QKeyEvent*>(event);
      switch (k->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
          return false;  // focus moves on; Escape leaves like Cancel
        case Qt::Key_Backspace:
          typed('\b');
          return true;
        default:
          break;
      }
      const QString text = k->text();
      if (text.size() == 1 && text[0].unicode() < 128 && text[0].isPrint()) {
        txtCur_->setText(text);  // shows the key being typed until it is released
        typed(static_cast<char>(text[0].unicode()));
      } else if (!text.isEmpty() || k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
        typed('\r');  // not an answer: beep
      }
      return true;
    }
    if (event->type() == QEvent::KeyRelease) {
      txtCur_->clear();
      return false;
    }
  }
  if (watched == cancel_) {
    if (event->type() == QEvent::FocusIn) msgPanel()->setText(kVerifyCancelHelp);
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        reject();
        return true;
      }
    }
  }
  return Form::eventFilter(watched, event);
}

}  // namespace zv
