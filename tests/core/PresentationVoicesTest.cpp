#include <gtest/gtest.h>

#include <cmath>

#include "testing/SoundCheck.h"
#include "testing/Voices.h"
#include "testing/WaveFile.h"
#include "tests/core/PresentationSupport.h"

using namespace zv;
using namespace zvtest;

namespace {

Samples tone(double hz, int rate, int count, double amplitude = 10000) {
  Samples s(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    s[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(amplitude * std::sin(2 * std::acos(-1.0) * hz * i / rate));
  return s;
}

// The loudest sample away from the ends, where the filter has no full window.
int peak(const Samples& s) {
  int p = 0;
  for (std::size_t i = 20; i + 20 < s.size(); ++i) p = std::max(p, std::abs(static_cast<int>(s[i])));
  return p;
}

// A wave header with the given format tag, bits, and chunks before "fmt ".
std::string wave(int tag, int bits, const std::string& before = "", int channels = 1) {
  std::string fmt = writeWave16Mono({1, 2, 3}, 8000).substr(12, 24);
  fmt[8] = static_cast<char>(tag);
  fmt[9] = static_cast<char>(tag >> 8);
  fmt[10] = static_cast<char>(channels);
  fmt[22] = static_cast<char>(bits);
  return std::string("RIFF\x30\0\0\0WAVE", 12) + before + fmt + std::string("data\x02\0\0\0\x01\0", 10);
}

}  // namespace

TEST(PresentationWaves, WhatThePlayerAcceptsAndHowVoicesAreFinished) {
  const std::string pad = std::string("LIST\x03\0\0\0abc", 11) + '\0';  // an odd chunk is padded to even
  const std::pair<std::string, bool> files[] = {
      {writeWave16Mono(tone(440, 8000, 100), 8000), true}, {wave(1, 8), true}, {wave(1, 24, pad, 2), true},
      {wave(3, 32), true}, {wave(0xFFFE, 16), false} /* no sub-format */, {wave(2, 4), false} /* ADPCM */,
      {wave(3, 16), false}, {wave(1, 16, "", 0), false}, {std::string("RIFF\0\0\0\0WAVE", 12), false},
      {"This is a text file, not a wave.", false}, {"", false}};
  for (const auto& [bytes, ok] : files) EXPECT_EQ(readWaveFormat(bytes).has_value(), ok) << bytes.size();

  int rate = 0;
  const Samples speech = tone(1000, 22050, 2205);
  EXPECT_EQ(readWave16Mono(writeWave16Mono(speech, 22050), &rate), speech);
  EXPECT_EQ(rate, 22050);
  // Halving keeps what speech needs and drops what the lower rate cannot carry.
  EXPECT_EQ(halveRate(speech).size(), 1103u);
  EXPECT_NEAR(peak(halveRate(speech)), 10000, 300);
  EXPECT_LT(peak(halveRate(tone(8000, 22050, 2205))), 30);
  // Silence around the words is cut to 50 ms before and 125 ms after.
  Samples padded(1000, 0);
  padded.insert(padded.end(), 500, 3000);
  padded.insert(padded.end(), 3000, 20);
  const Samples trimmed = trimSilence(padded, 8000);
  EXPECT_EQ(trimmed.size(), 400u + 500u + 1000u);
  EXPECT_EQ(trimmed[400], 3000);
  EXPECT_TRUE(trimSilence(Samples(500, 10), 8000).empty());

  const auto finished = finishVoice(writeWave16Mono(padded, 22050));
  ASSERT_TRUE(finished);
  const auto format = readWaveFormat(*finished);
  EXPECT_EQ(format->sampleRate, 11025);
  EXPECT_EQ(format->bitsPerSample, 16);
  EXPECT_EQ(format->channels, 1);
  EXPECT_FALSE(finishVoice(wave(1, 8)));
}

TEST(PresentationVoices, OneWavePerFileNamedAndOnlyChangesRemade) {
  PresentationRig rig;
  rig.table("Spanish", standardBank({{140, {"Sí", "No"}}}), false);
  const Database db = rig.state.workspace.OpenDatabase(rig.program.file("ZV.db"));
  const std::vector<Voice> voices = voicesFor(db, "Spanish");
  // Four instructions, 162 questions, and each answer text once.
  ASSERT_EQ(voices.size(), 4u + 162u + 2u + 4u + 2u);
  EXPECT_EQ(voices[0].file, "Inst0.wav");
  EXPECT_EQ(voices[0].voice, "es-419");
  EXPECT_EQ(voices[0].text.substr(0, 23), "Instrucciones. Varias o");
  EXPECT_EQ(voices[4].file, "Q1.wav");
  EXPECT_EQ(voices[4].text, "Question 1");
  EXPECT_EQ(voices[5].file, "A-True.wav");
  EXPECT_EQ(voiceOf("English"), "en-us");
  EXPECT_EQ(voiceOf("French"), "en-us");

  const std::string kept = voiceList(voices);
  auto all = [](const std::string&) { return true; };
  EXPECT_TRUE(voicesToMake(voices, kept, all).empty());
  std::vector<Voice> changed = voices;
  changed[7].text = "Question 2, reworded";
  changed.push_back({"Extra.wav", "es-419", 150, "Más"});
  std::vector<std::string> remade;
  for (const Voice& v : voicesToMake(changed, kept, [](const std::string& f) { return f != "Q9.wav"; })) remade.push_back(v.file);
  EXPECT_EQ(remade, (std::vector<std::string>{changed[7].file, "Q9.wav", "Extra.wav"}));
  EXPECT_TRUE(voicesGone(voices, voiceList(changed)) == std::vector<std::string>{"Extra.wav"});
}

TEST(PresentationVoices, MissingSoundFilesAreNamedOnceEach) {
  PresentationRig rig;
  rig.table("English", standardBank());
  rig.table("Klingon", standardBank(), false);  // not a presentation language: not checked
  const std::string folder = soundFolder(rig.state.sndPath, "English");
  for (const char* gone : {"Inst3.wav", "Q17.wav", "A-False.wav", "A-Often.wav"}) std::remove((folder + gone).c_str());
  std::vector<std::string> lines;
  for (const MissingSound& m : CheckSounds(rig.fs, rig.program.path())) lines.push_back(m.text());
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "sounds/ZVTest/sound/English/Inst3.wav: missing (English instructions 3)",
                       "sounds/ZVTest/sound/English/A-False.wav: missing (English item 1, answer 2)",
                       "sounds/ZVTest/sound/English/Q17.wav: missing (English item 17)",
                       "sounds/ZVTest/sound/English/A-Often.wav: missing (English item 106, answer 3)"}));
  EXPECT_TRUE(CheckSounds(rig.fs, ZV_PROGRAM_DIR).empty());  // the installed voices are complete
}
