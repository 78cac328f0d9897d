#pragma once
// The onscreen test: the instruction screens, then the items one at a time
// with their answer rows, spoken through the wave player. The rules live in
// testing/Presentation.h; this screen shows its state and reports the keys.
// It cannot be left but by storing the answers or by Alt+Shift+F10.
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>
#include <memory>

#include "testing/Presentation.h"
#include "ui/qt/ScreenKit.h"

namespace zv {

struct SystemState;

class frmPresentQA : public Form {
  Q_OBJECT
 public:
  // The caller names the language (the question table); the screen plays
  // through the system's wave player, or the audio device when it has none.
  frmPresentQA(SystemState& state, const QString& language, QWidget* parent = nullptr);
  ~frmPresentQA() override;

  // False when the question rows could not be read; the error has been
  // shown and the screen is not to be opened.
  bool ready() const { return ready_; }
  const Presentation& presentation() const { return core_; }

  QGroupBox* fraInstructions() const { return fraInstructions_; }
  QPlainTextEdit* txtInstructions() const { return txtInstructions_; }
  QGroupBox* fraQuestions() const { return fraQuestions_; }
  QGroupBox* fraAnswer() const { return fraAnswer_; }
  QPlainTextEdit* txtQuestion() const { return txtQuestion_; }
  QPushButton* cmdMenuChoice(int i) const { return rows_.at(static_cast<std::size_t>(i)).button; }
  QLineEdit* txtButtonText(int i) const { return rows_.at(static_cast<std::size_t>(i)).text; }
  QFrame* sspMenuChoice(int i) const { return rows_.at(static_cast<std::size_t>(i)).panel; }

 protected:
  void activate() override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  struct Row {
    QFrame* panel = nullptr;
    QPushButton* button = nullptr;
    QLineEdit* text = nullptr;
  };
  void build();
  void sizeFrames();
  // Shows the presentation's state, then moves the focus where it asks.
  void refresh();
  void syncView();
  void moveFocus(Presentation::Control c);
  bool previewKey(QObject* watched, QKeyEvent* k);
  bool controlKey(QObject* watched, QKeyEvent* k);
  void focusChanged(QObject* watched, bool in);
  int rowOf(QObject* o) const;
  // Runs an event of the presentation; an error of the question rows is shown.
  template <class F>
  void run(F&& f);

  SystemState& state_;
  std::unique_ptr<WavePlayer> ownPlayer_;  // before core_: the presentation closes it last
  Presentation core_;
  bool ready_ = false;
  bool syncing_ = false;
  bool moving_ = false;
  bool focusSeen_ = false;  // a control reported getting the focus

  QGroupBox* fraInstructions_;
  QPlainTextEdit* txtInstructions_;
  QGroupBox* fraQuestions_;
  QGroupBox* fraAnswer_;
  QPlainTextEdit* txtQuestion_;
  std::array<Row, kMaxAnswers> rows_;
};

}  // namespace zv
