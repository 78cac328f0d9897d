#pragma once
// Message boxes on screen: the Prompter of the running application.
#include <QWidget>

#include "ui/Prompter.h"

namespace zv {

class QtPrompter : public Prompter {
 public:
  explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }
  Answer ask(const std::string& text, const std::string& title, Buttons buttons, Icon icon) override;
  void beep() override;

 private:
  QWidget* parent_;
};

// The system's texts break lines with "\r" or "\r\n"; Qt wants "\n".
QString displayText(const std::string& text);

}  // namespace zv
