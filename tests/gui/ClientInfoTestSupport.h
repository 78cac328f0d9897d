#pragma once
// Shared rig for the intake, grid and entry-method screen tests: a program
// folder with a question database, a data location, the system state with a
// scripted prompter, keys sent where the focus is, and a driver for nested
// modal screens.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/SystemState.h"
#include "app/qt/frmMainMenu.h"
#include "ui/qt/frmAbout.h"
#include "tests/gui/GuiSupport.h"
#include "records/ClientFile.h"
#include "tests/core/PresentationSupport.h"
#include "tests/core/TestSupport.h"
#include "ui/Prompter.h"

namespace zvtest {

// The onscreen test's rig with the installed question database.
struct IntakeRig : PresentationRig {
  // The data location: a folder of its own, or the program's default one.
  explicit IntakeRig(bool defaultLocation = false) {
    if (defaultLocation) state.dataLocation = program.file("data");
    real.makeDirectories(state.dataLocation);
    std::filesystem::copy_file(std::string(ZV_PROGRAM_DIR) + "/ZV.db", program.file("ZV.db"));
    zv::LoadClientFile(fs, state.clientFile(), state.clients);
  }

  std::string clientFile() const { return state.clientFile(); }

  // Stores clients of these names (Windows-1252) with every field filled and
  // answers "1", and loads them; `current` (if any) becomes the current client.
  void storeNames(const std::vector<std::string>& names, int current = 0) {
    std::string bytes;
    for (std::size_t i = 1; i <= names.size(); ++i) {
      TestClient c{names[i - 1], "11" + std::to_string(i), "30", "1", "2", "12", "3", "05/06/1980", "01/02/2020"};
      for (int k = 0; k < zv::kCourtFieldCount; ++k) c.court[static_cast<std::size_t>(k)] = std::to_string(k % 10);
      c.responses = std::string(162, '1');
      bytes += c.record().bytes();
    }
    writeBytes(clientFile(), bytes);
    zv::LoadClientFile(fs, clientFile(), state.clients);
    if (current) state.clients.CurrentRecord = static_cast<std::int16_t>(current);
  }
  // n clients named "Client 1"..
  void storeClients(int n, int current = 0) { storeNames(clientNames(n), current); }

  // Replaces the question database by one table: `language` with these items.
  void questionTable(const std::vector<BankItem>& items, const std::string& language = "English") {
    std::filesystem::remove(program.file("ZV.db"));
    languageTable(program.file("ZV.db"), "", language, items);
  }
};

// The main menu over a rig whose data location is the program's default
// folder, its activities replaced by notes of their names (unless a hook is
// set back to null) and the drive dialog by answers given in advance.
struct MenuRig : IntakeRig {
  zv::frmMainMenu menu{state};
  std::vector<std::string> calls;
  int ended = 0;
  std::function<void()> inEdit, inAdd, inSupervisor;
  std::vector<std::string> drives;

  explicit MenuRig(const std::vector<std::string>& names = {}, bool loaded = true) : IntakeRig(true) {
    if (!names.empty()) storeNames(names);
    auto& h = menu.hooks();
    auto hook = [this](const char* name, std::function<void()>& during) {
      return [this, name, &during](zv::SystemState&, QWidget*) {
        calls.push_back(name);
        if (during) during();
      };
    };
    h.editCurrentClient = hook("edit", inEdit);
    h.addNewClient = hook("add", inAdd);
    h.supervisorOptions = hook("supervisor", inSupervisor);
    h.askDrive = [this](const std::string&) {
      if (drives.empty()) throw std::logic_error("drive dialog not expected");
      const std::string d = drives.front();
      drives.erase(drives.begin());
      return d;
    };
    h.endProgram = [this] { ++ended; };
    h.splashTiming = zv::frmAbout::noWaits();
    if (loaded) { EXPECT_TRUE(load()); }
  }
  QListWidget* list() { return menu.lbNameDisplay(); }
  QPushButton* cmd(int i) { return menu.cmdMenuChoice(i); }
  // Start-up, then the menu active as the user sees it.
  bool load() {
    const bool ok = menu.Form_Load();
    if (ok) {
      QApplication::setActiveWindow(&menu);
      menu.activation();
      QApplication::processEvents();
    }
    return ok;
  }
};

// Keys go where the focus is (press: GuiSupport.h), as a user's keys do.
inline void type(const QString& s) {
  for (char32_t c : s.toUcs4()) {
    const QString one = QString::fromUcs4(&c, 1);
    if (c < 0x80) {
      QTest::keyClicks(focused(), one);
    } else {
      // Characters beyond ASCII have no key code; they arrive as typed text.
      QTest::sendKeyEvent(QTest::Press, focused(), Qt::Key_unknown, one, Qt::NoModifier);
      QTest::sendKeyEvent(QTest::Release, focused(), Qt::Key_unknown, one, Qt::NoModifier);
    }
    QApplication::processEvents();
  }
}

// The focus given as Tab gives it.
inline void focusOn(QWidget* w) {
  w->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
}
// A value typed into a field, which is left with Enter.
inline void enter(QWidget* field, const QString& value) {
  focusOn(field);
  type(value);
  press(Qt::Key_Return);
}

// Each value typed into the focused field, which is left with Enter: what the
// field showed before Enter, and the name of the widget the focus went to.
struct Keyed {
  QStringList shown, focus;
};
inline Keyed keyEach(std::initializer_list<QString> values) {
  Keyed k;
  for (const QString& v : values) {
    type(v);
    auto* list = qobject_cast<QComboBox*>(focused());
    auto* text = qobject_cast<QLineEdit*>(focused());
    k.shown << (list ? list->currentText() : text ? text->text() : QString());
    press(Qt::Key_Return);
    k.focus << (focused() ? focused()->objectName() : QString("none"));
  }
  return k;
}

// Each value typed into the focused field and left with Enter, then Enter
// once more on "Information OK".
inline void keyFields(std::initializer_list<QString> values) {
  keyEach(values);
  press(Qt::Key_Return);
}

// A complete new client: ID and birth date not available (N), age 25,
// single, race 2, male, 11 years of education.
inline void keyClientInformation(const QString& name) { keyFields({name, "N", "25", "1", "2", "1", "11", "N"}); }
// Court history: 19 for the first arrest and conviction, 1 for the rest.
inline void keyCourtHistory() { keyFields({"19", "19", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1"}); }

// Drives nested modal screens: each step waits until the screen with the
// given object name is the active modal widget, then acts on it. A step that
// never comes is reported and the open screens are closed.
class ModalScript {
 public:
  using Action = std::function<void(QWidget*)>;
  void then(const char* screen, Action a) { steps_.push_back({screen, std::move(a)}); }
  void start(int timeoutMs = 60000) {
    deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    QTimer::singleShot(20, &guard_, [this] { poll(); });
  }
  // Starts, runs `body` (which opens the first screen) and expects every step to have come.
  void run(const std::function<void()>& body, int timeoutMs = 60000) {
    start(timeoutMs);
    body();
    EXPECT_TRUE(done()) << failure();
  }
  bool done() const { return next_ == steps_.size(); }
  const std::string& failure() const { return failure_; }

 private:
  struct Step {
    std::string screen;
    Action action;
  };
  void poll() {
    if (done() || !failure_.empty()) return;
    QWidget* w = QApplication::activeModalWidget();
    if (w && w->objectName().toStdString() == steps_[next_].screen && w->isVisible()) {
      Action a = steps_[next_++].action;
      QTimer::singleShot(20, &guard_, [this] { poll(); });
      QApplication::setActiveWindow(w);
      QApplication::processEvents();
      a(w);
      return;
    }
    if (std::chrono::steady_clock::now() > deadline_) {
      failure_ = "timed out waiting for " + steps_[next_].screen + " (active: " +
                 (w ? w->objectName().toStdString() : std::string("none")) + ")";
      closeAll();
      return;
    }
    QTimer::singleShot(20, &guard_, [this] { poll(); });
  }
  static void closeAll() {
    if (QWidget* w = QApplication::activeModalWidget()) {
      w->close();
      QTimer::singleShot(20, [] { closeAll(); });
    }
  }
  QObject guard_;  // pending polls end with the script
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  std::string failure_;
  std::chrono::steady_clock::time_point deadline_;
};

// Presses these keys, one after the other, on the screen that comes.
inline ModalScript::Action keys(std::initializer_list<Qt::Key> list) {
  return [all = std::vector<Qt::Key>(list)](QWidget*) {
    for (Qt::Key k : all) press(k);
  };
}

// Types an access code into the input box, then Enter on its field and on "Information OK".
inline ModalScript::Action accessCode(const char* code) {
  return [code](QWidget*) {
    type(code);
    press(Qt::Key_Return);
    press(Qt::Key_Return);
  };
}

}  // namespace zvtest
