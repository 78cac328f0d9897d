#include "report/qt/frmViewReport.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "app/SystemState.h"
#include "records/Cp1252.h"
#include "report/ReportPrinting.h"
#include "report/qt/QtReportPrinter.h"

namespace zv {

void LoadReportView(FileSystem& fs, const std::string& path, QPlainTextEdit* target) {
  QString text = QString::fromStdString(cp1252::toUtf8(ReadReportFile(fs, path)));
  text.replace("\r\n", "\n");
  text.replace('\r', '\n');
  // A page break shows as the empty line it leaves on paper.
  text.remove('\f');
  target->setPlainText(text);
}

frmViewReport::frmViewReport(SystemState& state, Printer& printer, ReportComposer compose, QWidget* parent)
    : Form("Client Report", parent), state_(state), printer_(printer), compose_(std::move(compose)) {
  setObjectName("frmViewReport");
  frame()->setObjectName("fraAll");
  auto* layout = new QVBoxLayout(frame());
  text_ = new QPlainTextEdit(frame());
  text_->setObjectName("Text1");
  text_->setReadOnly(true);
  text_->setTabChangesFocus(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  QFont font = reportFont();
  font.setPointSizeF(10);
  text_->setFont(font);
  const QFontMetrics fm(font);
  text_->setMinimumSize(fm.horizontalAdvance(QString(84, 'M')) + 24, fm.lineSpacing() * 30);
  layout->addWidget(text_);
  auto* buttons = new QHBoxLayout;
  print_ = new QPushButton("&Print Report", frame());
  print_->setObjectName("cmdPrintReport");
  close_ = new QPushButton("&Close", frame());
  close_->setObjectName("cmdCancel");
  for (QPushButton* b : {print_, close_}) {
    b->setAutoDefault(true);
    b->installEventFilter(this);
    buttons->addWidget(b);
  }
  layout->addLayout(buttons);
  connect(print_, &QPushButton::clicked, this, &frmViewReport::printReport);
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);
  text_->installEventFilter(this);
  frame()->adjustSize();
  resize(frame()->width() + twips(720), frame()->height() + twips(1000) + msgPanel()->sizeHint().height() + twips(360));
}

void frmViewReport::MOUSEWAIT() { setCursor(Qt::WaitCursor); }
void frmViewReport::MOUSEDEFAULT() { unsetCursor(); }

void frmViewReport::activate() {
  loaded_ = false;
  try {
    BusyPointer busy;
    compose_(state_.clients);
    LoadReportView(state_.fs, state_.reportPath(), text_);
    loaded_ = true;
  } catch (const ZvError& e) {
    text_->clear();
    print_->setEnabled(false);
    state_.prompter.ask("The report of client " + std::to_string(state_.clients.CurrentRecord) +
                            " could not be produced.\r" + e.what(),
                        "Client Report", Buttons::Ok, Icon::Exclamation);
  }
  MOUSEDEFAULT();
  if (loaded_) print_->setEnabled(true);
  print_->setFocus();
}

bool frmViewReport::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched != text_) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Up || key == Qt::Key_Down) {
      text_->setFocus();
      QKeyEvent copy(QEvent::KeyPress, key, static_cast<QKeyEvent*>(event)->modifiers());
      QApplication::sendEvent(text_, &copy);
      return true;
    }
  }
  return Form::eventFilter(watched, event);
}

void frmViewReport::printReport() {
  print_->setEnabled(false);
  close_->setEnabled(false);
  {
    IdlePointerPrompter prompter(state_.prompter);
    BusyPointer busy;
    PrintReportWithMessages(state_.fs, state_.reportPath(), printer_, prompter, "Client Report");
  }
  print_->setEnabled(true);
  close_->setEnabled(true);
  print_->setFocus();
}

}  // namespace zv
