#include <gtest/gtest.h>

#include <cerrno>

#include "testing/Presentation.h"
#include "tests/core/PresentationSupport.h"

using namespace zv;
using namespace zvtest;

namespace {

const std::string kEnQuestionHelp =
    "Use Up or Down arrow keys to highlight answer, then press Enter. Press F10 to go back to previous question.";
const std::string kNotice = "You have completed this part of the test. Press Enter to continue.";

// A new client's test on a table made to measure, started and settled on the general instructions.
SystemState& prepared(PresentationRig& rig, const std::string& language, const std::vector<BankItem>& bank, bool sounds) {
  rig.table(language, bank, sounds);
  rig.newClient();
  return rig.state;
}

struct Session {
  PresentationRig rig;
  Presentation p;
  Keys keys{p};
  explicit Session(const std::string& language = "English", const std::vector<BankItem>& bank = standardBank(),
               bool sounds = true)
      : p(prepared(rig, language, bank, sounds), rig.player, language) {
    p.load();
    p.activate();
    keys.settle();
  }
  // Answers 0 up to item n (n shown, its instructions read).
  void to(int n) {
    while (p.item().id < n || p.instructionsVisible()) p.instructionsVisible() ? keys.enter() : keys.answer(0);
  }
  std::vector<std::string> lastSounds(std::size_t k) const {
    const auto all = rig.player.names();
    return {all.end() - static_cast<long>(std::min(k, all.size())), all.end()};
  }
};

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

TEST(Presentation, InstructionsItemsSoundsAndTheSectionTwoStart) {
  Session r;
  EXPECT_TRUE(r.p.instructionsVisible());
  EXPECT_EQ(r.p.instructions(), BuildInstructions("English")[0]);
  EXPECT_EQ(r.p.message(), "When ready press Enter to continue.");
  r.keys.enter();  // the section 1 instructions follow the general ones
  EXPECT_EQ(r.p.instructions(), BuildInstructions("English")[1]);
  r.keys.enter();
  EXPECT_FALSE(r.p.instructionsVisible());
  EXPECT_TRUE(r.p.questionsVisible() && r.p.questionLit());
  EXPECT_EQ(r.p.item().question, "1. Question 1");
  EXPECT_EQ(r.p.message(), kEnQuestionHelp);
  r.keys.answer(1);
  EXPECT_EQ(r.rig.player.names(), (std::vector<std::string>{"Inst0.wav", "Inst1.wav", "Q1.wav", "A-True.wav",
                                                             "A-False.wav", "Q2.wav"}));
  EXPECT_EQ(r.rig.player.started[2], r.rig.state.sndPath + "/ZVTest/sound/English/Q1.wav");
  EXPECT_EQ(r.p.answer(1), 2);
  EXPECT_EQ(r.p.litAnswer(), -1);
  r.to(105);
  r.keys.answer(0);
  ASSERT_EQ(r.rig.prompter.asked.size(), 1u);
  EXPECT_EQ(r.rig.prompter.asked[0].text, kNotice);
  EXPECT_EQ(r.rig.prompter.asked[0].title, "Presentation Note");
  EXPECT_EQ(r.rig.prompter.asked[0].icon, Icon::None);
  // Item 106 is loaded behind the section 2 instructions, which keep the focus and the sound.
  EXPECT_EQ(r.p.item().id, 106);
  EXPECT_EQ(r.p.instructions(), BuildInstructions("English")[2]);
  EXPECT_EQ(r.lastSounds(2), (std::vector<std::string>{"A-True.wav", "Inst2.wav"}));
  EXPECT_EQ(r.p.message(), "When ready press Enter to continue.");
  r.keys.enter();
  EXPECT_EQ(r.lastSounds(1), std::vector<std::string>{"Q106.wav"});
}

TEST(Presentation, GoingBack) {
  Session r;
  r.to(1);
  const auto heard = r.rig.player.started.size();
  r.keys.back();  // item 1: a beep and nothing else
  EXPECT_EQ(r.rig.prompter.beeps, 1);
  EXPECT_EQ(r.p.item().id, 1);
  EXPECT_EQ(r.rig.player.started.size(), heard);
  r.to(106);
  r.keys.back();  // to 105, without the section 2 instructions, the question spoken again
  EXPECT_EQ(r.p.item().id, 105);
  EXPECT_FALSE(r.p.instructionsVisible());
  EXPECT_EQ(r.lastSounds(1), std::vector<std::string>{"Q105.wav"});
  r.keys.answer(1);  // the notice and the section 2 instructions once more
  EXPECT_EQ(r.rig.prompter.asked.size(), 2u);
  EXPECT_EQ(r.p.instructions(), BuildInstructions("English")[2]);
  EXPECT_EQ(r.p.answer(105), 2);
  r.keys.enter();
  r.keys.back();
  r.keys.back();
  EXPECT_EQ(r.p.item().id, 104);
}

TEST(Presentation, AnswerRowsFollowTheAnswersAnItemHas) {
  Session r("English", standardBank({{140, {"a", "b", "c", "d", "e"}}, {141, {"yes", "no"}}, {142, {"x", "y", "", "z"}}}));
  const std::pair<int, std::vector<bool>> rows[] = {
      {106, {true, true, true, true, false}}, {140, {true, true, true, true, true}},
      {141, {true, true, false, false, false}}, {142, {true, true, false, true, false}}};
  for (const auto& [item, shown] : rows) {
    r.to(item);
    for (int i = 0; i < kMaxAnswers; ++i) EXPECT_EQ(r.p.item().choices[static_cast<std::size_t>(i)].shown, shown[static_cast<std::size_t>(i)]) << item << " " << i;
    if (item == 140) r.keys.answer(4);
  }
  EXPECT_EQ(r.p.answer(140), 5);
  // The arrow keys skip the row without an answer; past the last one the question comes back.
  EXPECT_EQ(r.p.answerAfter(1, 1), 3);
  EXPECT_EQ(r.p.answerAfter(3, 1), -1);
  EXPECT_EQ(r.p.answerAfter(3, -1), 1);
  r.p.choose(2);  // no such answer
  EXPECT_EQ(r.p.item().id, 142);
  r.keys.answer(3);
  EXPECT_EQ(r.p.answer(142), 4);
}

TEST(Presentation, SoundOffAndSoundErrors) {
  {
    PresentationRig rig;
    rig.player.setUpError = 1;  // no audio device
    rig.table("English", standardBank());
    Presentation p(rig.state, rig.player, "English");
    p.load();
    p.activate();
    Keys{p}.settle();
    Keys{p}.enter();
    Keys{p}.enter();
    p.answerFocused(0);
    EXPECT_FALSE(p.soundOn());
    EXPECT_EQ(p.message(), "Press Enter to select this answer.");
    EXPECT_TRUE(rig.player.started.empty());
  }
  struct Case {
    SoundError error;
    std::string shown;  // "" for none
  };
  const Case cases[] = {{{321, "Invalid file format"}, "Error 321: Invalid file format"},
                        {{999, "Unexpected"}, "Error 999: Unexpected"},
                        {{57, "Device I/O error"}, ""},
                        {{68, "Device unavailable"}, ""},
                        {{53, "File not found"}, ""}};
  for (const Case& c : cases) {
    Session r;
    r.rig.player.failures["Q1.wav"] = c.error;
    r.to(1);
    r.p.answerFocused(0);
    EXPECT_EQ(r.lastSounds(2), (std::vector<std::string>{"Q1.wav", "A-True.wav"}));  // the test goes on
    ASSERT_EQ(r.rig.prompter.asked.size(), c.shown.empty() ? 0u : 1u) << c.error.number;
    if (c.shown.empty()) continue;
    EXPECT_EQ(r.rig.prompter.asked[0].text, c.shown);
    EXPECT_EQ(r.rig.prompter.asked[0].title, "Sound Error");
    EXPECT_EQ(r.rig.prompter.asked[0].icon, Icon::Critical);
  }
  Session missing("English", standardBank(), false);  // no sound files at all
  missing.to(2);
  EXPECT_TRUE(missing.rig.player.started.empty());
  EXPECT_TRUE(missing.rig.prompter.asked.empty());
}

TEST(Presentation, LanguagesUseTheirTextsTablesAndSoundFolders) {
  for (const char* language : {"Spanish", "French"}) {
    Session r(language);
    r.to(1);
    const bool spanish = std::string(language) == "Spanish";
    EXPECT_EQ(r.p.texts().caption, std::string(spanish ? "Presentación de preguntas" : "Question Presentation"));
    EXPECT_EQ(r.p.message(), spanish ? "Oprima las teclas de flechas Hacia Arriba o Hacia Abajo para iluminar su "
                                       "respuesta. Luego oprima la tecla «Enter». Oprima la tecla «F10» para ver la "
                                       "pregunta anterior."
                                     : kEnQuestionHelp);
    r.p.answerFocused(0);
    EXPECT_EQ(r.p.message(), spanish ? "Ilumine la respuesta que usted escoja y luego oprima la tecla «Enter»."
                                     : "Press Enter to select this answer. Press Tab or Arrows to hear question again.");
    EXPECT_EQ(r.rig.player.started.back(), r.rig.state.sndPath + "/ZVTest/sound/" + language + "/A-True.wav");
    r.to(106);
    EXPECT_EQ(r.rig.prompter.asked.at(0).text, spanish ? "Usted ha terminado esta parte de la prueba. Oprima la tecla "
                                                         "«Enter» para seguir."
                                                       : kNotice);
    EXPECT_EQ(r.rig.prompter.asked[0].title, spanish ? "Nota de Presentación" : "Presentation Note");
  }
}

TEST(Presentation, StoringTheAnswers) {
  // Item 50 is missing from the table: it is never answered and stays "0",
  // also when going back across the gap.
  auto bank = standardBank();
  bank.erase(bank.begin() + 49);
  Session r("English", bank);
  std::string expected(162, '0');
  bool wentBack = false;
  while (!(r.p.item().id == 162 && r.p.answer(162) != 0)) {
    if (r.p.instructionsVisible()) {
      r.keys.enter();
      continue;
    }
    const int n = r.p.item().id;
    if (n == 51 && !wentBack) {
      wentBack = true;
      r.keys.back();
      EXPECT_EQ(r.p.item().id, 49);
      continue;
    }
    if (n == 162) {
      r.rig.fs.arm({"replace", "DATA401", EROFS, 1, -1});
      r.rig.prompter.script(Answer::Ok);      // the final notice
      r.rig.prompter.script(Answer::Cancel);  // the write-protected disk: given up
    }
    const int code = n % (n <= 105 ? 2 : 4);
    expected[static_cast<std::size_t>(n - 1)] = static_cast<char>('1' + code);
    r.keys.answer(code);
  }
  // The write was given up: item 162 stays with every answer kept.
  const auto& asked = r.rig.prompter.asked;
  EXPECT_EQ(asked[asked.size() - 2].text, "You have completed the test. Thank you for your participation.\r\rPress Enter "
                                          "to continue.");
  EXPECT_EQ(asked.back().title, "Data Disk Error");
  EXPECT_FALSE(r.p.closed());
  EXPECT_TRUE(r.p.questionsVisible());
  EXPECT_EQ(r.p.responses(), expected);
  EXPECT_EQ(readBytes(r.rig.state.clientFile()), "");
  // Enter on an answer tries again.
  expected[161] = '1';
  r.keys.answer(0);
  EXPECT_EQ(r.p.outcome(), Presentation::Outcome::Stored);
  EXPECT_TRUE(r.rig.state.Accepted && r.rig.state.Refresh);
  EXPECT_EQ(r.rig.state.clients.RecordCount, 1);
  const std::string disk = readBytes(r.rig.state.clientFile());
  ASSERT_EQ(disk.size(), kRecordSize);
  EXPECT_EQ(disk.substr(91, 162), expected);
  EXPECT_EQ(expected[49], '0');
}

TEST(Presentation, AbandonedOrLostTestsStoreNothing) {
  Session r;
  r.rig.state.Accepted = true;
  r.to(50);
  r.p.abandon();
  EXPECT_EQ(r.p.outcome(), Presentation::Outcome::Abandoned);
  EXPECT_FALSE(r.rig.state.Accepted);
  EXPECT_GE(r.rig.player.stops, 1);
  r.p.choose(0);
  EXPECT_EQ(readBytes(r.rig.state.clientFile()), "");
  EXPECT_EQ(r.rig.state.clients.RecordCount, 0);

  // Another program filled the client file while the test ran: no slot is left.
  Session lost;
  writeBytes(lost.rig.state.clientFile(), storedClientsBytes(kMaxClients));
  lost.to(162);
  lost.keys.answer(0);
  EXPECT_EQ(lost.p.outcome(), Presentation::Outcome::Lost);
  EXPECT_FALSE(lost.rig.state.Accepted);
  EXPECT_EQ(readBytes(lost.rig.state.clientFile()), storedClientsBytes(kMaxClients));
}
