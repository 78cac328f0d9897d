#include "report/qt/frmPrintSelected.h"

#include <QVBoxLayout>

#include "app/SystemState.h"
#include "report/qt/QtReportPrinter.h"
#include "ui/ScreenRules.h"

namespace zv {

frmPrintSelected::frmPrintSelected(SystemState& state, Printer& printer, ReportComposer compose, QWidget* parent)
    : Form("Print Selected Reports", parent), state_(state), printer_(printer), compose_(std::move(compose)) {
  setObjectName("frmPrintSelected");
  frame()->setObjectName("fraAll");
  auto* layout = new QVBoxLayout(frame());
  instructions_ = new QPlainTextEdit(frame());
  instructions_->setObjectName("txtInstructions");
  instructions_->setReadOnly(true);
  instructions_->setFocusPolicy(Qt::NoFocus);
  instructions_->setPlainText("- Select the client names of the \n  reports you want to print by \n  clicking on them.");
  instructions_->setFixedHeight(instructions_->fontMetrics().lineSpacing() * 4);
  layout->addWidget(instructions_);

  fraClient_ = new QGroupBox("Client List", frame());
  fraClient_->setObjectName("fraClient");
  fraClient_->setAutoFillBackground(true);
  normalPalette_ = fraClient_->palette();
  list_ = new QListWidget(fraClient_);
  list_->setObjectName("lbNameDisplay");
  list_->setSelectionMode(QAbstractItemView::MultiSelection);
  QFont mono = reportFont();
  mono.setPointSizeF(10);
  mono.setBold(false);  // set explicitly, so the frame's bold caption does not reach the entries
  list_->setFont(mono);
  list_->setMinimumWidth(QFontMetrics(mono).horizontalAdvance(QString(30, 'M')) + 32);
  list_->installEventFilter(this);
  (new QVBoxLayout(fraClient_))->addWidget(list_);
  layout->addWidget(fraClient_);

  menu_ = new MenuChoices(this, msgPanel());
  const char* rows[3][2] = {{"Print Selected", "Print selected client reports"},
                            {"Select All", "Select all client reports for printing"},
                            {"Return to Main Menu", "Cancel selections and printing."}};
  for (const auto& r : rows) {
    layout->addWidget(menu_->addRow(r[0], r[1], frame()));
  }
  connect(menu_, &MenuChoices::chosen, this, &frmPrintSelected::choose);
  connect(list_, &QListWidget::currentRowChanged, this, &frmPrintSelected::updatePrintButton);
  connect(list_, &QListWidget::itemSelectionChanged, this, &frmPrintSelected::updatePrintButton);
  setTabOrder(list_, menu_->button(0));
  setTabOrder(menu_->button(0), menu_->button(1));
  setTabOrder(menu_->button(1), menu_->button(2));

  frame()->adjustSize();
  resize(frame()->width() + twips(720), frame()->height() + twips(1000) + msgPanel()->sizeHint().height() + twips(360));
}

void frmPrintSelected::activate() {
  setClientFocusStyle(list_->hasFocus());
  fillList();
  menu_->ResetMenuChoices(2);
  list_->setFocus();
  // An empty list passes the focus on (the list's own focus rule).
  if (list_->count() == 0) menu_->button(0)->setFocus();
}

void frmPrintSelected::fillList() {
  list_->clear();
  for (int n = 1; n <= state_.clients.RecordCount; ++n)
    list_->addItem(QString::number(n) + "-" +
                   QString::fromStdString(state_.clients.slot[static_cast<std::size_t>(n)].text(Field::Name)));
  updatePrintButton();
}

void frmPrintSelected::updatePrintButton() {
  const QListWidgetItem* item = list_->currentItem();
  menu_->button(0)->setEnabled(item != nullptr && !item->text().isEmpty());
}

void frmPrintSelected::setClientFocusStyle(bool focused) {
  QFont f = fraClient_->font();
  f.setBold(focused);
  if (focused) {
    QPalette p = normalPalette_;
    p.setColor(QPalette::Window, vbColor(kPanelHighlight));
    p.setColor(QPalette::WindowText, Qt::black);
    fraClient_->setPalette(p);
  } else {
    fraClient_->setPalette(normalPalette_);
  }
  fraClient_->setFont(f);
  // The list keeps its own font whatever the frame shows.
  QFont mono = reportFont();
  mono.setPointSizeF(10);
  mono.setBold(false);  // set explicitly, so the frame's bold caption does not reach the entries
  list_->setFont(mono);
}

bool frmPrintSelected::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_) {
    switch (event->type()) {
      case QEvent::FocusIn:
        if (list_->count() == 0) {
          menu_->button(0)->setFocus(Qt::TabFocusReason);
          if (!menu_->button(0)->hasFocus()) menu_->button(1)->setFocus(Qt::TabFocusReason);
          break;
        }
        setClientFocusStyle(true);
        msgPanel()->setText("Use up or down arrow keys or mouse to select client.");
        break;
      case QEvent::FocusOut:
        setClientFocusStyle(false);
        msgPanel()->setText(QString());
        break;
      default:
        break;
    }
  }
  return Form::eventFilter(watched, event);
}

void frmPrintSelected::choose(int row) {
  switch (row) {
    case 0: printSelected(); break;
    case 1: list_->selectAll(); updatePrintButton(); break;
    case 2: reject(); break;
    default: break;
  }
}

void frmPrintSelected::printSelected() {
  std::vector<int> records;
  for (int i = 0; i < list_->count(); ++i)
    if (list_->item(i)->isSelected()) records.push_back(i + 1);
  IdlePointerPrompter prompter(state_.prompter);
  // Each client's row becomes the current row while its report is composed.
  ReportComposer compose = [this](const ClientTable& clients) {
    list_->setCurrentRow(clients.CurrentRecord - 1, QItemSelectionModel::NoUpdate);
    compose_(clients);
  };
  ReportServices services{state_.fs, prompter, printer_, state_.programDir, compose};
  {
    BusyPointer busy;
    PrintSelectedReports(state_.clients, records, services);
  }
  accept();
}

}  // namespace zv
