#include "ui/qt/QtPrompter.h"

#include <QApplication>
#include <QMessageBox>

namespace zv {

QString displayText(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace("\r\n", "\n");
  s.replace('\r', '\n');
  return s;
}

Answer QtPrompter::ask(const std::string& text, const std::string& title, Buttons buttons, Icon icon) {
  QMessageBox box(parent_ ? parent_ : QApplication::activeWindow());
  box.setText(displayText(text));
  box.setWindowTitle(QString::fromStdString(title.empty() ? std::string(kAppTitle) : title));
  switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
  }
  switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
  }
}

void QtPrompter::beep() { QApplication::beep(); }

}  // namespace zv
