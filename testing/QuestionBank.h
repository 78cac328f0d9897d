#pragma once
// What the onscreen test reads from the question database: the language
// tables it can present, each item's wording and answers with the sound
// files that speak them, and where those files live.
#include <array>
#include <string>
#include <vector>

#include "app/QuestionDb.h"

namespace zv {

inline constexpr int kMaxAnswers = 5;

// The tables named exactly "English" or "Spanish", in the database's order.
std::vector<std::string> presentationLanguages(const Database& db);

// The folder of a language's sound files: SndPath/ZVTest/sound/<language>/.
std::string soundFolder(const std::string& sndPath, const std::string& language);
// A sound file name from a table's base name: trimmed, ".wav" appended; an
// empty name stays empty (nothing is played).
std::string soundFileName(const std::string& base);
// The sound file spoken with instruction text k (0 to 3).
std::string instructionSound(int k);

struct Choice {
  bool shown = false;  // ANSWER3 to ANSWER5 may be empty or Null: no such answer
  std::string text;
  std::string sound;
};

// One row of a language table as the presentation shows it.
struct ShownItem {
  int id = 0;
  std::string question;  // "<ID>. <TestQuestion>"
  std::string questionSound;
  std::array<Choice, kMaxAnswers> choices;
};

// The current row of a language table (throws ZvError for a missing field or row).
ShownItem readItem(const Recordset& row);

// A sound file a language table or the instructions name, with what it speaks.
struct NamedSound {
  std::string file;   // e.g. "EQ017.wav"
  int item = 0;       // 0: an instruction sound
  int answer = 0;     // 1 to 5 for an answer, 0 for the question (or the instruction number)
  std::string text;   // the words shown (an instruction's whole text)
};

// Every sound file a language needs, each once, in order: the four
// instruction sounds, then item by item the question and its answers.
// Identical file names count once (the first use names it).
std::vector<NamedSound> namedSounds(const Database& db, const std::string& language);

}  // namespace zv
