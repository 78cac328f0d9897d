#pragma once
// The texts of the onscreen test in its two languages: the four instruction
// screens (general, then one before each section), the help lines, the
// notices and the caption. Spanish texts go with a language whose name in
// upper case is "SPANISH"; every other language gets the English ones.
#include <array>
#include <string>

namespace zv {

bool isSpanish(const std::string& language);

// Instruction texts 0 (general) to 3 (before section 3), line breaks CR LF.
using InstructionTexts = std::array<std::string, 4>;
InstructionTexts BuildInstructions(const std::string& language);

struct PresentationTexts {
  const char* caption;
  const char* questionHelp;
  const char* answerHelp;          // sound on
  const char* answerHelpSilent;    // sound off
  const char* instructionHelp;
  const char* noteTitle;
  const char* sectionNotice;
  const char* finalNotice;
};
const PresentationTexts& presentationTexts(const std::string& language);

// A shown text as a person reads it aloud: no guillemets or quote marks, no
// runs of blanks, and a pause at every line that ends without punctuation.
std::string spokenForm(const std::string& shown);

}  // namespace zv
