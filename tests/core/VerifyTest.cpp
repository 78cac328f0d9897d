#include <gtest/gtest.h>

#include <cerrno>

#include "supervisor/Verification.h"
#include "tests/core/SupervisorFixture.h"

using namespace zv;
using namespace zvtest;

namespace {

const Asked kDiskError{"Data disk write protected!\r\rSet the data disk to writable and replace in drive.",
                       "Data Disk Error", Buttons::OkCancel, Icon::Critical};

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

// What the screen shows: the current label, the previous label and answer.
Texts shown(const VerifySession& s) { return {s.currentLabel(), s.previousLabel(), s.previousAnswer()}; }

}  // namespace

TEST(VerifySession, StartsAtItemOneBackspaceKeepsTheKeyingCodesPerSectionAndAShortStoredString) {
  VerifySession s(storedAnswers());
  EXPECT_EQ(s.listLength(), 162);
  EXPECT_EQ(s.previousItem(), 0);
  EXPECT_EQ(shown(s), (Texts{"Question #1", "", ""}));
  EXPECT_EQ(s.entered(), std::string(162, '0'));
  EXPECT_FALSE(s.correcting());
  EXPECT_FALSE(s.backspace());  // first item: beep
  s.digit('2');
  s.digit('1');
  EXPECT_EQ(s.currentItem(), 3);
  EXPECT_TRUE(s.backspace());
  EXPECT_EQ(s.position(), 2);
  EXPECT_EQ(shown(s), (Texts{"Question #2", "Question #1", "2"}));
  EXPECT_EQ(s.entered().substr(0, 3), "210");
  EXPECT_TRUE(s.backspace());
  EXPECT_EQ(shown(s), (Texts{"Question #1", "", ""}));
  EXPECT_FALSE(s.backspace());
  // Answer codes per section: keying on from item 1, 3 is refused at item 12 and taken at 120.
  const struct { int item; char code; bool allowed; } cases[] = {
      {1, '0', true}, {105, '2', true}, {105, '3', false}, {106, '4', true},
      {106, '5', false}, {162, '0', true}, {162, '9', false}, {12, 'a', false}};
  for (const auto& c : cases) EXPECT_EQ(VerifySession::allowed(c.item, c.code), c.allowed) << c.item << c.code;
  for (int i = 1; i <= 11; ++i) ASSERT_EQ(s.digit('1'), VerifySession::Step::Next);
  EXPECT_EQ(s.digit('3'), VerifySession::Step::Refused);
  EXPECT_EQ(s.currentItem(), 12);
  EXPECT_EQ(s.entered()[11], '0');
  for (int i = 12; i <= 119; ++i) ASSERT_EQ(s.digit('2'), VerifySession::Step::Next);
  EXPECT_EQ(s.digit('3'), VerifySession::Step::Next);
  EXPECT_EQ(s.entered()[119], '3');
  EXPECT_EQ(s.currentItem(), 121);
  EXPECT_EQ(shown(s), (Texts{"Question #121", "Question #120", "3"}));

  // A stored string shorter than 162 counts the missing positions as differences.
  VerifySession shortStored(std::string(100, '1') + std::string(62, ' '));
  EXPECT_EQ(shortStored.stored().size(), 100u);
  VerifySession::Step last = VerifySession::Step::Next;
  for (int i = 0; i < 162; ++i) last = shortStored.digit('1');
  EXPECT_EQ(last, VerifySession::Step::CorrectionsNeeded);
  ASSERT_EQ(shortStored.listLength(), 62);
  EXPECT_EQ(shortStored.items().front(), 101);
  EXPECT_EQ(shortStored.items().back(), 162);
  EXPECT_EQ(shortStored.currentItem(), 101);
}

TEST(Verify, KeyingTheStoredAnswersRewritesTheRecordUnchanged) {
  SupervisorFixture f;
  f.addClient("Jones", storedAnswers());
  const std::string before = f.recordOnDisk(1);
  // The record is written back: a write fault shows it (OK retries).
  f.fs.arm({"write", "DATA401", EROFS, 1});
  Verification v(f.state);
  EXPECT_EQ(keyAll(v, storedAnswers()), Verification::After::Close);
  EXPECT_EQ(f.prompter.asked, (AskedList{{"Data Verification complete. No corrections needed.", "Data Verification.",
                                          Buttons::Ok, Icon::None}, kDiskError}));
  EXPECT_EQ(f.recordOnDisk(1), before);
  EXPECT_EQ(f.prompter.beeps, 0);
}

// Corrections given up on the write-protected disk leave the record as the file holds it.
TEST(Verify, DifferencesAt7And140AreAskedAgainAndBackspaceGoesFrom140To7) {
  for (const bool givenUp : {false, true}) {
    SCOPED_TRACE(givenUp ? "write given up" : "written");
    SupervisorFixture f;
    f.addClient("Smith", storedAnswers());
    f.addClient("Brown", std::string(162, '2'));  // the first stays current
    std::string first = f.recordOnDisk(1);
    const std::string other = f.recordOnDisk(2);
    std::string second = storedAnswers();
    second[6] = '0';    // item 7
    second[139] = '4';  // item 140 (stored '1')
    Verification v(f.state);
    EXPECT_EQ(keyAll(v, second), Verification::After::Moved);
    const VerifySession& s = v.session();
    EXPECT_TRUE(s.correcting());
    EXPECT_EQ(s.items(), (std::vector<int>{7, 140}));
    EXPECT_EQ(shown(s), (Texts{"Question #7", "", ""}));
    EXPECT_EQ(v.key('2'), Verification::After::Moved);
    EXPECT_EQ(shown(s), (Texts{"Question #140", "Question #7", "2"}));
    EXPECT_EQ(v.key('\b'), Verification::After::Moved);
    EXPECT_EQ(shown(s), (Texts{"Question #7", "", ""}));
    EXPECT_EQ(v.key('\b'), Verification::After::Refused);  // not back into the first keying
    EXPECT_EQ(v.key('1'), Verification::After::Moved);
    EXPECT_EQ(v.key('x'), Verification::After::Refused);
    EXPECT_EQ(f.prompter.beeps, 2);
    if (givenUp) f.fs.arm({"write", "DATA401", EROFS, -1});
    f.prompter.script(Answer::Ok);      // write protected: retry
    f.prompter.script(Answer::Cancel);  // still write protected: give up
    EXPECT_EQ(v.key('3'), Verification::After::Close);
    const Asked needed{"Data Correction needed. Please correct the following questions.", "Data Corrections",
                       Buttons::Ok, Icon::None};
    const Asked complete{"Data Verification complete.", "Data Verification", Buttons::Ok, Icon::None};
    EXPECT_EQ(f.prompter.asked,
              (givenUp ? AskedList{needed, kDiskError, kDiskError,
                                   {kVerifyNotStoredMessage, "Data Verification", Buttons::Ok, Icon::Exclamation}}
                       : AskedList{needed, complete}));
    std::string expected = second;
    expected[6] = '1';
    expected[139] = '3';
    if (givenUp) expected = storedAnswers();
    EXPECT_EQ(f.state.clients.slot[1].raw(Field::Responses), expected);
    EXPECT_EQ(f.recordOnDisk(1), first.replace(91, 162, expected));
    EXPECT_EQ(f.recordOnDisk(2), other);
  }
}
