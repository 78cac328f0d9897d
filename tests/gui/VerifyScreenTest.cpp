#include <gtest/gtest.h>

#include "supervisor/qt/frmVerify.h"
#include "tests/gui/SupervisorGuiSupport.h"

using namespace zv;

namespace {

std::string storedAnswers() {
  std::string s;
  for (int i = 1; i <= 162; ++i) s += i <= 105 ? static_cast<char>('0' + i % 3) : static_cast<char>('0' + i % 5);
  return s;
}

struct VerifyScreen {
  zvtest::SupervisorScreens s;
  frmVerify screen;
  VerifyScreen() : s(0), screen((s.addClient("Smith", storedAnswers()), s.state)) { zvtest::showActive(&screen); }
  void type(const std::string& keys) {
    for (char c : keys) QTest::keyClick(screen.txtCurQuestion(), c);
  }
};

}  // namespace

TEST(VerifyScreen, StartsAtQuestionOneWithItsTexts) {
  VerifyScreen v;
  EXPECT_EQ(v.screen.windowTitle(), "Test Data Input Verification");
  EXPECT_EQ(v.screen.lblCurQuestion()->text(), "Question #1");
  EXPECT_FALSE(v.screen.Frame1()->isVisible());
  EXPECT_EQ(v.screen.pnlMessage()->text(),
            "Enter response data from answer sheet. Press Backspace for previous question.");
  EXPECT_TRUE(v.screen.txtCurQuestion()->hasFocus());
  EXPECT_EQ(v.screen.cmdCancel()->text(), "Cancel");
  QTest::keyClick(v.screen.txtCurQuestion(), Qt::Key_Backspace);
  EXPECT_EQ(v.s.prompter.beeps, 1);
  v.type("1");
  EXPECT_EQ(v.screen.lblCurQuestion()->text(), "Question #2");
  EXPECT_TRUE(v.screen.Frame1()->isVisible());
  EXPECT_EQ(v.screen.lblPrevQuestion()->text(), "Question #1");
  EXPECT_EQ(v.screen.txtPrevQuestion()->text(), "1");
  EXPECT_EQ(v.screen.txtCurQuestion()->text(), "");  // emptied when the key is released
  QTest::keyClick(v.screen.txtCurQuestion(), Qt::Key_A);
  QTest::keyClick(v.screen.txtCurQuestion(), Qt::Key_Return);
  EXPECT_EQ(v.s.prompter.beeps, 3);
  EXPECT_EQ(v.screen.lblCurQuestion()->text(), "Question #2");
}

TEST(VerifyScreen, ThreeBeepsForItem12AndIsTakenForItem120) {
  VerifyScreen v;
  v.type(storedAnswers().substr(0, 11));
  ASSERT_EQ(v.screen.lblCurQuestion()->text(), "Question #12");
  v.type("3");
  EXPECT_EQ(v.s.prompter.beeps, 1);
  EXPECT_EQ(v.screen.lblCurQuestion()->text(), "Question #12");
  v.type(storedAnswers().substr(11, 108));
  ASSERT_EQ(v.screen.lblCurQuestion()->text(), "Question #120");
  v.type("3");
  EXPECT_EQ(v.s.prompter.beeps, 1);
  EXPECT_EQ(v.screen.lblCurQuestion()->text(), "Question #121");
  EXPECT_EQ(v.screen.txtPrevQuestion()->text(), "3");
}

TEST(VerifyScreen, NoDifferencesEndsTheScreenWithTheRecordUnchanged) {
  VerifyScreen v;
  const std::string before = v.s.recordOnDisk(1);
  v.type(storedAnswers());
  ASSERT_EQ(v.s.prompter.asked.size(), 1u);
  EXPECT_EQ(v.s.prompter.asked[0].text, "Data Verification complete. No corrections needed.");
  EXPECT_EQ(v.s.recordOnDisk(1), before);
  EXPECT_FALSE(v.screen.isVisible());
  EXPECT_EQ(v.screen.result(), QDialog::Accepted);
}

TEST(VerifyScreen, DifferencesAt7And140AreKeyedAgainWithBackspaceFrom140To7) {
  VerifyScreen v;
  std::string second = storedAnswers();
  second[6] = second[6] == '0' ? '1' : '0';
  second[139] = second[139] == '4' ? '3' : '4';
  v.type(second);
  ASSERT_EQ(v.s.prompter.asked.size(), 1u);
  EXPECT_EQ(v.s.prompter.asked[0].title, "Data Corrections");
  EXPECT_EQ(v.screen.lblCurQuestion()->text(), "Question #7");
  EXPECT_FALSE(v.screen.Frame1()->isVisible());
  EXPECT_TRUE(v.screen.txtCurQuestion()->hasFocus());
  v.type("2");
  EXPECT_EQ(v.screen.lblCurQuestion()->text(), "Question #140");
  EXPECT_EQ(v.screen.lblPrevQuestion()->text(), "Question #7");
  EXPECT_EQ(v.screen.txtPrevQuestion()->text(), "2");
  QTest::keyClick(v.screen.txtCurQuestion(), Qt::Key_Backspace);
  EXPECT_EQ(v.screen.lblCurQuestion()->text(), "Question #7");
  v.type("1");
  v.type("2");
  EXPECT_FALSE(v.screen.isVisible());
  ASSERT_EQ(v.s.prompter.asked.size(), 2u);
  EXPECT_EQ(v.s.prompter.asked[1].text, "Data Verification complete.");
  std::string expected = second;
  expected[6] = '1';
  expected[139] = '2';
  EXPECT_EQ(v.s.recordOnDisk(1).substr(91, 162), expected);
}

TEST(VerifyScreen, CancelByKeyboardWritesNothing) {
  VerifyScreen v;
  v.type("0120");
  const std::string before = zvtest::readBytes(v.s.state.clientFile());
  QTest::keyClick(v.screen.txtCurQuestion(), Qt::Key_Tab);
  ASSERT_TRUE(v.screen.cmdCancel()->hasFocus());
  EXPECT_EQ(v.screen.pnlMessage()->text(), "Press Enter to Cancel Data Verification and return to Main Menu");
  QTest::keyClick(v.screen.cmdCancel(), Qt::Key_Return);
  EXPECT_FALSE(v.screen.isVisible());
  EXPECT_EQ(v.screen.result(), QDialog::Rejected);
  EXPECT_EQ(zvtest::readBytes(v.s.state.clientFile()), before);
  EXPECT_TRUE(v.s.prompter.asked.empty());
}
