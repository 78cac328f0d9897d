#include "testing/Voices.h"

#include <set>

#include "testing/Instructions.h"
#include "testing/QuestionBank.h"
#include "testing/WaveFile.h"

namespace zv {
namespace {

// Changing how waves are made changes every line, so every wave is made again.
constexpr const char* kWaveFormat = "11025 Hz 16-bit mono, trimmed";

std::vector<std::string_view> listLines(std::string_view list) {
  std::vector<std::string_view> lines;
  while (!list.empty()) {
    const auto end = list.find('\n');
    lines.push_back(list.substr(0, end));
    list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
  }
  return lines;
}

std::string_view fileOf(std::string_view line) { return line.substr(0, line.find('\t')); }

}  // namespace

std::string Voice::line() const {
  std::string words = text;
  for (char& c : words)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return file + "\t" + voice + "\t" + std::to_string(wordsPerMinute) + "\t" + kWaveFormat + "\t" + words;
}

std::string voiceOf(const std::string& language) { return isSpanish(language) ? "es-419" : "en-us"; }

std::vector<Voice> voicesFor(const Database& db, const std::string& language) {
  std::vector<Voice> voices;
  for (const NamedSound& s : namedSounds(db, language))
    voices.push_back({s.file, voiceOf(language), 150, spokenForm(s.text)});
  return voices;
}

std::vector<Voice> voicesToMake(const std::vector<Voice>& voices, std::string_view keptList,
                                const std::function<bool(const std::string&)>& waveExists) {
  std::set<std::string_view> kept;
  for (std::string_view l : listLines(keptList)) kept.insert(l);
  std::vector<Voice> todo;
  for (const Voice& v : voices)
    if (!kept.count(v.line()) || !waveExists(v.file)) todo.push_back(v);
  return todo;
}

std::vector<std::string> voicesGone(const std::vector<Voice>& voices, std::string_view keptList) {
  std::set<std::string> named;
  for (const Voice& v : voices) named.insert(v.file);
  std::vector<std::string> gone;
  for (std::string_view l : listLines(keptList)) {
    const std::string file(fileOf(l));
    if (!file.empty() && !named.count(file)) gone.push_back(file);
  }
  return gone;
}

std::string voiceList(const std::vector<Voice>& voices) {
  std::string list;
  for (const Voice& v : voices) list += v.line() + "\n";
  return list;
}

std::optional<std::string> finishVoice(std::string_view synthesised) {
  int rate = 0;
  const auto samples = readWave16Mono(synthesised, &rate);
  if (!samples || rate < 2) return std::nullopt;
  return writeWave16Mono(trimSilence(halveRate(*samples), rate / 2), rate / 2);
}

}  // namespace zv
