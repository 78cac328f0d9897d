#include "supervisor/qt/frmMyInputBox.h"

#include <QKeyEvent>
#include <QVBoxLayout>

namespace zv {

frmMyInputBox::frmMyInputBox(Prompter& prompter, QWidget* parent)
    : Form("MyInputBox", parent), prompter_(prompter) {
  setObjectName("frmMyInputBox");
  auto* layout = new QVBoxLayout(frame());
  lblHelpMsg_ = new QLabel(frame());
  lblHelpMsg_->setObjectName("lblHelpMsg");
  lblHelpMsg_->setWordWrap(true);
  lblHelpMsg_->setTextFormat(Qt::PlainText);
  lblHelpMsg_->setMinimumWidth(twips(4800));
  txtInput_ = new QLineEdit(frame());
  txtInput_->setObjectName("txtInput");
  txtInput_->setStyleSheet("lineedit-password-character: 42;");  // "*" for every typed character
  txtInput_->installEventFilter(this);
  menu_ = new MenuChoices(this, msgPanel());
  layout->addWidget(lblHelpMsg_);
  layout->addWidget(txtInput_);
  for (const char* caption : {"Information OK", "Cancel Input"}) {
    layout->addWidget(menu_->addRow(caption, {}, frame()));
  }
  connect(menu_, &MenuChoices::chosen, this, &frmMyInputBox::choose);
  fitToFrame();
}

void frmMyInputBox::fitToFrame() {
  frame()->adjustSize();
  resize(frame()->width() + twips(720), frame()->height() + twips(1000) + msgPanel()->sizeHint().height() + twips(360));
  relayout();
}

void frmMyInputBox::activate() {
  txtInput_->setMaxLength(inputLength_ > 0 ? inputLength_ : 32767);
  lblHelpMsg_->setText(helpMessage_);
  fitToFrame();  // the help text is known only now: every line of it shows
  txtInput_->setEchoMode(passwordInput_ ? QLineEdit::Password : QLineEdit::Normal);
  menu_->ResetMenuChoices(1);
  txtInput_->setFocus();
}

bool frmMyInputBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtInput_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      menu_->button(0)->setFocus(Qt::TabFocusReason);
      return true;
    }
  }
  return Form::eventFilter(watched, event);
}

void frmMyInputBox::choose(int row) {
  if (row == 1) {
    reject();
    return;
  }
  if (txtInput_->text().isEmpty()) {
    prompter_.ask("Please enter the required data.", "Input required", Buttons::Ok, Icon::Question);
    txtInput_->setFocus();
    return;
  }
  inputValue_ = txtInput_->text();
  accept();
}

void frmMyInputBox::reject() {
  cancelled_ = true;
  Form::reject();
}

InputReply QtInputPrompt::ask(const InputRequest& request) {
  frmMyInputBox box(prompter_, parent_);
  box.setWindowTitle(QString::fromStdString(request.caption));
  box.setInputLength(request.inputLength);
  box.setHelpMessage(QString::fromStdString(request.helpMessage));
  box.setPasswordInput(request.passwordInput);
  box.exec();
  if (box.Cancelled()) return {true, {}};
  return {false, box.InputValue().toStdString()};
}

bool AskAccessCode(Prompter& prompter, QWidget* parent) {
  QtInputPrompt input(prompter, parent);
  return AskAccessCode(input, prompter);
}

}  // namespace zv
