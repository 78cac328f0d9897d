#pragma once
// Every message box of the system goes through this interface: the exact
// text (line breaks as the system writes them, "\r" or "\r\n"), the title,
// the buttons and the icon. The screens get the Qt implementation; tests
// script the answers and read back what was asked.
#include <deque>
#include <string>
#include <vector>

namespace zv {

enum class Buttons { Ok, OkCancel, YesNo };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { Ok, Cancel, Yes, No };

// The application title, also the title of a message box that names none.
inline constexpr const char* kAppTitle = "Zorvex";

class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual Answer ask(const std::string& text, const std::string& title, Buttons buttons, Icon icon) = 0;
  virtual void beep() = 0;

  void tell(const std::string& text, const std::string& title = kAppTitle, Icon icon = Icon::None) {
    ask(text, title, Buttons::Ok, icon);
  }
};

// Records every question and answers from a script; an unscripted question
// gets the first button (OK or Yes).
class ScriptedPrompter : public Prompter {
 public:
  struct Asked {
    std::string text;
    std::string title;
    Buttons buttons;
    Icon icon;
  };

  void script(Answer a) { answers_.push_back(a); }
  Answer ask(const std::string& text, const std::string& title, Buttons buttons, Icon icon) override {
    asked.push_back({text, title, buttons, icon});
    if (!answers_.empty()) {
      const Answer a = answers_.front();
      answers_.pop_front();
      return a;
    }
    return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
  }
  void beep() override { ++beeps; }

  std::vector<Asked> asked;
  int beeps = 0;

 private:
  std::deque<Answer> answers_;
};

}  // namespace zv
