// The verification screen's keys, labels and closing; the keying rules and
// what is stored: VerifyTest.
#include <gtest/gtest.h>

#include "supervisor/qt/frmVerify.h"
#include "tests/gui/GuiSupport.h"

using namespace zv;

namespace {

std::string storedAnswers() {
  std::string s;
  for (int i = 1; i <= 162; ++i) s += i <= 105 ? static_cast<char>('0' + i % 3) : static_cast<char>('0' + i % 5);
  return s;
}

struct VerifyScreen : zvtest::SupervisorScreens {
  frmVerify screen;
  VerifyScreen() : screen((addClient("Smith", storedAnswers()), state)) { zvtest::showActive(&screen); }
  void type(const std::string& keys) {
    for (char c : keys) QTest::keyClick(screen.txtCurQuestion(), c);
  }
  // Labels and answer shown, and whether the previous question's frame is.
  QStringList shown() const {
    return {screen.lblCurQuestion()->text(), screen.Frame1()->isVisible() ? "frame" : "no frame",
            screen.lblPrevQuestion()->text(), screen.txtPrevQuestion()->text(), screen.txtCurQuestion()->text()};
  }
};

}  // namespace

TEST(VerifyScreen, KeysMoveThroughTheQuestionsAndTheCorrectionsThenTheScreenCloses) {
  VerifyScreen v;
  EXPECT_EQ((QStringList{v.screen.windowTitle(), v.screen.pnlMessage()->text(), v.screen.cmdCancel()->text()}),
            (QStringList{"Test Data Input Verification",
                         "Enter response data from answer sheet. Press Backspace for previous question.", "Cancel"}));
  EXPECT_TRUE(v.screen.txtCurQuestion()->hasFocus());
  EXPECT_EQ(v.shown(), (QStringList{"Question #1", "no frame", "", "", ""}));
  QTest::keyClick(v.screen.txtCurQuestion(), Qt::Key_Backspace);
  v.type("1");  // the field is emptied when the key is released
  EXPECT_EQ(v.shown(), (QStringList{"Question #2", "frame", "Question #1", "1", ""}));
  for (Qt::Key k : {Qt::Key_A, Qt::Key_Return}) QTest::keyClick(v.screen.txtCurQuestion(), k);
  EXPECT_EQ(v.prompter.beeps, 3);
  EXPECT_EQ(v.shown()[0], "Question #2");

  // Differences at 7 and 140 are keyed again (which items, and Backspace
  // among them: VerifyTest); the labels start afresh.
  std::string second = storedAnswers();
  second[6] = second[6] == '0' ? '1' : '0';
  second[139] = second[139] == '4' ? '3' : '4';
  v.type(second.substr(1));
  ASSERT_EQ(zvtest::askedTexts(v.prompter), (zvtest::Texts{"Data Correction needed. Please correct the following questions."}));
  EXPECT_EQ(v.shown(), (QStringList{"Question #7", "no frame", "", "", ""}));
  v.type("12");
  EXPECT_EQ(zvtest::shownAndResult(v.screen), zvtest::kClosedAccepted);  // what is stored: VerifyTest
}

TEST(VerifyScreen, CancelByKeyboardWritesNothing) {
  VerifyScreen v;
  v.type("0120");
  const std::string before = zvtest::readBytes(v.state.clientFile());
  ASSERT_EQ(zvtest::focusAfter(Qt::Key_Tab), v.screen.cmdCancel());
  EXPECT_EQ(v.screen.pnlMessage()->text(), "Press Enter to Cancel Data Verification and return to Main Menu");
  QTest::keyClick(v.screen.cmdCancel(), Qt::Key_Return);
  EXPECT_EQ(zvtest::shownAndResult(v.screen), zvtest::kClosedRejected);
  EXPECT_EQ(zvtest::readBytes(v.state.clientFile()), before);
  EXPECT_TRUE(v.prompter.asked.empty());
}
