#include <gtest/gtest.h>

#include <cerrno>

#include "supervisor/Verification.h"
#include "tests/core/SupervisorFixture.h"

using namespace zv;

namespace {

// Section 1 answers 1/2 alternating, sections 2 and 3 cycling 1..4.
std::string storedAnswers() {
  std::string s;
  for (int i = 1; i <= 162; ++i) s += i <= 105 ? static_cast<char>('1' + i % 2) : static_cast<char>('1' + i % 4);
  return s;
}

Verification::After keyAll(Verification& v, const std::string& digits) {
  Verification::After last = Verification::After::Moved;
  for (char c : digits) last = v.key(c);
  return last;
}

}  // namespace

TEST(VerifySession, StartsAtItemOneWithAllItemsListed) {
  VerifySession s(storedAnswers());
  EXPECT_EQ(s.position(), 1);
  EXPECT_EQ(s.listLength(), 162);
  EXPECT_EQ(s.currentItem(), 1);
  EXPECT_EQ(s.previousItem(), 0);
  EXPECT_EQ(s.currentLabel(), "Question #1");
  EXPECT_EQ(s.previousLabel(), "");
  EXPECT_EQ(s.entered(), std::string(162, '0'));
  EXPECT_FALSE(s.correcting());
  EXPECT_EQ(std::string(kVerifyStartMessage), "Enter response data from answer sheet. Press Backspace for previous question.");
}

TEST(VerifySession, AnswerCodesPerSection) {
  EXPECT_TRUE(VerifySession::allowed(1, '0'));
  EXPECT_TRUE(VerifySession::allowed(105, '2'));
  EXPECT_FALSE(VerifySession::allowed(105, '3'));
  EXPECT_TRUE(VerifySession::allowed(106, '4'));
  EXPECT_FALSE(VerifySession::allowed(106, '5'));
  EXPECT_TRUE(VerifySession::allowed(162, '0'));
  EXPECT_FALSE(VerifySession::allowed(162, '9'));
  EXPECT_FALSE(VerifySession::allowed(12, 'a'));
}

TEST(VerifySession, ThreeIsRefusedForItem12AndAcceptedForItem120) {
  VerifySession s(storedAnswers());
  for (int i = 1; i <= 11; ++i) ASSERT_EQ(s.digit('1'), VerifySession::Step::Next);
  ASSERT_EQ(s.currentItem(), 12);
  EXPECT_EQ(s.digit('3'), VerifySession::Step::Refused);
  EXPECT_EQ(s.currentItem(), 12);
  EXPECT_EQ(s.entered()[11], '0');
  for (int i = 12; i <= 119; ++i) ASSERT_EQ(s.digit('2'), VerifySession::Step::Next);
  ASSERT_EQ(s.currentItem(), 120);
  EXPECT_EQ(s.digit('3'), VerifySession::Step::Next);
  EXPECT_EQ(s.entered()[119], '3');
  EXPECT_EQ(s.currentItem(), 121);
  EXPECT_EQ(s.previousLabel(), "Question #120");
  EXPECT_EQ(s.previousAnswer(), "3");
}

TEST(VerifySession, BackspaceStepsBackWithoutChangingWhatWasKeyed) {
  VerifySession s(storedAnswers());
  EXPECT_FALSE(s.backspace());  // first item: beep
  s.digit('2');
  s.digit('1');
  EXPECT_EQ(s.currentItem(), 3);
  EXPECT_TRUE(s.backspace());
  EXPECT_EQ(s.currentItem(), 2);
  EXPECT_EQ(s.previousLabel(), "Question #1");
  EXPECT_EQ(s.previousAnswer(), "2");
  EXPECT_EQ(s.entered().substr(0, 3), "210");
  EXPECT_TRUE(s.backspace());
  EXPECT_EQ(s.previousLabel(), "");
  EXPECT_EQ(s.previousAnswer(), "");
  EXPECT_FALSE(s.backspace());
}

TEST(VerifySession, StoredStringShorterThan162CountsTheMissingPositionsAsDifferences) {
  VerifySession s(std::string(100, '1') + std::string(62, ' '));
  EXPECT_EQ(s.stored().size(), 100u);
  VerifySession::Step last = VerifySession::Step::Next;
  for (int i = 0; i < 162; ++i) last = s.digit('1');
  EXPECT_EQ(last, VerifySession::Step::CorrectionsNeeded);
  ASSERT_EQ(s.listLength(), 62);
  EXPECT_EQ(s.items().front(), 101);
  EXPECT_EQ(s.items().back(), 162);
  EXPECT_EQ(s.currentItem(), 101);
}

TEST(Verify, KeyingTheStoredAnswersNeedsNoCorrectionAndRewritesTheRecordUnchanged) {
  zvtest::SupervisorFixture f;
  f.addClient("Jones", storedAnswers());
  const std::string before = f.recordOnDisk(1);
  // The file is spoiled on purpose: the write must put the record back.
  zvtest::writeBytes(f.state.clientFile(), std::string(255, 'x'));
  Verification v(f.state);
  EXPECT_EQ(keyAll(v, storedAnswers()), Verification::After::Close);
  ASSERT_EQ(f.prompter.asked.size(), 1u);
  EXPECT_EQ(f.prompter.asked[0].text, "Data Verification complete. No corrections needed.");
  EXPECT_EQ(f.prompter.asked[0].title, "Data Verification.");
  EXPECT_EQ(f.prompter.asked[0].icon, Icon::None);
  EXPECT_EQ(f.recordOnDisk(1), before);
  EXPECT_EQ(f.prompter.beeps, 0);
}

TEST(Verify, DifferencesAt7And140AreAskedAgainAndBackspaceGoesFrom140To7) {
  zvtest::SupervisorFixture f;
  f.addClient("Smith", storedAnswers());
  f.addClient("Brown", std::string(162, '2'));
  f.state.clients.CurrentRecord = 1;
  const std::string other = f.recordOnDisk(2);
  std::string second = storedAnswers();
  second[6] = '0';    // item 7
  second[139] = '4';  // item 140 (stored '1')
  ASSERT_NE(storedAnswers()[139], '4');
  Verification v(f.state);
  EXPECT_EQ(keyAll(v, second), Verification::After::Moved);
  ASSERT_EQ(f.prompter.asked.size(), 1u);
  EXPECT_EQ(f.prompter.asked[0].text, "Data Correction needed. Please correct the following questions.");
  EXPECT_EQ(f.prompter.asked[0].title, "Data Corrections");
  EXPECT_EQ(f.prompter.asked[0].buttons, Buttons::Ok);
  EXPECT_EQ(f.prompter.asked[0].icon, Icon::None);
  const VerifySession& s = v.session();
  EXPECT_TRUE(s.correcting());
  EXPECT_EQ(s.items(), (std::vector<int>{7, 140}));
  EXPECT_EQ(s.currentLabel(), "Question #7");
  EXPECT_EQ(s.previousLabel(), "");

  EXPECT_EQ(v.key('2'), Verification::After::Moved);
  EXPECT_EQ(s.currentLabel(), "Question #140");
  EXPECT_EQ(s.previousLabel(), "Question #7");
  EXPECT_EQ(v.key('\b'), Verification::After::Moved);
  EXPECT_EQ(s.currentLabel(), "Question #7");
  EXPECT_EQ(v.key('\b'), Verification::After::Refused);  // not back into the first keying
  EXPECT_EQ(f.prompter.beeps, 1);
  EXPECT_EQ(s.currentItem(), 7);

  EXPECT_EQ(v.key('1'), Verification::After::Moved);
  EXPECT_EQ(v.key('x'), Verification::After::Refused);
  EXPECT_EQ(f.prompter.beeps, 2);
  EXPECT_EQ(v.key('3'), Verification::After::Close);
  ASSERT_EQ(f.prompter.asked.size(), 2u);
  EXPECT_EQ(f.prompter.asked[1].text, "Data Verification complete.");
  EXPECT_EQ(f.prompter.asked[1].title, "Data Verification");

  std::string expected = second;
  expected[6] = '1';
  expected[139] = '3';
  EXPECT_EQ(f.state.clients.slot[1].raw(Field::Responses), expected);
  EXPECT_EQ(f.recordOnDisk(1).substr(91, 162), expected);
  EXPECT_EQ(f.recordOnDisk(1).substr(0, 25), "Smith                    ");
  EXPECT_EQ(f.recordOnDisk(2), other);
}

TEST(Verify, CorrectionsNotWrittenLeaveTheRecordAsTheFileHoldsIt) {
  zvtest::SupervisorFixture f;
  f.addClient("Smith", storedAnswers());
  std::string second = storedAnswers();
  second[6] = '0';
  Verification v(f.state);
  keyAll(v, second);
  f.fs.arm({"write", "DATA401", EROFS, -1});
  f.prompter.script(Answer::Ok);      // write protected: retry
  f.prompter.script(Answer::Cancel);  // still write protected: give up
  EXPECT_EQ(v.key('2'), Verification::After::Close);
  ASSERT_EQ(f.prompter.asked.size(), 4u);
  EXPECT_EQ(f.prompter.asked[1].title, "Data Disk Error");
  EXPECT_EQ(f.prompter.asked[2].title, "Data Disk Error");
  EXPECT_EQ(f.prompter.asked[3].text, kVerifyNotStoredMessage);
  EXPECT_EQ(f.state.clients.slot[1].raw(Field::Responses), storedAnswers());
  EXPECT_EQ(f.recordOnDisk(1).substr(91, 162), storedAnswers());
}
