#include <gtest/gtest.h>

#include <QMessageBox>

#include "app/qt/Activities.h"
#include "intake/FieldText.h"
#include "testing/qt/frmPresentQA.h"
#include "testing/qt/frmSelectLanguage.h"
#include "ui/qt/QtPrompter.h"
#include "tests/core/PresentationSupport.h"
#include "tests/gui/ClientInfoTestSupport.h"

using namespace zv;
using namespace zvtest;

namespace {

QColor base(QWidget* w) { return w->palette().color(QPalette::Base); }
QColor window(QWidget* w) { return w->palette().color(QPalette::Window); }
const QColor kLight(0, 255, 255), kBlue(0, 0, 255);
const std::string kBegin = "The test will begin as soon as you press the Enter key.";
const std::string kPartDone = "You have completed this part of the test. Press Enter to continue.";
const std::string kAllDone = "You have completed the test. Thank you for your participation.\r\rPress Enter to continue.";

// Registers a new client from the entry-method screen by the onscreen test:
// row 0, client information, court history, then `after` on the screens that follow.
void onscreenChain(IntakeRig& rig, const std::function<void(ModalScript&)>& after) {
  ModalScript script;
  script.then("frmSelectEntryMethod", keys({Qt::Key_Return}));
  script.then("frmClientInfo", [](QWidget*) { keyClientInformation("Test Taker"); });
  script.then("frmCourtHistory", [](QWidget*) { keyCourtHistory(); });
  after(script);
  script.run([&] { runAddNewClient(rig.state, nullptr); }, 120000);
}

}  // namespace

// The whole test by keys alone on the installed question bank and voices:
// every sound started in order, all 255 bytes of the stored record, and only
// the access code leaving the entry-method screen.
TEST(PresentQAScreen, WholeTestByKeysInEachLanguage) {
  for (const std::string language : {"English", "Spanish"}) {
    SCOPED_TRACE(language);
    IntakeRig rig;
    rig.state.sndPath = std::string(ZV_PROGRAM_DIR) + "/sounds";
    rig.storeClients(2);
    const std::string before = readBytes(rig.clientFile());
    const bool es = language == "Spanish";
    std::vector<std::string> heard = {"Inst0.wav", "Inst1.wav"};
    std::string codes;
    onscreenChain(rig, [&](ModalScript& script) {
      script.then("frmSelectLanguage", [&](QWidget*) {
        if (es) press(Qt::Key_Down);  // the rows' order: LanguageScreen
        press(Qt::Key_Return);
      });
      script.then("frmPresentQA", [&](QWidget* w) {
        auto* screen = static_cast<frmPresentQA*>(w);
        EXPECT_EQ(rig.prompter.asked.back().text, kBegin);
        EXPECT_EQ((QStringList{screen->windowTitle(), screen->fraInstructions()->title(), screen->msgPanel()->text()}),
                  (es ? QStringList{"Presentación de preguntas", "Instructions", "Oprima la tecla «Enter» para seguir."}
                      : QStringList{"Question Presentation", "Instructions", "When ready press Enter to continue."}));
        for (int page = 0; page < 2; ++page) press(Qt::Key_Return);  // the two pages of instructions
        for (int n = 1; n <= 162; ++n) {
          ASSERT_EQ(screen->presentation().item().id, n);
          ASSERT_EQ(focused(), screen->txtQuestion());
          const ShownItem& item = screen->presentation().item();
          int count = 0;
          while (count < kMaxAnswers && item.choices[static_cast<std::size_t>(count)].shown) ++count;
          const int code = 1 + (n * 7) % count;
          heard.push_back(item.questionSound);
          for (int k = 0; k < code; ++k) heard.push_back(item.choices[static_cast<std::size_t>(k)].sound);
          codes += static_cast<char>('0' + code);
          for (int k = 0; k < code; ++k) press(Qt::Key_Down);
          press(Qt::Key_Return);
          if (n == 105 || n == 139) {
            heard.push_back(n == 105 ? "Inst2.wav" : "Inst3.wav");
            EXPECT_EQ(focused(), screen->txtInstructions());
            press(Qt::Key_Return);
          }
        }
      });
      script.then("frmMyInputBox", accessCode("x"));  // a wrong code
      script.then("frmMyInputBox", keys({Qt::Key_Escape}));  // cancelling brings it back
      script.then("frmMyInputBox", accessCode("k"));
    });
    EXPECT_EQ(rig.player.names(), heard);
    EXPECT_EQ(rig.player.started.front(), rig.state.sndPath + "/ZVTest/sound/" + language + "/Inst0.wav");
    const std::string part = es ? "Usted ha terminado esta parte de la prueba. Oprima la tecla «Enter» para seguir." : kPartDone;
    EXPECT_EQ(askedTexts(rig.prompter),
              (Texts{kBegin, part, part,
                     es ? "Usted ha terminado la prueba. Se le agradece su participación.\r\rOprima la tecla «Enter» para terminar."
                        : kAllDone,
                     "Incorrect password.  Please try again."}));
    EXPECT_EQ(rig.prompter.asked.at(3).title, es ? "Nota de Presentación" : "Presentation Note");
    EXPECT_EQ(rig.state.clients.RecordCount, 3);
    EXPECT_EQ(readBytes(rig.clientFile()), before + "Test Taker" + std::string(15, ' ') + "N" + std::string(9, ' ') + "25 " +
                                               "1" + "2" + "11" + "1" + "N" + std::string(9, ' ') + todayText() + "1919" +
                                               [] { std::string c; for (int i = 0; i < 12; ++i) c += "1 "; return c; }() +
                                               codes + " 0");
  }
}

TEST(PresentQAScreen, ColoursHelpTextsKeysAndClicks) {
  PresentationRig rig;
  rig.table("English", standardBank({{1, {"a", "b", "c", "d", "e"}}, {2, {"x", "y", "", "z"}}}));
  rig.newClient();
  const std::string disk = readBytes(rig.state.clientFile());
  rig.table("Empty", {});  // a table without items: no test
  EXPECT_FALSE(frmPresentQA(rig.state, "Empty").ready());
  EXPECT_EQ(rig.prompter.asked.size(), 1u);
  frmPresentQA screen(rig.state, "English");
  ASSERT_TRUE(screen.ready());
  showActive(&screen);
  EXPECT_TRUE(screen.fraInstructions()->isVisible());
  EXPECT_EQ(screen.txtInstructions()->toPlainText().toStdString().substr(0, 41), "This questionnaire measures truthfulness.");
  EXPECT_EQ(focused(), screen.txtInstructions());
  for (Qt::Key k : {Qt::Key_A, Qt::Key_F10}) press(k);  // other keys do nothing
  EXPECT_EQ(screen.txtInstructions()->toPlainText().toStdString().substr(0, 9), "This ques");
  press(Qt::Key_Return);
  EXPECT_EQ(screen.txtInstructions()->toPlainText().toStdString().substr(0, 14), "The statements");
  EXPECT_EQ(focusAfter(Qt::Key_Tab), screen.txtQuestion());  // Tab closes the instructions as Enter does
  EXPECT_FALSE(screen.fraInstructions()->isVisible());
  EXPECT_EQ(screen.txtQuestion()->toPlainText(), "1. Question 1");
  EXPECT_EQ(base(screen.txtQuestion()), kLight);
  EXPECT_EQ(focusAfter(Qt::Key_Up), screen.txtQuestion());  // discarded in the question field
  EXPECT_EQ(focusAfter(Qt::Key_Down), screen.cmdMenuChoice(0));
  EXPECT_EQ(base(screen.txtQuestion()), kBlue);
  EXPECT_EQ(screen.txtQuestion()->palette().color(QPalette::Text), QColor(255, 255, 255));
  EXPECT_EQ(window(screen.sspMenuChoice(0)), kLight);
  EXPECT_TRUE(screen.txtButtonText(0)->font().bold());
  EXPECT_EQ(screen.msgPanel()->text(), "Press Enter to select this answer. Press Tab or Arrows to hear question again.");
  EXPECT_EQ(focusAfter(Qt::Key_Up), screen.txtQuestion());  // from the first answer to the question
  for (int i = 0; i < 5; ++i) press(Qt::Key_Down);
  EXPECT_EQ(focused(), screen.cmdMenuChoice(4));
  EXPECT_EQ(window(screen.sspMenuChoice(0)), kBlue);
  EXPECT_FALSE(screen.txtButtonText(0)->font().bold());
  press(Qt::Key_X);
  EXPECT_EQ(focusAfter(Qt::Key_Down), screen.txtQuestion());  // past the last answer: the question again
  press(Qt::Key_Down);
  EXPECT_EQ(focusAfter(Qt::Key_Tab), screen.txtQuestion());  // Tab repeats the question
  press(Qt::Key_Escape);
  screen.close();
  EXPECT_TRUE(screen.isVisible());
  EXPECT_EQ(rig.player.names(), (std::vector<std::string>{"Inst0.wav", "Inst1.wav", "Q1.wav", "A-a.wav", "Q1.wav",
                                                           "A-a.wav", "A-b.wav", "A-c.wav", "A-d.wav", "A-e.wav",
                                                           "Q1.wav", "A-a.wav", "Q1.wav"}));
  // A click on an answer's words chooses it.
  QTest::mouseClick(screen.txtButtonText(3), Qt::LeftButton);
  EXPECT_EQ(screen.presentation().answer(1), 4);
  EXPECT_EQ(screen.txtQuestion()->toPlainText(), "2. Question 2");
  const bool rows[] = {true, true, false, true, false};
  for (int i = 0; i < kMaxAnswers; ++i) EXPECT_EQ(screen.sspMenuChoice(i)->isVisible(), rows[i]) << i;
  for (int i = 0; i < 3; ++i) press(Qt::Key_Down);
  EXPECT_EQ(focused(), screen.cmdMenuChoice(3));  // the row without an answer is passed over
  EXPECT_EQ(focusAfter(Qt::Key_F10, Qt::AltModifier), screen.txtQuestion());  // without Shift F10 goes back
  EXPECT_EQ(screen.txtQuestion()->toPlainText(), "1. Question 1");
  press(Qt::Key_F10, Qt::AltModifier | Qt::ShiftModifier);  // abandons
  EXPECT_EQ(shownAndResult(screen), kClosedRejected);
  EXPECT_EQ(readBytes(rig.state.clientFile()), disk);
}

// A real message box takes the activation from the screen and gives it
// back; the focus rules go on all the same.
TEST(PresentQAScreen, SectionNoticeInARealMessageBox) {
  PresentationRig rig;
  rig.table("English", standardBank());
  QtPrompter boxes;
  SystemState state(rig.fs, boxes, rig.program.path());
  state.sndPath = rig.state.sndPath;
  state.player = &rig.player;
  frmPresentQA screen(state, "English");
  showActive(&screen);
  QTimer closer;  // presses OK on each message box
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->button(QMessageBox::Ok)->click();
  });
  closer.start(20);
  for (int n = 0; n < 2 + 2 * 105; ++n) QTest::keyClick(screen.focusWidget(), n < 2 || n % 2 ? Qt::Key_Return : Qt::Key_Down);
  EXPECT_TRUE(screen.fraInstructions()->isVisible());
  EXPECT_EQ(screen.focusWidget(), screen.txtInstructions());
  EXPECT_EQ(screen.msgPanel()->text(), "When ready press Enter to continue.");
  QTest::keyClick(screen.focusWidget(), Qt::Key_Return);
  EXPECT_EQ(screen.focusWidget(), screen.txtQuestion());
  EXPECT_EQ(rig.player.names().back(), "Q106.wav");
}

TEST(LanguageScreen, OneRowPerLanguageTableInTheDatabaseOrder) {
  PresentationRig rig;
  for (const char* t : {"Spanish", "French", "English"}) rig.table(t, {}, false);
  frmSelectLanguage screen(rig.state);
  ASSERT_EQ(screen.LanguageCount(), 2);
  showActive(&screen);
  EXPECT_EQ(screen.windowTitle(), "Select Presentation Language");
  EXPECT_EQ(captions(screen.menu()), (QStringList{"Spanish", "English", "Language 3", "Cancel Presentation"}));
  EXPECT_FALSE(screen.menu()->panel(2)->isVisible());
  QStringList walked;  // Down from the first row: each shown row with its help
  for (int i = 0; i < 3; ++i, press(Qt::Key_Down))
    walked << qobject_cast<QPushButton*>(focused())->text() + ": " + screen.msgPanel()->text();
  EXPECT_EQ(walked, (QStringList{"Spanish: Present in Spanish", "English: Present in English",
                                 "Cancel Presentation: Cancel presentation"}));
  choose(screen.menu(), 1);
  EXPECT_TRUE(rig.state.Accepted);
  EXPECT_EQ(screen.language(), "English");
}

// Row 0 stopping on the way: one language goes without the language screen;
// a cancelled language screen or a database without either table runs no
// test; an abandoned test asks no access code; answers with no slot left
// (another program filled the client file during the test) still leave only
// by the access code. Nothing is stored.
TEST(EntryMethodScreen, OnscreenTestThatStoresNothing) {
  enum Case { OnlyEnglish, CancelLanguage, NoLanguage, FilledMeanwhile };
  for (Case c : {OnlyEnglish, CancelLanguage, NoLanguage, FilledMeanwhile}) {
    SCOPED_TRACE(c);
    IntakeRig rig;
    rig.storeClients(2);
    // The installed database has both tables.
    if (c != CancelLanguage) rig.questionTable(standardBank(), c == NoLanguage ? "english" : "English");
    const std::string disk = c == FilledMeanwhile ? storedClientsBytes(kMaxClients) : readBytes(rig.clientFile());
    onscreenChain(rig, [&rig, c](ModalScript& script) {
      // The third language row is hidden: the second Down goes to "Cancel Presentation".
      if (c == CancelLanguage) script.then("frmSelectLanguage", keys({Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}));
      if (c == OnlyEnglish)
        script.then("frmPresentQA", [](QWidget*) { press(Qt::Key_F10, Qt::AltModifier | Qt::ShiftModifier); });
      if (c != FilledMeanwhile) return;
      script.then("frmPresentQA", [&rig](QWidget* w) {
        writeBytes(rig.clientFile(), storedClientsBytes(kMaxClients));
        const auto& test = static_cast<frmPresentQA*>(w)->presentation();
        for (int keys = 0; keys < 400 && !test.closed(); ++keys) {
          if (!test.instructionsVisible()) press(Qt::Key_Down);
          press(Qt::Key_Return);
        }
      });
      script.then("frmMyInputBox", accessCode("k"));
    });
    EXPECT_EQ(readBytes(rig.clientFile()), disk);
    EXPECT_EQ(recordCounts(rig.state.clients), (std::vector<int>{c == FilledMeanwhile ? kMaxClients : 2, 1}));
    EXPECT_FALSE(rig.state.Accepted);
    const std::vector<Texts> asked = {
        {kBegin}, {}, {"The question database holds no English or Spanish table, so the test cannot be presented."},
        {kBegin, kPartDone, kPartDone, kAllDone, fileChangedMessage()}};
    EXPECT_EQ(askedTexts(rig.prompter), asked[c]);
    if (c == NoLanguage) { EXPECT_EQ(rig.prompter.asked.at(0).icon, Icon::Critical); }
  }
}
