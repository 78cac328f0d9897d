#include "supervisor/AccessCode.h"

#include "ui/Prompter.h"

namespace zv {

InputRequest accessCodeRequest() {
  InputRequest r;
  r.caption = "Enter Secret Code";
  r.inputLength = 8;
  r.helpMessage = "Enter the secret code to continue.  For security, asterisks (*) will show as you type.";
  r.passwordInput = true;
  return r;
}

bool isAccessCode(const std::string& entry) {
  std::string upper = entry;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper == kAccessCode;
}

bool AskAccessCode(InputPrompt& input, Prompter& prompter) {
  for (;;) {
    const InputReply reply = input.ask(accessCodeRequest());
    if (reply.cancelled) return false;
    if (isAccessCode(reply.value)) return true;
    prompter.ask("Incorrect password.  Please try again.", "Incorrect Password", Buttons::Ok, Icon::Critical);
  }
}

}  // namespace zv
