#pragma once
// The small reusable prompt: one text field, a help text and the rows
// "Information OK" and "Cancel Input". Callers set the caption, InputLength,
// HelpMessage and, for a secret entry, PasswordInput; show it modally; then
// read Cancelled and InputValue.
#include <QLabel>
#include <QLineEdit>

#include "supervisor/AccessCode.h"
#include "ui/Prompter.h"
#include "ui/qt/ScreenKit.h"

namespace zv {

class frmMyInputBox : public Form {
  Q_OBJECT
 public:
  explicit frmMyInputBox(Prompter& prompter, QWidget* parent = nullptr);

  void setPasswordInput(bool on) { passwordInput_ = on; }
  bool PasswordInput() const { return passwordInput_; }
  void setInputLength(int n) { inputLength_ = n; }
  int InputLength() const { return inputLength_; }
  void setHelpMessage(const QString& text) { helpMessage_ = text; }
  QString HelpMessage() const { return helpMessage_; }
  QString InputValue() const { return inputValue_; }
  bool Cancelled() const { return cancelled_; }

  QLineEdit* txtInput() const { return txtInput_; }
  QLabel* lblHelpMsg() const { return lblHelpMsg_; }
  MenuChoices* menu() const { return menu_; }

  void reject() override;  // Escape leaves like "Cancel Input"

 protected:
  void activate() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void fitToFrame();
  void choose(int row);

  Prompter& prompter_;
  QLineEdit* txtInput_;
  QLabel* lblHelpMsg_;
  MenuChoices* menu_;
  bool passwordInput_ = false;
  int inputLength_ = 32767;
  QString helpMessage_;
  QString inputValue_;
  bool cancelled_ = false;
};

// InputPrompt on screen: a fresh frmMyInputBox per question, so a prompt
// for which PasswordInput was not set shows plain text.
class QtInputPrompt : public InputPrompt {
 public:
  QtInputPrompt(Prompter& prompter, QWidget* parent) : prompter_(prompter), parent_(parent) {}
  InputReply ask(const InputRequest& request) override;

 private:
  Prompter& prompter_;
  QWidget* parent_;
};

// The access-code loop with frmMyInputBox on screen.
bool AskAccessCode(Prompter& prompter, QWidget* parent);

}  // namespace zv
