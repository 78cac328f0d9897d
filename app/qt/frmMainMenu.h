#pragma once
// The home screen "Zorvex": the client list of the data location, the four
// commands, the menu bar. Start-up runs in Form_Load; every activity opens
// its screens modally and the list is rebuilt when it returns.
#include <QMainWindow>
#include <functional>

#include "app/DataLocation.h"
#include "ui/qt/frmAbout.h"

class QAction;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;

namespace zv {

struct SystemState;
class MenuChoices;
class MsgPanel;

class frmMainMenu : public QMainWindow {
  Q_OBJECT
 public:
  using Activity = std::function<void(SystemState&, QWidget*)>;
  // What the main menu reaches beyond itself; tests replace them.
  struct Hooks {
    Activity editCurrentClient;         // empty: runEditCurrentClient
    Activity addNewClient;              // empty: runAddNewClient
    Activity supervisorOptions;         // empty: runSupervisorOptions
    AskDrive askDrive;                  // empty: frmDriveSelect
    std::function<void()> endProgram;   // empty: close every window and quit
    frmAbout::Timing splashTiming;      // the designed waits unless replaced
  };

  explicit frmMainMenu(SystemState& state, QWidget* parent = nullptr);
  ~frmMainMenu() override;
  Hooks& hooks() { return hooks_; }

  // The start-up sequence; false when the program must end.
  bool Form_Load();
  // Runs every time the main form becomes active again.
  void activation();
  void RefreshNameDisplay();
  void cmdMenuChoice_Click(int index);
  void changeDrive_Click();
  void mnuOptionsNumLock_Click();
  void mnuHelpAbout_Click();
  // The NumLock option as read at start-up: the flag and the menu's tick.
  void setNumLockOption(bool on);
  bool numLockOption() const;
  bool unloadOthers() const { return unloadOthers_; }

  // The list entry of record n: "<n>-" and the 25 stored characters of the name.
  static QString nameEntry(int n, const std::string& nameUtf8);

  QFrame* fraClient() const { return fraClient_; }
  QLabel* fraClientCaption() const { return fraClientCaption_; }
  QListWidget* lbNameDisplay() const { return lbNameDisplay_; }
  QFrame* frMainMenu() const { return frMainMenu_; }
  QPushButton* cmdMenuChoice(int i) const;
  QFrame* sspMenuChoice(int i) const;
  MenuChoices& menuChoices() const { return *choices_; }
  MsgPanel* msgPanel() const { return msg_; }
  QAction* mnuExit() const { return mnuExit_; }
  QMenu* mnuAudio() const { return mnuAudio_; }
  QAction* changeDrive() const { return changeDrive_; }
  QAction* mnuOptionsNumLock() const { return mnuOptionsNumLock_; }
  QAction* mnuHelpAbout() const { return mnuHelpAbout_; }

 public slots:
  // Another copy asked this one to come forward.
  void bringToFront();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build();
  void relayout();
  void editRule();
  void listFocusIn();
  void listFocusOut();
  void listSelectionChanged();
  void setClientFrameFocused(bool focused);
  void runActivity(const Activity& activity, const std::function<void()>& before, const std::function<void()>& after);
  AskDrive askDrive();
  void endProgram();

  SystemState& state_;
  Hooks hooks_;
  bool unloadOthers_ = true;
  QWidget* central_ = nullptr;
  QFrame* frMainMenu_ = nullptr;
  QFrame* fraClient_ = nullptr;
  QLabel* fraClientCaption_ = nullptr;
  QListWidget* lbNameDisplay_ = nullptr;
  MenuChoices* choices_ = nullptr;
  MsgPanel* msg_ = nullptr;
  QAction* mnuExit_ = nullptr;
  QMenu* mnuAudio_ = nullptr;
  QAction* changeDrive_ = nullptr;
  QAction* mnuOptionsNumLock_ = nullptr;
  QAction* mnuHelpAbout_ = nullptr;
};

}  // namespace zv
