#pragma once
// The supervisor's access code and the prompt loop that asks for it. The
// prompt itself is a screen (frmMyInputBox); the loop talks to it through
// InputPrompt so it runs the same on screen and in tests.
#include <deque>
#include <string>
#include <vector>

namespace zv {

class Prompter;

// One letter, compared with the entry in upper case.
inline constexpr const char* kAccessCode = "K";

// What the caller sets on the prompt before showing it.
struct InputRequest {
  std::string caption;
  int inputLength = 0;
  std::string helpMessage;
  bool passwordInput = false;
};

struct InputReply {
  bool cancelled = false;
  std::string value;  // the confirmed text (UTF-8) when not cancelled
};

// Shows one prompt modally and returns how it was left.
class InputPrompt {
 public:
  virtual ~InputPrompt() = default;
  virtual InputReply ask(const InputRequest& request) = 0;
};

// Answers prompts from a script and keeps every request; an unscripted
// prompt is cancelled.
class ScriptedInputPrompt : public InputPrompt {
 public:
  void type(const std::string& value) { replies_.push_back({false, value}); }
  void cancel() { replies_.push_back({true, {}}); }
  InputReply ask(const InputRequest& request) override {
    requests.push_back(request);
    if (replies_.empty()) return {true, {}};
    InputReply r = replies_.front();
    replies_.pop_front();
    return r;
  }
  std::vector<InputRequest> requests;

 private:
  std::deque<InputReply> replies_;
};

// The request AskAccessCode shows.
InputRequest accessCodeRequest();

// True when the entry, in upper case, is the access code.
bool isAccessCode(const std::string& entry);

// Asks until the right code is entered (true) or the prompt is cancelled
// (false); a wrong code gets "Incorrect password.  Please try again.".
bool AskAccessCode(InputPrompt& input, Prompter& prompter);

}  // namespace zv
