#pragma once
// The spoken voices of the onscreen test, made from the question tables and
// the instruction texts by a speech synthesiser: what each wave file says,
// in which voice, and which files a build has to make again. Every sound
// folder keeps a list (Voices.txt) of what its waves were made from, one line
// a file, so a changed text remakes only its own file.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/QuestionDb.h"

namespace zv {

inline constexpr const char* kVoiceListName = "Voices.txt";

struct Voice {
  std::string file;   // e.g. "SQ017.wav"
  std::string voice;  // the synthesiser's voice: "en-us", "es-419"
  int wordsPerMinute = 150;
  std::string text;   // the words spoken
  // The list line: file, voice, rate, wave format and text, tab-separated.
  std::string line() const;
};

// The synthesiser voice of a language: Spanish speaks "es-419", any other "en-us".
std::string voiceOf(const std::string& language);

// Every wave a language's sound folder needs, each once.
std::vector<Voice> voicesFor(const Database& db, const std::string& language);

// The voices whose wave is missing or whose line differs from the list kept
// beside the waves.
std::vector<Voice> voicesToMake(const std::vector<Voice>& voices, std::string_view keptList,
                                const std::function<bool(const std::string&)>& waveExists);
// Files of the kept list that the voices no longer name.
std::vector<std::string> voicesGone(const std::vector<Voice>& voices, std::string_view keptList);
std::string voiceList(const std::vector<Voice>& voices);

// The shipped wave from the synthesiser's 16-bit mono output: half the
// sample rate, the silence around the words trimmed. Nothing when the
// output is no such wave.
std::optional<std::string> finishVoice(std::string_view synthesised);

}  // namespace zv
