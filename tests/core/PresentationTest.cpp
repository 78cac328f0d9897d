// The onscreen test: instructions, items, sounds and what is stored; the
// wave files the player takes and the voices made for each language.
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>

#include "testing/SoundCheck.h"
#include "testing/Voices.h"
#include "testing/WaveFile.h"
#include "tests/core/PresentationSupport.h"

using namespace zv;
using namespace zvtest;

namespace {

const std::string kEnQuestionHelp =
    "Use Up or Down arrow keys to highlight answer, then press Enter. Press F10 to go back to previous question.";
const std::string kNotice = "You have completed this part of the test. Press Enter to continue.";

// The presentation driven as its screen drives it: each focus request followed. It starts as a new
// client's test on a table made to measure, settled on the general instructions.
struct Session {
  PresentationRig rig;
  Presentation p;
  explicit Session(const std::string& language = "English", const std::vector<BankItem>& bank = standardBank(),
                   bool sounds = true, int setUpError = 0)
      : p((rig.player.setUpError = setUpError, rig.table(language, bank, sounds), rig.newClient(), rig.state),
          rig.player, language) {
    p.load();
    p.activate();
    settle();
  }
  void settle() {
    using C = Presentation::Control;
    for (C c; (c = p.takeFocusRequest()) != C::None;) {
      if (c == C::Instructions) p.instructionsFocused();
      else if (c == C::Question) p.questionFocused();
      else p.answerFocused(p.focusAnswer());
    }
  }
  void enter() {  // Enter on the instruction text
    p.instructionsKey();
    settle();
  }
  // Down from the question field to answer i, each answer getting the focus, then Enter.
  void answer(int i) {
    for (int k = 0; k >= 0 && k < i; k = p.answerAfter(k, 1)) p.answerFocused(k);
    p.answerFocused(i);
    p.choose(i);
    settle();
  }
  void back() {
    p.goBack();
    settle();
  }
  // Answers up to item n (n shown, its instructions read), each item i with code(i) or 0.
  void to(int n, int (*code)(int) = nullptr) {
    while (p.item().id < n || p.instructionsVisible())
      p.instructionsVisible() ? enter() : answer(code ? code(p.item().id) : 0);
  }
  // The item's number, the instructions shown ("" when hidden) and the help line.
  Texts shown() { return {std::to_string(p.item().id), p.instructionsVisible() ? p.instructions() : "", p.message()}; }
  std::vector<std::string> lastSounds(std::size_t k) const {
    const auto all = rig.player.names();
    return {all.end() - static_cast<long>(std::min(k, all.size())), all.end()};
  }
};

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

TEST(PresentationTexts, InstructionsInBothLanguagesAndAsSpoken) {
  const InstructionTexts en = BuildInstructions("English"), es = BuildInstructions("Spanish");
  for (const char* other : {"english", "French", "SPANISH ", ""}) EXPECT_EQ(BuildInstructions(other), en) << other;
  EXPECT_EQ(BuildInstructions("sPaNiSh"), es);
  EXPECT_EQ(en[1], "The statements in this section must be answered TRUE or FALSE.  \r\n\r\nIf a statement is TRUE "
                   "highlight \"True\" then press Enter.  \r\n\r\nIf a statement is FALSE highlight \"False\" then press "
                   "Enter.\r\n\r\nPress Enter to begin.");
  EXPECT_EQ(en[3], "Select the answer that is accurate for you.  \r\n\r\nHighlight the answer you select, then press "
                   "Enter.\r\n\r\nPress Enter to begin.");
  EXPECT_EQ(en[0].substr(0, 61), "This questionnaire measures truthfulness.  Do not give false ");
  const std::string enEnd = "you understand these instructions, you may begin.  Press the Enter key to begin.";
  EXPECT_EQ(en[0].substr(en[0].size() - enEnd.size()), enEnd);
  const std::string b36(36, ' '), b12(12, ' ');
  EXPECT_NE(en[2].find("For example:\r\n\r\n" + b36 + "Rare or Never\r\n" + b36 + "Sometimes\r\n" + b36 + "Often\r\n" +
                       b36 + "Very Often\r\n\r\nHighlight the answer you select then press Enter.\r\n\r\nPress Enter to begin."),
            std::string::npos);
  EXPECT_EQ(es[0].substr(0, 23), "Instrucciones\r\n     Var");
  EXPECT_EQ(es[0].find("\r\n\r\n"), std::string::npos);  // paragraphs follow one another
  EXPECT_NE(es[0].find("heroína.\r\n     Si tuviera"), std::string::npos);
  EXPECT_EQ(es[1].find('\r'), std::string::npos);
  EXPECT_NE(es[1].find("ilumine el  área que dice «Falso» y entonces apriete «Enter». Oprima"), std::string::npos);
  const std::string esEnd = "siguiente:\r\n\r\n" + b12 + "1. Rara vez o nunca\r\n" + b12 + "2. A veces\r\n" + b12 +
                            "3. Seguido o a menudo\r\n" + b12 + "4. Muy seguido o muy a menudo";
  EXPECT_EQ(es[2].substr(es[2].size() - esEnd.size()), esEnd);
  EXPECT_EQ(es[3], "Las oraciones de esta sección deben describir su persona o circunstancias. Ilumine el número de la "
                   "contestación que usted escoja y que más le acierte: 1, 2, 3 ó 4. Luego oprima la tecla «Enter».");
  const std::pair<std::string, std::string> spoken[] = {
      {"Oprima la tecla «Enter» para comenzar.", "Oprima la tecla Enter para comenzar."},
      {"highlight \"True\" then press Enter.  \r\n\r\nNext", "highlight True then press Enter. Next"},
      {"For example:\r\n\r\n   Rare or Never\r\n   Often\r\n\r\nGo", "For example: Rare or Never. Often. Go"},
      {"Instrucciones\r\n     Varias", "Instrucciones. Varias"},
  };
  for (const auto& [shown, said] : spoken) EXPECT_EQ(spokenForm(shown), said);
}

TEST(Presentation, InstructionsItemsSoundsTheSectionTwoStartAndGoingBack) {
  const InstructionTexts en = BuildInstructions("English");
  const std::string ready = "When ready press Enter to continue.";
  Session r;
  EXPECT_EQ(r.shown(), (Texts{"1", en[0], ready}));
  r.enter();  // the section 1 instructions follow the general ones
  EXPECT_EQ(r.shown(), (Texts{"1", en[1], ready}));
  r.enter();
  EXPECT_TRUE(r.p.questionsVisible() && r.p.questionLit());
  EXPECT_EQ(r.p.item().question, "1. Question 1");
  r.back();  // item 1: a beep and nothing else
  EXPECT_EQ(r.rig.prompter.beeps, 1);
  EXPECT_EQ(r.shown(), (Texts{"1", "", kEnQuestionHelp}));
  r.answer(1);
  EXPECT_EQ(r.rig.player.names(), (Texts{"Inst0.wav", "Inst1.wav", "Q1.wav", "A-True.wav", "A-False.wav", "Q2.wav"}));
  EXPECT_EQ(r.p.answer(1), 2);
  EXPECT_EQ(r.p.litAnswer(), -1);
  r.to(105);
  r.answer(0);
  EXPECT_EQ(r.rig.prompter.asked, (AskedList{{kNotice, "Presentation Note", Buttons::Ok, Icon::None}}));
  // Item 106 is loaded behind the section 2 instructions, which keep the focus and the sound.
  EXPECT_EQ(r.shown(), (Texts{"106", en[2], ready}));
  EXPECT_EQ(r.lastSounds(2), (Texts{"A-True.wav", "Inst2.wav"}));
  r.enter();
  EXPECT_EQ(r.lastSounds(1), Texts{"Q106.wav"});
  r.back();  // to 105, without the section 2 instructions, the question spoken again
  EXPECT_EQ(r.shown(), (Texts{"105", "", kEnQuestionHelp}));
  EXPECT_EQ(r.lastSounds(1), Texts{"Q105.wav"});
  r.answer(1);  // the notice and the section 2 instructions once more
  EXPECT_EQ(r.rig.prompter.asked.size(), 2u);
  EXPECT_EQ(r.shown(), (Texts{"106", en[2], ready}));
  EXPECT_EQ(r.p.answer(105), 2);
  r.enter();
  r.back();
  r.back();
  EXPECT_EQ(r.p.item().id, 104);
}

TEST(Presentation, AnswerRowsFollowTheAnswersAnItemHas) {
  Session r("English", standardBank({{140, {"a", "b", "c", "d", "e"}}, {141, {"yes", "no"}}, {142, {"x", "y", "", "z"}}}));
  // Each answer row shown (1) or not (0).
  const std::pair<int, std::string> rows[] = {{106, "11110"}, {140, "11111"}, {141, "11000"}, {142, "11010"}};
  for (const auto& [item, shown] : rows) {
    r.to(item);
    std::string seen;
    for (const auto& choice : r.p.item().choices) seen += choice.shown ? '1' : '0';
    EXPECT_EQ(seen, shown) << item;
    if (item == 140) r.answer(4);
  }
  EXPECT_EQ(r.p.answer(140), 5);
  // The arrow keys skip the row without an answer; past the last one the question comes back.
  EXPECT_EQ((std::vector<int>{r.p.answerAfter(1, 1), r.p.answerAfter(3, 1), r.p.answerAfter(3, -1)}),
            (std::vector<int>{3, -1, 1}));
  r.p.choose(2);  // no such answer
  EXPECT_EQ(r.p.item().id, 142);
  r.answer(3);
  EXPECT_EQ(r.p.answer(142), 4);
}

TEST(Presentation, SoundOffAndSoundErrors) {
  Session off("English", standardBank(), true, 1);  // no audio device
  off.to(1);
  off.p.answerFocused(0);
  EXPECT_FALSE(off.p.soundOn());
  EXPECT_EQ(off.p.message(), "Press Enter to select this answer.");
  EXPECT_TRUE(off.rig.player.started.empty());
  // A sound error and the message it shows ("" for none).
  const std::pair<SoundError, std::string> cases[] = {
      {{321, "Invalid file format"}, "Error 321: Invalid file format"}, {{999, "Unexpected"}, "Error 999: Unexpected"},
      {{57, "Device I/O error"}, ""}, {{68, "Device unavailable"}, ""}, {{53, "File not found"}, ""}};
  for (const auto& [error, shown] : cases) {
    Session r;
    r.rig.player.failures["Q1.wav"] = error;
    r.to(1);
    r.p.answerFocused(0);
    EXPECT_EQ(r.lastSounds(2), (Texts{"Q1.wav", "A-True.wav"}));  // the test goes on
    EXPECT_EQ(r.rig.prompter.asked,
              (shown.empty() ? AskedList{} : AskedList{{shown, "Sound Error", Buttons::Ok, Icon::Critical}}));
  }
  Session missing("English", standardBank(), false);  // no sound files at all
  missing.to(2);
  EXPECT_TRUE(missing.rig.player.started.empty());
  EXPECT_TRUE(missing.rig.prompter.asked.empty());
}

TEST(Presentation, LanguagesUseTheirTextsTablesAndSoundFolders) {
  for (const std::string language : {"Spanish", "French"}) {
    Session r(language);
    r.to(1);
    Texts seen{r.p.texts().caption, r.p.message()};
    r.p.answerFocused(0);
    seen.insert(seen.end(), {r.p.message(), r.rig.player.started.back()});
    r.to(106);
    seen.insert(seen.end(), {r.rig.prompter.asked.at(0).text, r.rig.prompter.asked[0].title});
    const std::string sound = r.rig.state.sndPath + "/ZVTest/sound/" + language + "/A-True.wav";
    EXPECT_EQ(seen, (language == "Spanish"
                         ? Texts{"Presentación de preguntas",
                                 "Oprima las teclas de flechas Hacia Arriba o Hacia Abajo para iluminar su respuesta. Luego "
                                 "oprima la tecla «Enter». Oprima la tecla «F10» para ver la pregunta anterior.",
                                 "Ilumine la respuesta que usted escoja y luego oprima la tecla «Enter».", sound,
                                 "Usted ha terminado esta parte de la prueba. Oprima la tecla «Enter» para seguir.",
                                 "Nota de Presentación"}
                         : Texts{"Question Presentation", kEnQuestionHelp,
                                 "Press Enter to select this answer. Press Tab or Arrows to hear question again.", sound,
                                 kNotice, "Presentation Note"}));
  }
}

TEST(Presentation, StoringTheAnswersAndAbandonedOrLostTestsStoreNothing) {
  // Item 50 is missing from the table: it is never answered and stays "0",
  // also when going back across the gap.
  auto bank = standardBank();
  bank.erase(bank.begin() + 49);
  Session r("English", bank);
  const auto code = [](int n) { return n % (n <= 105 ? 2 : 4); };  // the answer given to item n
  std::string expected;
  for (int n = 1; n <= 162; ++n) expected += n == 50 ? '0' : static_cast<char>('1' + code(n));
  r.to(51, code);
  r.back();
  EXPECT_EQ(r.p.item().id, 49);
  r.to(162, code);
  r.rig.fs.arm({"replace", "DATA401", EROFS, 1, -1});
  r.rig.prompter.script(Answer::Ok);      // the final notice
  r.rig.prompter.script(Answer::Cancel);  // the write-protected disk: given up
  r.answer(code(162));
  // The write was given up: item 162 stays with every answer kept.
  EXPECT_EQ(askedTexts(r.rig.prompter),
            (Texts{kNotice, kNotice,
                   "You have completed the test. Thank you for your participation.\r\rPress Enter to continue.",
                   "Data disk write protected!\r\rSet the data disk to writable and replace in drive."}));
  EXPECT_FALSE(r.p.closed());
  EXPECT_TRUE(r.p.questionsVisible());
  EXPECT_EQ(r.p.responses(), expected);
  EXPECT_EQ(readBytes(r.rig.state.clientFile()), "");
  // Enter on an answer tries again.
  expected[161] = '1';
  r.answer(0);
  EXPECT_EQ(r.p.outcome(), Presentation::Outcome::Stored);
  EXPECT_TRUE(r.rig.state.Accepted && r.rig.state.Refresh);
  EXPECT_EQ(r.rig.state.clients.RecordCount, 1);
  EXPECT_EQ(readBytes(r.rig.state.clientFile()), r.rig.state.clients.slot[1].bytes());
  EXPECT_EQ(r.rig.state.clients.slot[1].raw(Field::Responses), expected);

  // An abandoned test stores nothing.
  Session gone;
  gone.rig.state.Accepted = true;
  gone.to(50);
  gone.p.abandon();
  EXPECT_EQ(gone.p.outcome(), Presentation::Outcome::Abandoned);
  EXPECT_FALSE(gone.rig.state.Accepted);
  EXPECT_GE(gone.rig.player.stops, 1);
  gone.p.choose(0);
  EXPECT_EQ(readBytes(gone.rig.state.clientFile()), "");
  EXPECT_EQ(gone.rig.state.clients.RecordCount, 0);

  // Another program filled the client file while the test ran: no slot is left.
  Session lost;
  writeBytes(lost.rig.state.clientFile(), storedClientsBytes(kMaxClients));
  lost.to(162);
  lost.answer(0);
  EXPECT_EQ(lost.p.outcome(), Presentation::Outcome::Lost);
  EXPECT_FALSE(lost.rig.state.Accepted);
  EXPECT_EQ(readBytes(lost.rig.state.clientFile()), storedClientsBytes(kMaxClients));
}

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
  EXPECT_EQ((std::vector<int>{format->sampleRate, format->bitsPerSample, format->channels}),
            (std::vector<int>{11025, 16, 1}));
  EXPECT_FALSE(finishVoice(wave(1, 8)));
}

TEST(PresentationVoices, OneWavePerFileNamedOnlyChangesRemadeAndMissingFilesNamedOnceEach) {
  PresentationRig rig;
  rig.table("Spanish", standardBank({{140, {"Sí", "No"}}}), false);
  const std::vector<Voice> voices = voicesFor(rig.state.workspace.OpenDatabase(rig.program.file("ZV.db")), "Spanish");
  // Four instructions, 162 questions, and each answer text once.
  ASSERT_EQ(voices.size(), 4u + 162u + 2u + 4u + 2u);
  EXPECT_EQ((Texts{voices[0].file, voices[0].voice, voices[0].text.substr(0, 23), voices[4].file, voices[4].text,
                   voices[5].file, voiceOf("English"), voiceOf("French")}),
            (Texts{"Inst0.wav", "es-419", "Instrucciones. Varias o", "Q1.wav", "Question 1", "A-True.wav", "en-us",
                   "en-us"}));

  const std::string kept = voiceList(voices);
  EXPECT_TRUE(voicesToMake(voices, kept, [](const std::string&) { return true; }).empty());
  std::vector<Voice> changed = voices;
  changed[7].text = "Question 2, reworded";
  changed.push_back({"Extra.wav", "es-419", 150, "Más"});
  Texts remade;
  for (const Voice& v : voicesToMake(changed, kept, [](const std::string& f) { return f != "Q9.wav"; })) remade.push_back(v.file);
  EXPECT_EQ(remade, (Texts{changed[7].file, "Q9.wav", "Extra.wav"}));
  EXPECT_EQ(voicesGone(voices, voiceList(changed)), Texts{"Extra.wav"});

  PresentationRig english;
  english.table("English", standardBank());
  english.table("Klingon", standardBank(), false);  // not a presentation language: not checked
  const std::string folder = soundFolder(english.state.sndPath, "English");
  for (const char* gone : {"Inst3.wav", "Q17.wav", "A-False.wav", "A-Often.wav"}) std::remove((folder + gone).c_str());
  Texts lines;
  for (const MissingSound& m : CheckSounds(english.fs, english.program.path())) lines.push_back(m.text());
  EXPECT_EQ(lines, (Texts{
                       "sounds/ZVTest/sound/English/Inst3.wav: missing (English instructions 3)",
                       "sounds/ZVTest/sound/English/A-False.wav: missing (English item 1, answer 2)",
                       "sounds/ZVTest/sound/English/Q17.wav: missing (English item 17)",
                       "sounds/ZVTest/sound/English/A-Often.wav: missing (English item 106, answer 3)"}));
  EXPECT_TRUE(CheckSounds(english.fs, ZV_PROGRAM_DIR).empty());  // the installed voices are complete
}
