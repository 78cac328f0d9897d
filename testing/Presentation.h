#pragma once
// The onscreen test as a state machine the presentation screen drives: the
// instruction screens, the 162 items one at a time with their answers, the
// notices at the end of each section, going back one item, abandoning, the
// spoken sounds, and storing the answers through the client's slot.
//
// The screen reports what happens (a control got the focus, a key, an answer
// chosen) and shows what this holds afterwards; where the rules move the
// focus, `takeFocusRequest` says where to.
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "app/QuestionDb.h"
#include "testing/Instructions.h"
#include "testing/QuestionBank.h"
#include "testing/WavePlayer.h"

namespace zv {

struct SystemState;

class Presentation {
 public:
  enum class Control { None, Instructions, Question, Answer };
  enum class Outcome { Open, Stored, Abandoned, Lost };

  Presentation(SystemState& state, WavePlayer& player, std::string language);
  ~Presentation();
  Presentation(const Presentation&) = delete;
  Presentation& operator=(const Presentation&) = delete;

  // Loading: the question database and the language's rows are opened, item
  // 1 is loaded and every answer cleared. Throws ZvError from the database.
  void load();
  // Activation: section ends, the player set up (sound off when it fails),
  // the instruction texts built, the general instructions shown and spoken.
  void activate();

  // Called before every message box, so that the screen shows the state first.
  void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }

  // --- What the screen shows --------------------------------------------
  const std::string& language() const { return language_; }
  const PresentationTexts& texts() const { return presentationTexts(language_); }
  bool instructionsVisible() const { return instructionsVisible_; }
  const std::string& instructions() const { return instructionText_; }
  bool questionsVisible() const { return questionsVisible_; }
  const ShownItem& item() const { return item_; }
  int itemCounter() const { return counter_; }
  const std::string& message() const { return message_; }
  bool questionLit() const { return questionLit_; }
  int litAnswer() const { return litAnswer_; }  // -1: none
  bool soundOn() const { return soundOn_; }
  Outcome outcome() const { return outcome_; }
  bool closed() const { return outcome_ != Outcome::Open; }
  int answer(int item) const { return answers_.at(static_cast<std::size_t>(item)); }
  std::string responses() const;
  // Where the rules want the focus now (None: where it is); reading clears it.
  // For Answer, `focusAnswer` names the row.
  Control takeFocusRequest();
  int focusAnswer() const { return focusAnswer_; }

  // --- What happens on the screen ----------------------------------------
  void instructionsFocused();
  void instructionsKey();  // Enter or Tab in the instruction text
  void questionFocused();
  void questionLeft() { questionLit_ = false; }
  void answerFocused(int i);
  void answerLeft(int i);
  void choose(int i);
  void goBack();   // F10
  void abandon();  // Alt+Shift+F10
  // Closes the player, the rows and the database (any way the screen closes).
  void close();

  // The answer row the arrow keys lead to from row `from` (step -1 or +1),
  // or -1 for the question field: only shown rows count.
  int answerAfter(int from, int step) const;

 private:
  void GetNextQuestion();
  void TestInstructions(int k);
  void complete();
  void play(const std::string& file);
  void notify();

  SystemState& state_;
  WavePlayer& player_;
  std::string language_;
  std::string soundFolder_;
  bool open_ = false;  // player, rows and database to close
  std::optional<Database> db_;
  Recordset rows_;
  InstructionTexts instructionTexts_{};

  std::array<int, 163> answers_{};  // ItemAnswers, 1 to 162
  int counter_ = 0;
  bool firstCall_ = true;
  bool goingBack_ = false;
  bool general_ = false;
  bool soundOn_ = true;
  ShownItem item_;

  bool instructionsVisible_ = false;
  bool questionsVisible_ = false;
  std::string instructionText_;
  std::string message_;
  bool questionLit_ = false;
  int litAnswer_ = -1;
  int lastChosen_ = -1;
  Control focusRequest_ = Control::None;
  int focusAnswer_ = 0;
  Outcome outcome_ = Outcome::Open;
  std::function<void()> observer_;
};

}  // namespace zv
