#include "app/qt/frmMainMenu.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "app/Settings.h"
#include "app/StartUp.h"
#include "app/SystemState.h"
#include "app/qt/Activities.h"
#include "app/qt/frmDriveSelect.h"
#include "sheets/qt/AnswerSheetPrint.h"
#include "sheets/qt/frmScannerSelect.h"
#include "ui/qt/ScreenKit.h"

namespace zv {
namespace {

constexpr const char* kListHelp = "Use up or down arrow keys or mouse to select client.";
constexpr const char* kCaptions[4] = {"Edit Current Client", "Add New Client", "Supervisor Options",
                                      "Exit Application"};
constexpr const char* kHelp[4] = {
    "Edit client's information.",
    "Enter a new client. Test client on computer or enter data from answer sheet.",
    "Print client report, verify data entry or delete client names.",
    "Quit the program.",
};

// Layout in twips, as designed.
constexpr int kFormWidth = 9000, kFormHeight = 6600;
constexpr int kFrameWidth = 8300, kFrameHeight = 4200;
constexpr int kClientWidth = 4200, kClientHeight = 4200;
constexpr int kChoiceLeft = 4700, kChoiceTop = 300, kChoiceStep = 1000, kChoiceWidth = 3600, kChoiceHeight = 720;
constexpr int kInset = 90;

// The client list tells the form about key presses and focus changes after
// it has handled them itself.
class NameList : public QListWidget {
 public:
  using QListWidget::QListWidget;
  std::function<void()> onKey, onFocusIn, onFocusOut;

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    QListWidget::keyPressEvent(e);
    if (onKey) onKey();
  }
  void focusInEvent(QFocusEvent* e) override {
    QListWidget::focusInEvent(e);
    // The view makes the first row current on focus; without a selection the
    // first arrow key must pick the first client, not the second.
    if (selectedItems().isEmpty()) selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    if (onFocusIn) onFocusIn();
  }
  void focusOutEvent(QFocusEvent* e) override {
    QListWidget::focusOutEvent(e);
    if (onFocusOut) onFocusOut();
  }
};

void place(QWidget* w, int left, int top, int width, int height) {
  w->setGeometry(twips(left), twips(top), twips(width), twips(height));
}

}  // namespace

frmMainMenu::frmMainMenu(SystemState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
  setObjectName("frmMainMenu");
  setWindowTitle(kAppTitle);
  build();
}

frmMainMenu::~frmMainMenu() {
  // Nothing may call back into this form while its widgets are destroyed.
  if (auto* list = static_cast<NameList*>(lbNameDisplay_)) list->onKey = list->onFocusIn = list->onFocusOut = nullptr;
  if (central_) central_->removeEventFilter(this);
  if (choices_) choices_->detach();
}

void frmMainMenu::build() {
  central_ = new QWidget(this);
  central_->setObjectName("form");
  setCentralWidget(central_);
  central_->installEventFilter(this);

  frMainMenu_ = new QFrame(central_);
  frMainMenu_->setObjectName("frMainMenu");
  frMainMenu_->resize(twips(kFrameWidth), twips(kFrameHeight));

  fraClient_ = new QFrame(frMainMenu_);
  fraClient_->setObjectName("fraClient");
  fraClient_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  fraClient_->setAutoFillBackground(true);
  place(fraClient_, 0, 0, kClientWidth, kClientHeight);
  fraClientCaption_ = new QLabel("Client List", fraClient_);
  fraClientCaption_->setObjectName("fraClientCaption");
  place(fraClientCaption_, 120, 60, kClientWidth - 240, 300);

  auto* list = new NameList(fraClient_);
  list->setObjectName("lbNameDisplay");
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  // Entries keep the name's blank padding; a fixed font shows it as stored.
  list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  place(list, 120, 420, kClientWidth - 240, kClientHeight - 540);
  list->onKey = [this] { editRule(); };
  list->onFocusIn = [this] { listFocusIn(); };
  list->onFocusOut = [this] { listFocusOut(); };
  lbNameDisplay_ = list;
  connect(list, &QListWidget::itemSelectionChanged, this, &frmMainMenu::listSelectionChanged);

  msg_ = new MsgPanel(central_);
  choices_ = new MenuChoices(this, msg_);
  for (int i = 0; i < 4; ++i) {
    QPushButton* b = choices_->add(kCaptions[i], kHelp[i], frMainMenu_);
    place(choices_->panel(i), kChoiceLeft, kChoiceTop + i * kChoiceStep, kChoiceWidth, kChoiceHeight);
    b->setGeometry(twips(kInset), twips(kInset), twips(kChoiceWidth - 2 * kInset), twips(kChoiceHeight - 2 * kInset));
  }
  connect(choices_, &MenuChoices::chosen, this, &frmMainMenu::cmdMenuChoice_Click);
  setTabOrder(lbNameDisplay_, cmdMenuChoice(0));
  for (int i = 0; i < 3; ++i) setTabOrder(cmdMenuChoice(i), cmdMenuChoice(i + 1));
  cmdMenuChoice(0)->setEnabled(false);

  mnuExit_ = menuBar()->addAction("E&xit!");
  mnuExit_->setObjectName("mnuExit");
  connect(mnuExit_, &QAction::triggered, this, [this] { cmdMenuChoice_Click(3); });
  mnuAudio_ = menuBar()->addMenu("&Options");
  mnuAudio_->setObjectName("mnuAudio");
  changeDrive_ = mnuAudio_->addAction("&Change Drive");
  changeDrive_->setObjectName("changeDrive");
  connect(changeDrive_, &QAction::triggered, this, &frmMainMenu::changeDrive_Click);
  mnuOptionsNumLock_ = mnuAudio_->addAction("&Num Lock Always On");
  mnuOptionsNumLock_->setObjectName("mnuOptionsNumLock");
  mnuOptionsNumLock_->setCheckable(true);
  connect(mnuOptionsNumLock_, &QAction::triggered, this, &frmMainMenu::mnuOptionsNumLock_Click);
  QAction* printSheet = mnuAudio_->addAction("&Print Answer Sheet");
  printSheet->setObjectName("mnuPrintAnswerSheet");
  connect(printSheet, &QAction::triggered, this, [this] { runPrintAnswerSheet(state_, this); });
  QAction* scanner = mnuAudio_->addAction(QString::fromUtf8("&Scanner\u2026"));
  scanner->setObjectName("mnuOptionsScanner");
  connect(scanner, &QAction::triggered, this, [this] { runScannerSelect(state_, this); });
  mnuHelpAbout_ = menuBar()->addAction("&About...");
  mnuHelpAbout_->setObjectName("mnuHelpAbout");
  connect(mnuHelpAbout_, &QAction::triggered, this, &frmMainMenu::mnuHelpAbout_Click);

  setClientFrameFocused(false);
  resize(twips(kFormWidth), twips(kFormHeight) + menuBar()->sizeHint().height());
  relayout();
}

QPushButton* frmMainMenu::cmdMenuChoice(int i) const { return choices_->button(i); }
QFrame* frmMainMenu::sspMenuChoice(int i) const { return choices_->panel(i); }

bool frmMainMenu::eventFilter(QObject* watched, QEvent* event) {
  if (watched == central_ && event->type() == QEvent::Resize) relayout();
  return QMainWindow::eventFilter(watched, event);
}

void frmMainMenu::relayout() {
  const int h = msg_->sizeHint().height();
  msg_->setGeometry(0, central_->height() - h, central_->width(), h);
  placeFrame(frMainMenu_, central_);
}

QString frmMainMenu::nameEntry(int n, const std::string& nameUtf8) {
  return QString::number(n) + "-" + QString::fromStdString(nameUtf8);
}

void frmMainMenu::RefreshNameDisplay() {
  if (state_.clients.RecordCount < 1 || !state_.Refresh) return;
  lbNameDisplay_->clear();
  for (int n = 1; n <= state_.clients.RecordCount; ++n)
    lbNameDisplay_->addItem(nameEntry(n, state_.clients.slot[static_cast<std::size_t>(n)].text(Field::Name)));
}

void frmMainMenu::editRule() { cmdMenuChoice(0)->setEnabled(!lbNameDisplay_->selectedItems().isEmpty()); }

void frmMainMenu::listSelectionChanged() {
  const auto selected = lbNameDisplay_->selectedItems();
  if (!selected.isEmpty()) {
    bool ok = false;
    const int n = selected.first()->text().section('-', 0, 0).toInt(&ok);
    if (ok && n >= 1 && n <= state_.clients.RecordCount) state_.clients.CurrentRecord = static_cast<std::int16_t>(n);
  }
  editRule();
}

void frmMainMenu::listFocusIn() {
  if (state_.clients.RecordCount < 1) {
    cmdMenuChoice(1)->setFocus(Qt::TabFocusReason);
    return;
  }
  setClientFrameFocused(true);
  msg_->setText(kListHelp);
  editRule();
}

void frmMainMenu::listFocusOut() {
  setClientFrameFocused(false);
  msg_->clear();
}

void frmMainMenu::setClientFrameFocused(bool focused) {
  QPalette p = fraClient_->palette();
  p.setColor(QPalette::Window, focused ? QColor(0, 255, 255) : QColor(0, 0, 255));
  fraClient_->setPalette(p);
  QPalette c = fraClientCaption_->palette();
  c.setColor(QPalette::WindowText, focused ? QColor(0, 0, 0) : QColor(255, 255, 255));
  fraClientCaption_->setPalette(c);
  QFont f = fraClientCaption_->font();
  f.setBold(focused);
  fraClientCaption_->setFont(f);
}

void frmMainMenu::activation() {
  placeFrame(frMainMenu_, central_);
  choices_->ResetMenuChoices(3);
  editRule();
  RefreshNameDisplay();
  // After every return the user picks a client again before editing.
  cmdMenuChoice(0)->setEnabled(false);
  if (unloadOthers_) {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w != this && w->isVisible() && qobject_cast<QDialog*>(w)) w->close();
  }
  if (!isVisible()) return;
  const int k = choices_->focusedChoice();
  if (k >= 0 && cmdMenuChoice(k)->isEnabled()) cmdMenuChoice(k)->setFocus(Qt::OtherFocusReason);
  else lbNameDisplay_->setFocus(Qt::OtherFocusReason);
}

void frmMainMenu::runActivity(const Activity& activity, const std::function<void()>& before,
                              const std::function<void()>& after) {
  before();
  frMainMenu_->hide();
  try {
    activity(state_, this);
  } catch (const ZvError& e) {
    // An activity's screens report their own errors; one that escapes must
    // not take the whole program down.
    state_.prompter.ask(numberedErrorMessage(e), kAppTitle, Buttons::Ok, Icon::None);
  }
  after();
  activation();
}

void frmMainMenu::cmdMenuChoice_Click(int index) {
  switch (index) {
    case 0:
      runActivity(
          hooks_.editCurrentClient ? hooks_.editCurrentClient : Activity(runEditCurrentClient),
          [this] {
            unloadOthers_ = false;
            state_.Refresh = false;
          },
          [this] {
            unloadOthers_ = true;
            frMainMenu_->show();
            state_.Refresh = true;
          });
      break;
    case 1:
      runActivity(
          hooks_.addNewClient ? hooks_.addNewClient : Activity(runAddNewClient),
          [this] {
            state_.ScannedAnswers = false;
            state_.Refresh = false;
          },
          [this] {
            frMainMenu_->show();
            state_.Refresh = true;
          });
      break;
    case 2:
      runActivity(
          hooks_.supervisorOptions ? hooks_.supervisorOptions : Activity(runSupervisorOptions),
          [this] { state_.Refresh = false; },
          [this] {
            frMainMenu_->show();
            state_.Refresh = true;
          });
      break;
    case 3:
      endProgram();
      break;
    default:
      break;
  }
}

AskDrive frmMainMenu::askDrive() {
  if (hooks_.askDrive) return hooks_.askDrive;
  return [this](const std::string& inForce) {
    return frmDriveSelect::ask(state_.prompter, inForce, Settings(state_.fs, state_.programDir).defaultDataLocation(),
                               isVisible() ? this : nullptr);
  };
}

void frmMainMenu::endProgram() {
  if (hooks_.endProgram) {
    hooks_.endProgram();
    return;
  }
  QApplication::closeAllWindows();
  QCoreApplication::quit();
}

void frmMainMenu::changeDrive_Click() {
  if (SelectDataLocation(state_, false, askDrive()) == LocationOutcome::EndProgram) {
    endProgram();
    return;
  }
  // The list always mirrors the table, also when the procedure was left
  // after a reload: a stale entry would pick a client that is not there.
  lbNameDisplay_->clear();
  RefreshNameDisplay();
  activation();
}

void frmMainMenu::setNumLockOption(bool on) {
  state_.NumLock = on;
  mnuOptionsNumLock_->setChecked(on);
}

bool frmMainMenu::numLockOption() const { return state_.NumLock; }

void frmMainMenu::mnuOptionsNumLock_Click() {
  const bool on = !state_.NumLock;
  try {
    Settings(state_.fs, state_.programDir).writeNumLock(on);
  } catch (const ZvError& e) {
    state_.prompter.ask(fileErrorMessage(e), kAppTitle, Buttons::Ok, Icon::None);
    mnuOptionsNumLock_->setChecked(state_.NumLock);
    return;
  }
  setNumLockOption(on);
}

void frmMainMenu::mnuHelpAbout_Click() {
  {
    frmAbout about(false, hooks_.splashTiming, this);
    about.exec();
  }
  activation();
}

bool frmMainMenu::Form_Load() {
  StartUpScreens screens;
  screens.mouseWait = [] { MouseWait(); };
  screens.mouseDefault = [] { MouseDefault(); };
  screens.askDrive = askDrive();
  screens.splash = [this] {
    // The main form stays hidden, so it takes no input before the splash has closed.
    frmAbout splash(true, hooks_.splashTiming);
    splash.show();
    splash.waitForFade();
    splash.closeScreen();
  };
  screens.showMainMenu = [this] {
    show();
    CenterForm(this);
    activation();
  };
  screens.numLock = [this](bool on) { setNumLockOption(on); };
  if (RunStartUp(state_, screens)) return true;
  hide();
  return false;
}

void frmMainMenu::bringToFront() {
  QWidget* active = QApplication::activeModalWidget();
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isVisible() || w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip) continue;
    if (w->isMinimized()) w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    w->raise();
  }
  QWidget* target = active ? active : (isVisible() ? this : QApplication::activeWindow());
  if (target) {
    target->raise();
    target->activateWindow();
  }
}

}  // namespace zv
