// The entry-method screen and the Add and Edit chains it and the main menu
// run. A client stored through the whole Add chain: AddClientEndToEndTest;
// the slot's rules: ClientFileTest (ClientSlot).
#include <gtest/gtest.h>

#include "app/qt/Activities.h"
#include "intake/qt/frmClientInfo.h"
#include "intake/qt/frmCourtHistory.h"
#include "sheets/qt/frmNewEntry.h"
#include "testing/qt/frmSelectEntryMethod.h"
#include "tests/gui/ClientInfoTestSupport.h"

using namespace zv;
using namespace zvtest;

namespace {

void choosePaperSheet(QWidget*) {
  press(Qt::Key_Down);
  press(Qt::Key_Return);
}

// Enter on a row of a screen's command menu.
template <class Screen>
void chooseOn(QWidget* w, int row) {
  choose(static_cast<Screen*>(w)->menu(), row);
}

}  // namespace

TEST(EntryMethodScreen, FourRowsWithTheirHelpTextsAndTheCancelRow) {
  IntakeRig rig;
  rig.storeClients(2);
  rig.state.clients.CurrentRecord = 2;
  frmSelectEntryMethod screen(rig.state);
  showActive(&screen);
  EXPECT_EQ(screen.windowTitle(), "Entry Method");
  EXPECT_EQ(captions(screen.menu()), (QStringList{"Administer Test to Client", "Enter Test Data from Answer Sheet",
                                                  "Scan Answer Sheet", "Cancel New Client Entry"}));
  // Down walks the rows, each highlighted with its help text.
  QStringList helps;
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(focused(), screen.menu()->button(i));
    EXPECT_TRUE(screen.menu()->isHighlighted(i));
    helps << screen.msgPanel()->text();
    press(Qt::Key_Down);
  }
  EXPECT_EQ(helps, (QStringList{"Onscreen Presentation. Enter client information then present the test on the computer.",
                                "Paper-Pencil Presentation. Manually enter test information from completed answer sheet.",
                                "Optical Scanner Presentation. Scan completed answer sheet.",
                                "Cancel. Do not enter a new client. Return to Main Menu."}));
  // A letter does nothing on a row.
  screen.menu()->button(1)->setFocus();
  press(Qt::Key_A);
  EXPECT_TRUE(screen.isVisible());
  // The cancel row leaves everything as it was.
  choose(screen.menu(), 3);
  EXPECT_FALSE(screen.isVisible());
  EXPECT_EQ(rig.state.clients.CurrentRecord, 2);
  EXPECT_TRUE(rig.prompter.asked.empty());
}

TEST(EntryMethodScreen, ACancelledCourtHistoryOrADiscardedGridFreesTheSlotAndKeepsTheFile) {
  for (bool discardGrid : {false, true}) {
    SCOPED_TRACE(discardGrid ? "grid discarded" : "court history cancelled");
    IntakeRig rig;
    rig.questionTable(standardRows());
    rig.storeClients(2);
    const std::string disk = readBytes(rig.clientFile());
    bool gridOpened = false;
    ModalScript script;
    script.then("frmSelectEntryMethod", choosePaperSheet);
    script.then("frmClientInfo", [](QWidget*) { keyFields({"Half Way", "N", "25", "1", "2", "1", "11", "N"}); });
    script.then("frmCourtHistory", [&rig, discardGrid](QWidget* w) {
      EXPECT_EQ(rig.state.clients.CurrentRecord, 3);
      EXPECT_EQ(rig.state.clients.slot[3].trimmed(Field::Name), "Half Way");
      if (!discardGrid) return chooseOn<frmCourtHistory>(w, 1);
      for (int i = 0; i < kCourtFieldCount; ++i) static_cast<frmCourtHistory*>(w)->field(i)->setText("1");
      chooseOn<frmCourtHistory>(w, 0);
    });
    script.then("frmNewEntry", [&gridOpened](QWidget* w) {
      gridOpened = true;
      type("1");
      chooseOn<frmNewEntry>(w, 1);
    });
    script.start(discardGrid ? 60000 : 3000);
    runAddNewClient(rig.state, nullptr);
    EXPECT_EQ(script.done(), discardGrid) << script.failure();
    EXPECT_EQ(gridOpened, discardGrid);
    EXPECT_EQ(readBytes(rig.clientFile()), disk);
    EXPECT_EQ(rig.state.clients.RecordCount, 2);
    EXPECT_EQ(rig.state.clients.CurrentRecord, 1);
    EXPECT_EQ(rig.state.clients.slot[3], ClientRecord());
  }
}

TEST(EditChain, DiscardedGridTakesBackTheCourtHistoryAndKeepsTheFile) {
  IntakeRig rig;
  rig.questionTable(standardRows());
  rig.storeClients(2);
  rig.state.clients.CurrentRecord = 2;
  const ClientRecord before = rig.state.clients.slot[2];
  ModalScript script;
  script.then("frmClientInfo", [](QWidget*) { press(Qt::Key_Return); });  // unchanged: written with EditCount 0
  script.then("frmCourtHistory", [](QWidget* w) {
    static_cast<frmCourtHistory*>(w)->field(2)->setText("55");
    chooseOn<frmCourtHistory>(w, 0);
  });
  script.then("frmNewEntry", [](QWidget* w) {
    type("2");
    chooseOn<frmNewEntry>(w, 1);
  });
  script.start();
  runEditCurrentClient(rig.state, nullptr);
  EXPECT_TRUE(script.done()) << script.failure();
  EXPECT_EQ(rig.state.clients.slot[2], before);
  EXPECT_EQ(readBytes(rig.clientFile()).substr(kRecordSize), before.bytes());
  EXPECT_FALSE(rig.state.clients.EditMode);
}

TEST(EditChain, SavedGridWritesCourtHistoryAndAnswers) {
  IntakeRig rig;
  rig.questionTable(standardRows());
  rig.storeClients(2);
  rig.state.clients.CurrentRecord = 1;
  ModalScript script;
  script.then("frmClientInfo", [](QWidget* w) {
    static_cast<frmClientInfo*>(w)->field(InfoField::Age)->setFocus(Qt::TabFocusReason);
    type("45");
    press(Qt::Key_Return);
    chooseOn<frmClientInfo>(w, 0);
  });
  script.then("frmCourtHistory", [](QWidget* w) {
    static_cast<frmCourtHistory*>(w)->field(13)->setFocus(Qt::TabFocusReason);
    type("11");
    press(Qt::Key_Return);
    press(Qt::Key_Return);
  });
  script.then("frmNewEntry", [](QWidget* w) {
    type("22");
    chooseOn<frmNewEntry>(w, 0);
  });
  script.start();
  runEditCurrentClient(rig.state, nullptr);
  EXPECT_TRUE(script.done()) << script.failure() << ::testing::PrintToString(askedTexts(rig.prompter));
  const std::string rec = readBytes(rig.clientFile()).substr(0, kRecordSize);
  EXPECT_EQ(rec.substr(35, 3), "45 ");
  EXPECT_EQ(rec.substr(89, 5), "11221");
  EXPECT_EQ(rec.substr(253, 1), "1");
  EXPECT_EQ(rig.state.clients.RecordCount, 2);
}

TEST(EditChain, CancelledClientInformationOpensNothingElse) {
  IntakeRig rig;
  rig.storeClients(1);
  rig.state.clients.CurrentRecord = 1;
  const std::string disk = readBytes(rig.clientFile());
  ModalScript script;
  script.then("frmClientInfo", [](QWidget* w) { chooseOn<frmClientInfo>(w, 1); });
  script.start();
  runEditCurrentClient(rig.state, nullptr);
  EXPECT_TRUE(script.done()) << script.failure();
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(readBytes(rig.clientFile()), disk);
  EXPECT_FALSE(rig.state.Accepted);
}
