#pragma once
// Shared rig for the intake, grid and entry-method screen tests: a program
// folder with a question database, a data location, the system state with a
// scripted prompter, keys sent where the focus is, and a driver for nested
// modal screens.
#include <sqlite3.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/SystemState.h"
#include "tests/gui/GuiSupport.h"
#include "records/ClientFile.h"
#include "tests/core/TestSupport.h"
#include "ui/Prompter.h"

namespace zvtest {

struct IntakeRig {
  TempDir program;
  TempDir data;
  zv::RealFileSystem real;
  zv::FaultyFileSystem fs{real};
  zv::ScriptedPrompter prompter;
  zv::SystemState state{fs, prompter, program.path()};

  IntakeRig() {
    state.dataLocation = data.path();
    std::filesystem::copy_file(std::string(ZV_PROGRAM_DIR) + "/ZV.db", program.file("ZV.db"));
    zv::LoadClientFile(fs, state.clientFile(), state.clients);
  }

  std::string clientFile() const { return state.clientFile(); }

  // Stores n clients named "Client 1".. with answers "1" and loads them.
  void storeClients(int n) {
    std::string bytes;
    for (int i = 1; i <= n; ++i) {
      zv::ClientRecord r;
      r.setRaw(zv::Field::Name, "Client " + std::to_string(i));
      r.setRaw(zv::Field::SSN, "11" + std::to_string(i));
      r.setRaw(zv::Field::Age, "30");
      r.setRaw(zv::Field::Gender, "1");
      r.setRaw(zv::Field::Race, "2");
      r.setRaw(zv::Field::Education, "12");
      r.setRaw(zv::Field::Marital, "3");
      r.setRaw(zv::Field::DateOfBirth, "05/06/1980");
      r.setRaw(zv::Field::DateTested, "01/02/2020");
      for (int c = 0; c < zv::kCourtFieldCount; ++c) r.setRaw(zv::courtField(c), std::to_string(c % 10));
      r.setRaw(zv::Field::Responses, std::string(162, '1'));
      r.setRaw(zv::Field::EditCount, "0");
      r.setRaw(zv::Field::NameDeleted, "0");
      bytes += r.bytes();
    }
    writeBytes(clientFile(), bytes);
    zv::LoadClientFile(fs, clientFile(), state.clients);
  }

  // Replaces the question database: an "English" table with the rows
  // (ID, ANSWER2) in the given stored order.
  void questionTable(const std::vector<std::pair<int, std::string>>& rows) {
    const std::string path = program.file("ZV.db");
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE English (ID INTEGER, TestQuestion TEXT, QuestionAudio TEXT, ANSWER1 TEXT, "
                 "ANSWER2 TEXT, ANSWER3 TEXT, ANSWER4 TEXT, ANSWER5 TEXT)",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO English (ID, TestQuestion, ANSWER1, ANSWER2) VALUES (?, 'Q', 'A', ?)", -1,
                       &st, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (const auto& [id, answer2] : rows) {
      sqlite3_reset(st);
      sqlite3_bind_int(st, 1, id);
      sqlite3_bind_text(st, 2, answer2.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_step(st);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(st);
    sqlite3_close(db);
  }
};

// The standard bank shape: 105 true/false, 34 frequency items, 23 questions.
inline std::vector<std::pair<int, std::string>> standardRows(const std::string& sectionThree = "Once") {
  std::vector<std::pair<int, std::string>> rows;
  for (int i = 1; i <= 162; ++i) rows.push_back({i, i <= 105 ? "False" : i <= 139 ? "Sometimes" : sectionThree});
  return rows;
}

// Keys go where the focus is, as a user's keys do.
inline QWidget* focused() { return QApplication::focusWidget(); }
inline void press(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
  QTest::keyClick(focused(), k, m);
  QApplication::processEvents();
}
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

}  // namespace zvtest
