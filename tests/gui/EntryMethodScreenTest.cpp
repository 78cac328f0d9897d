// The entry-method screen and the Add and Edit chains it and the main menu
// run, one client stored through the whole Add chain by keys alone; the
// slot's rules: ClientFileTest (ClientSlot).
#include <gtest/gtest.h>

#include "app/qt/Activities.h"
#include "intake/FieldText.h"
#include "intake/qt/frmClientInfo.h"
#include "intake/qt/frmCourtHistory.h"
#include "sheets/qt/frmNewEntry.h"
#include "testing/qt/frmSelectEntryMethod.h"
#include "tests/gui/ClientInfoTestSupport.h"

using namespace zv;
using namespace zvtest;

TEST(EntryMethodScreen, FourRowsWithTheirHelpTextsAndTheCancelRow) {
  IntakeRig rig;
  rig.storeClients(2, 2);
  frmSelectEntryMethod screen(rig.state);
  showActive(&screen);
  EXPECT_EQ(screen.windowTitle(), "Entry Method");
  EXPECT_EQ(captions(screen.menu()), (QStringList{"Administer Test to Client", "Enter Test Data from Answer Sheet",
                                                  "Scan Answer Sheet", "Cancel New Client Entry"}));
  EXPECT_EQ(focused(), screen.menu()->button(0));
  EXPECT_EQ(helps(screen.menu(), screen.msgPanel()),
            (QStringList{"Onscreen Presentation. Enter client information then present the test on the computer.",
                         "Paper-Pencil Presentation. Manually enter test information from completed answer sheet.",
                         "Optical Scanner Presentation. Scan completed answer sheet.",
                         "Cancel. Do not enter a new client. Return to Main Menu."}));
  // The cancel row leaves everything as it was.
  choose(screen.menu(), 3);
  EXPECT_FALSE(screen.isVisible());
  EXPECT_EQ(rig.state.clients.CurrentRecord, 2);
  EXPECT_TRUE(rig.prompter.asked.empty());
}

// A chain given up on any screen opens no later one and keeps the file: a new
// client's slot is freed, an edited record is taken back, its court history too.
TEST(EntryMethodScreen, AChainGivenUpAnywhereKeepsTheFileAndFreesOrRestoresTheSlot) {
  enum Case { AddCourtCancelled, AddGridDiscarded, EditInfoCancelled, EditGridDiscarded };
  for (Case c : {AddCourtCancelled, AddGridDiscarded, EditInfoCancelled, EditGridDiscarded}) {
    SCOPED_TRACE(c);
    const bool add = c < EditInfoCancelled, grid = c == AddGridDiscarded || c == EditGridDiscarded;
    IntakeRig rig;
    rig.questionTable(standardBank());
    rig.storeClients(2, 2);
    const ClientRecord before = rig.state.clients.slot[2];
    const std::string disk = readBytes(rig.clientFile());
    ModalScript script;  // the screens that must not open come last: they time out
    if (add) script.then("frmSelectEntryMethod", keys({Qt::Key_Down, Qt::Key_Return}));  // paper answer sheet
    script.then("frmClientInfo", [c](QWidget* w) {
      if (c == EditInfoCancelled) return choose(static_cast<frmClientInfo*>(w)->menu(), 1);
      if (c == EditGridDiscarded) return press(Qt::Key_Return);  // unchanged: written with EditCount 0
      keyClientInformation("Half Way");
    });
    script.then("frmCourtHistory", [&rig, c, add](QWidget* w) {
      EXPECT_EQ(rig.state.clients.current().trimmed(Field::Name), add ? "Half Way" : "Client 2");
      if (c == AddCourtCancelled) return choose(static_cast<frmCourtHistory*>(w)->menu(), 1);
      for (int i = 0; i < kCourtFieldCount; ++i) static_cast<frmCourtHistory*>(w)->field(i)->setText("55");
      choose(static_cast<frmCourtHistory*>(w)->menu(), 0);
    });
    script.then("frmNewEntry", [](QWidget* w) {
      type("1");
      choose(static_cast<frmNewEntry*>(w)->menu(), 1);
    });
    script.start(grid ? 60000 : 3000);
    add ? runAddNewClient(rig.state, nullptr) : runEditCurrentClient(rig.state, nullptr);
    EXPECT_EQ(script.done(), grid) << script.failure();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(readBytes(rig.clientFile()), disk);
    EXPECT_EQ(recordCounts(rig.state.clients), (std::vector<int>{2, add ? 1 : 2}));
    EXPECT_EQ(rig.state.clients.slot[2], before);
    EXPECT_EQ(rig.state.clients.slot[3], ClientRecord());
    EXPECT_FALSE(rig.state.clients.EditMode);
    if (!grid) { EXPECT_FALSE(rig.state.Accepted) << "a cancelled screen is not accepted"; }
  }
}

TEST(EditChain, SavedGridWritesCourtHistoryAndAnswers) {
  IntakeRig rig;
  rig.questionTable(standardBank());
  rig.storeClients(2, 1);
  ModalScript script;
  script.then("frmClientInfo", [](QWidget* w) {
    enter(static_cast<frmClientInfo*>(w)->field(InfoField::Age), "45");
    choose(static_cast<frmClientInfo*>(w)->menu(), 0);
  });
  script.then("frmCourtHistory", [](QWidget* w) {
    enter(static_cast<frmCourtHistory*>(w)->field(13), "11");
    press(Qt::Key_Return);
  });
  script.then("frmNewEntry", [](QWidget* w) {
    type("22");
    choose(static_cast<frmNewEntry*>(w)->menu(), 0);
  });
  script.run([&] { runEditCurrentClient(rig.state, nullptr); });
  const std::string rec = readBytes(rig.clientFile()).substr(0, kRecordSize);
  // Age, the last court field and the first answers, EditCount.
  EXPECT_EQ((std::vector<std::string>{rec.substr(35, 3), rec.substr(89, 5), rec.substr(253, 1)}),
            (std::vector<std::string>{"45 ", "11221", "1"}));
  EXPECT_EQ(rig.state.clients.RecordCount, 2);
}

// From the main menu, by keys alone: Add New Client -> Enter Test Data from
// Answer Sheet -> client information -> court history -> 162 answers -> SAVE.
TEST(AddClientEndToEnd, KeysANewClientFromTheMainMenuIntoRecordThree) {
  MenuRig rig({"Client 1", "Client 2"});
  rig.menu.hooks().addNewClient = nullptr;  // the real chain
  const std::string before = readBytes(rig.clientFile());

  std::string expectedAnswers(162, '0');
  ModalScript script;
  // "Enter Test Data from Answer Sheet" opens the chain and returns when it has ended.
  script.then("frmSelectEntryMethod", keys({Qt::Key_Down, Qt::Key_Return}));
  // The name field takes 25 characters, the ID number shows 11 and keeps 10;
  // then marital Separated, race N/A, gender Female.
  script.then("frmClientInfo", [&](QWidget*) {
    keyFields({QString::fromUtf8("M\xC3\xBCller-L\xC3\xBC" "denscheidt, J\xC3\xBCrgen"), "98765432101", "37", "4", "n", "2",
            "14", "07041976"});
  });
  script.then("frmCourtHistory",
              [&](QWidget*) { keyFields({"17", "19", "3", "n", "0", "12", "1", "9", "2", "0", "4", "5", "6", "012"}); });
  script.then("frmNewEntry", [&expectedAnswers](QWidget* w) {
    auto* grid = static_cast<frmNewEntry*>(w);
    int keyed = 0;
    for (int g = 0; g < grid->gridCount(); ++g) {  // each grid's last answer moves the focus on
      for (int r = 1; r <= grid->grid(g)->rowCount(); ++r, ++keyed) {
        const int item = grid->itemAt(g, r);
        // Some spread of the codes the item's grid takes.
        const char a = static_cast<char>('1' + (item * 7) % highestCode(grid->gridType(g)));
        expectedAnswers[static_cast<std::size_t>(item - 1)] = a;
        type(QString(QChar(a)));
      }
    }
    EXPECT_EQ(keyed, 162);
    EXPECT_EQ(focusAfter(Qt::Key_Tab), grid->menu()->button(0));  // from the last grid to SAVE
    press(Qt::Key_Return);
  });
  script.start();

  // The main menu: the list has the focus; Tab passes the disabled edit
  // button to "Add New Client", Enter runs it.
  if (focused() == rig.list()) press(Qt::Key_Tab);
  ASSERT_EQ(focused(), rig.cmd(1));
  press(Qt::Key_Return);
  ASSERT_TRUE(script.done()) << script.failure();

  EXPECT_EQ(rig.state.clients.RecordCount, 3);
  // The other clients untouched; then name (Windows-1252, 25 bytes), ID, age,
  // gender Female, race N/A, education, marital Separated, birth, tested, court
  // history, answers, EditCount not set at registration, NameDeleted "0".
  EXPECT_EQ(readBytes(rig.clientFile()), before + "M\xFCller-L\xFC" "denscheidt, J\xFCrg" "9876543210" "37 " "2" "0"
                                             "14" "4" "07/04/1976" + todayText() + "1719" "3 N 0 12" "1 9 2 0 "
                                             "4 5 6 01" + expectedAnswers + " 0");

  // Back on the main menu, the new client is listed last.
  ASSERT_EQ(rig.list()->count(), 3);
  EXPECT_EQ(rig.list()->item(2)->text(), QString::fromUtf8("3-Müller-Lüdenscheidt, Jürg"));
  EXPECT_EQ(rig.ended, 0);
}
