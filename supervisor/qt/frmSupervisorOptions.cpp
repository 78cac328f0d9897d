#include "supervisor/qt/frmSupervisorOptions.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/SystemState.h"
#include "report/qt/QtReportPrinter.h"
#include "report/qt/frmPrintSelected.h"
#include "report/qt/frmViewReport.h"
#include "supervisor/DeleteNames.h"
#include "supervisor/qt/frmVerify.h"
#include "ui/ScreenRules.h"

namespace zv {

namespace {

const char* const kVerifyComment =
    "This option gives you the opportunity to re-enter the client's responses from the answer sheet.  After you "
    "enter the responses, any differences from what was just entered and what was previously stored will be "
    "reported.  This gives the opportunity to correct any errors.";
const char* const kDeleteComment =
    "This option will delete the client's name and ID number from the client database.  USE WITH CAUTION!  Once "
    "the name and number have been deleted on this data disk, it CANNOT be retrieved.  All other associated client "
    "data, demographics, court history and responses will NOT be deleted.  Use this option to protect client "
    "confidentiality when you are done with the disk.";
const char* const kOptionHelp = "Use the arrow keys or mouse to choose print operation.";

QGroupBox* commentFrame(const char* text, QWidget* parent) {
  auto* box = new QGroupBox("Option Comments", parent);
  auto* layout = new QVBoxLayout(box);
  auto* label = new QLabel(text, box);
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  layout->addWidget(label);
  return box;
}

void setBold(QWidget* w, bool bold) {
  QFont f = w->font();
  f.setBold(bold);
  w->setFont(f);
}

}  // namespace

frmSupervisorOptions::frmSupervisorOptions(SystemState& state, Printer& printer, InputPrompt& input,
                                           SummaryComposer compose, QWidget* parent)
    : Form("Supervisor Options", parent), state_(state), printer_(printer), input_(input),
      compose_(std::move(compose)) {
  setObjectName("frmSupervisorOptions");
  frame()->setObjectName("frControls");
  auto* layout = new QVBoxLayout(frame());

  // Panel 2 around the tab control lights up while the tabs have the focus.
  panel2_ = new QFrame(frame());
  panel2_->setObjectName("sspMenuChoice2");
  panel2_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel2_->setAutoFillBackground(true);
  auto* panelLayout = new QVBoxLayout(panel2_);
  panelLayout->setContentsMargins(4, 4, 4, 4);
  tabs_ = new QTabWidget(panel2_);
  tabs_->setObjectName("sstSupervisorOperations");
  panelLayout->addWidget(tabs_);

  auto* reports = new QWidget;
  auto* reportsLayout = new QVBoxLayout(reports);
  auto* choose = new QGroupBox("Choose Report Option", reports);
  choose->setObjectName("fraPrintOptions");
  auto* chooseLayout = new QVBoxLayout(choose);
  const char* captions[3] = {"Print above current client's report", "Select and print multiple clients' reports",
                             "Print all clients' reports"};
  for (int i = 0; i < 3; ++i) {
    opt_[i] = new QRadioButton(captions[i], choose);
    opt_[i]->setObjectName(QString("optPrintOption%1").arg(i));
    opt_[i]->installEventFilter(this);
    chooseLayout->addWidget(opt_[i]);
    connect(opt_[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) printOption_ = i;
    });
  }
  chk_ = new QCheckBox("One page summary report", choose);
  chk_->setObjectName("chkPrintSummaryPage");
  chk_->installEventFilter(this);
  chooseLayout->addWidget(chk_);
  connect(chk_, &QCheckBox::toggled, this, [this](bool on) { printSummary_ = on; });
  reportsLayout->addWidget(choose);
  tabs_->addTab(reports, "&Reports");

  auto* verify = new QWidget;
  (new QVBoxLayout(verify))->addWidget(commentFrame(kVerifyComment, verify));
  tabs_->addTab(verify, "&Verify Data");
  auto* del = new QWidget;
  (new QVBoxLayout(del))->addWidget(commentFrame(kDeleteComment, del));
  tabs_->addTab(del, "&Delete Names");
  tabs_->setFixedWidth(twips(6600));
  tabs_->installEventFilter(this);
  tabs_->tabBar()->installEventFilter(this);
  connect(tabs_, &QTabWidget::currentChanged, this, &frmSupervisorOptions::tabChanged);
  layout->addWidget(panel2_);

  auto* current = new QGroupBox("Current Client", frame());
  lblName_ = new QLabel("No Clients", current);
  lblName_->setObjectName("lblNameDisplay");
  lblName_->setTextFormat(Qt::PlainText);
  (new QVBoxLayout(current))->addWidget(lblName_);
  layout->addWidget(current);

  menu_ = new MenuChoices(this, msgPanel());
  const char* rows[2][2] = {{"Execute Selection", "Perform the selected operation."},
                            {"Go to Main Menu", "Close the utilities window returning to the Main Menu."}};
  for (const auto& r : rows) {
    layout->addWidget(menu_->addRow(r[0], r[1], frame()));
  }
  connect(menu_, &MenuChoices::chosen, this, &frmSupervisorOptions::choose);
  connect(menu_, &MenuChoices::focused, this, [this](int) { setPanel2(false); });

  setTabOrder(tabs_, opt_[0]);
  setTabOrder(opt_[0], opt_[1]);
  setTabOrder(opt_[1], opt_[2]);
  setTabOrder(opt_[2], chk_);
  setTabOrder(chk_, menu_->button(0));
  setTabOrder(menu_->button(0), menu_->button(1));

  frame()->adjustSize();
  resize(frame()->width() + twips(720), frame()->height() + twips(1000) + msgPanel()->sizeHint().height() + twips(360));

  // Loading: the selected option, remembered tab and pressed row start at 0.
  opt_[0]->setChecked(true);
  printOption_ = 0;
  if (state_.clients.RecordCount >= 1) lblName_->setText(currentName());
  else noClients_ = true;
}

QString frmSupervisorOptions::currentName() const {
  return QString::fromStdString(state_.clients.current().text(Field::Name));
}

void frmSupervisorOptions::setPrintSummary(bool on) { chk_->setChecked(on); }

ReportComposer frmSupervisorOptions::composer() {
  return [this](const ClientTable& clients) { compose_(clients, chk_->isChecked()); };
}

void frmSupervisorOptions::setPanel2(bool lit) {
  QPalette p = panel2_->palette();
  p.setColor(QPalette::Window, vbColor(lit ? kPanelHighlight : kPanelNormal));
  panel2_->setPalette(p);
  panel2_->setProperty("highlighted", lit);
}

void frmSupervisorOptions::activate() {
  setPanel2(false);
  QPalette p = tabs_->palette();
  p.setColor(QPalette::Window, vbColor(kPanelNormal));
  tabs_->setPalette(p);
  // The pages keep the normal colours so their texts stay readable.
  QPalette page = QApplication::palette();
  page.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
  page.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
  for (int i = 0; i < tabs_->count(); ++i) {
    tabs_->widget(i)->setAutoFillBackground(true);
    tabs_->widget(i)->setPalette(page);
  }
  menu_->ResetMenuChoices(1);
  if (noClients_) {
    // After the screen is up, so the notice sits over it and the close ends its modal loop.
    QTimer::singleShot(0, this, [this] {
      state_.prompter.ask("There are no clients on this data disk.\rReturning to main menu.", "Empty Data Disk",
                          Buttons::Ok, Icon::Information);
      finish();
    });
    return;
  }
  menu_->button(0)->setFocus();
}

bool frmSupervisorOptions::eventFilter(QObject* watched, QEvent* event) {
  // The arrow keys select the option they move to, however the group was
  // entered (the toolkit only moves the focus when it came to an unselected one).
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const int step = (key == Qt::Key_Down || key == Qt::Key_Right) ? 1 : (key == Qt::Key_Up || key == Qt::Key_Left) ? -1 : 0;
    for (int i = 0; step != 0 && i < 3; ++i)
      if (watched == opt_[i]) {
        const int to = std::clamp(i + step, 0, 2);
        opt_[to]->setChecked(true);
        opt_[to]->setFocus(Qt::OtherFocusReason);
        return true;
      }
  }
  const bool in = event->type() == QEvent::FocusIn;
  const bool out = event->type() == QEvent::FocusOut;
  if (in || out) {
    if (watched == tabs_ || watched == tabs_->tabBar()) {
      setPanel2(in);
    } else if (watched == chk_) {
      setBold(chk_, in);
    } else {
      for (auto* o : opt_)
        if (watched == o) {
          setBold(o, in);
          if (in) msgPanel()->setText(kOptionHelp);
        }
    }
  }
  return Form::eventFilter(watched, event);
}

void frmSupervisorOptions::tabChanged(int tab) {
  setPanel2(true);
  if (tab == rememberedTab_) return;
  rememberedTab_ = tab;
  switch (tab) {
    case 0:
      msgPanel()->setText(QString());
      lblName_->setText(currentName());
      opt_[printOption_]->setChecked(true);
      break;
    case 1:
      msgPanel()->setText("Click Execute to perform data verification.");
      lblName_->setText(currentName());
      break;
    case 2:
      msgPanel()->setText("Click Execute to perform delete names operation.");
      lblName_->setText("All Clients");
      break;
    default:
      break;
  }
}

void frmSupervisorOptions::choose(int row) {
  pressedRow_ = row;
  if (row == 0) execute();
  finish();
}

void frmSupervisorOptions::execute() {
  const int tab = tabs_->currentIndex();
  if (state_.clients.RecordCount < 1) {
    const char* titles[3] = {"Print Report", "Verify Data", "Delete Names"};
    state_.prompter.ask("Database empty.\rCannot perform this function.", titles[tab], Buttons::Ok,
                        Icon::Information);
    return;
  }
  switch (tab) {
    case 0:
      if (!AskAccessCode(input_, state_.prompter)) return;
      switch (printOption_) {
        case 0: showReportViewer(); break;
        case 1: showPrintSelected(); break;
        case 2: printAllReports(); break;
        default: break;
      }
      break;
    case 1:
      showVerify();
      break;
    case 2:
      DeleteNames(state_);
      break;
    default:
      break;
  }
}

void frmSupervisorOptions::finish() {
  finished_ = true;
  accept();
}

void frmSupervisorOptions::showReportViewer() {
  frmViewReport viewer(state_, printer_, composer(), this);
  viewer.exec();
}

void frmSupervisorOptions::showPrintSelected() {
  frmPrintSelected select(state_, printer_, composer(), this);
  select.exec();
}

void frmSupervisorOptions::showVerify() {
  frmVerify verify(state_, this);
  verify.exec();
}

void frmSupervisorOptions::printAllReports() {
  IdlePointerPrompter prompter(state_.prompter);
  ReportServices services{state_.fs, prompter, printer_, state_.programDir, composer()};
  BusyPointer busy;
  PrintAllReports(state_.clients, services);
}

}  // namespace zv
