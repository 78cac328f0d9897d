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

// Keys a complete new client into the client information screen, then "Information OK".
void keyClientInformation(const QString& name) {
  for (const QString& value : {name, QString("N"), QString("25"), QString("1"), QString("2"), QString("1"),
                               QString("11"), QString("N")}) {
    type(value);
    press(Qt::Key_Return);
  }
  press(Qt::Key_Return);
}

void keyCourtHistory() {
  for (int i = 0; i < kCourtFieldCount; ++i) {
    type(i < 2 ? "19" : "1");
    press(Qt::Key_Return);
  }
  press(Qt::Key_Return);  // "Information OK"
}

void choosePaperSheet(QWidget*) {
  press(Qt::Key_Down);
  press(Qt::Key_Return);
}

// Presses a row of a screen's command menu.
template <class Screen>
void choose(QWidget* w, int row) {
  static_cast<Screen*>(w)->menu()->button(row)->setFocus();
  press(Qt::Key_Return);
}

}  // namespace

TEST(EntryMethodScreen, FourRowsWithTheirHelpTextsAndOneNotAvailableYet) {
  IntakeRig rig;
  frmSelectEntryMethod screen(rig.state);
  showActive(&screen);
  EXPECT_EQ(screen.windowTitle(), "Entry Method");
  const char* captions[] = {"Administer Test to Client", "Enter Test Data from Answer Sheet", "Scan Answer Sheet",
                            "Cancel New Client Entry"};
  const char* helps[] = {
      "Onscreen Presentation. Enter client information then present the test on the computer.",
      "Paper-Pencil Presentation. Manually enter test information from completed answer sheet.",
      "Optical Scanner Presentation. Scan completed answer sheet.",
      "Cancel. Do not enter a new client. Return to Main Menu.",
  };
  ASSERT_EQ(screen.menu()->count(), 4);
  EXPECT_EQ(focused(), screen.menu()->button(0));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(screen.menu()->button(i)->text(), captions[i]);
    EXPECT_EQ(focused(), screen.menu()->button(i));
    EXPECT_EQ(screen.msgPanel()->text(), helps[i]);
    EXPECT_TRUE(screen.menu()->isHighlighted(i));
    press(Qt::Key_Down);
  }
  // A letter does nothing on a row.
  screen.menu()->button(1)->setFocus();
  press(Qt::Key_A);
  EXPECT_TRUE(screen.isVisible());
  // The onscreen test is not available yet.
  screen.menu()->button(0)->setFocus();
  press(Qt::Key_Return);
  ASSERT_EQ(rig.prompter.asked.size(), 1u);
  EXPECT_EQ(rig.prompter.asked[0].text, "This function is not available yet.");
  EXPECT_TRUE(screen.isVisible());
}

TEST(EntryMethodScreen, CancelRowLeavesEverythingAsItWas) {
  IntakeRig rig;
  rig.storeClients(2);
  rig.state.clients.CurrentRecord = 2;
  frmSelectEntryMethod screen(rig.state);
  showActive(&screen);
  screen.menu()->button(3)->setFocus();
  press(Qt::Key_Return);
  EXPECT_FALSE(screen.isVisible());
  EXPECT_EQ(rig.state.clients.CurrentRecord, 2);
  EXPECT_TRUE(rig.prompter.asked.empty());
}

TEST(EntryMethodScreen, CancelledCourtHistoryOpensNoGridAndFreesTheSlot) {
  IntakeRig rig;
  rig.storeClients(2);
  const std::string disk = readBytes(rig.clientFile());
  frmSelectEntryMethod screen(rig.state);
  bool gridOpened = false;
  // Should a grid open, it is noticed and closed (the timer dies with the test).
  QTimer watch;
  watch.setInterval(100);
  QObject::connect(&watch, &QTimer::timeout, [&gridOpened] {
    if (auto* m = QApplication::activeModalWidget(); m && m->objectName() == "frmNewEntry") {
      gridOpened = true;
      m->close();
    }
  });
  watch.start();
  ModalScript script;
  script.then("frmSelectEntryMethod", choosePaperSheet);
  script.then("frmClientInfo", [](QWidget*) { keyClientInformation("Half Way"); });
  script.then("frmCourtHistory", [&rig](QWidget* w) {
    EXPECT_EQ(rig.state.clients.CurrentRecord, 3);
    EXPECT_EQ(rig.state.clients.slot[3].trimmed(Field::Name), "Half Way");
    choose<frmCourtHistory>(w, 1);
  });
  script.start();
  screen.exec();
  EXPECT_TRUE(script.done()) << script.failure();
  EXPECT_FALSE(gridOpened);
  EXPECT_FALSE(rig.state.Accepted);
  EXPECT_EQ(readBytes(rig.clientFile()), disk);
  EXPECT_EQ(rig.state.clients.RecordCount, 2);
  EXPECT_EQ(rig.state.clients.CurrentRecord, 1);
  EXPECT_EQ(rig.state.clients.slot[3], ClientRecord());
}

TEST(EntryMethodScreen, PaperAnswerSheetChainStoresTheClientOrDiscardsIt) {
  for (bool save : {true, false}) {
    SCOPED_TRACE(save ? "saved" : "discarded");
    IntakeRig rig;
    rig.questionTable(standardRows());
    rig.storeClients(save ? 0 : 1);
    const std::string before = readBytes(rig.clientFile());
    ModalScript script;
    script.then("frmSelectEntryMethod", choosePaperSheet);
    script.then("frmClientInfo", [save](QWidget*) { keyClientInformation(save ? "First Ever" : "Not Kept"); });
    script.then("frmCourtHistory", [](QWidget*) { keyCourtHistory(); });
    script.then("frmNewEntry", [save](QWidget* w) {
      EXPECT_EQ(static_cast<frmNewEntry*>(w)->gridCount(), 3);
      type(save ? "2121" : "1");
      choose<frmNewEntry>(w, save ? 0 : 1);
    });
    script.start();
    runAddNewClient(rig.state, nullptr);
    EXPECT_TRUE(script.done()) << script.failure();
    EXPECT_EQ(rig.state.clients.RecordCount, 1);
    EXPECT_EQ(rig.state.clients.CurrentRecord, 1);
    const std::string disk = readBytes(rig.clientFile());
    if (!save) {
      EXPECT_EQ(disk, before);
      EXPECT_EQ(rig.state.clients.slot[2], ClientRecord());
      continue;
    }
    ASSERT_EQ(disk.size(), kRecordSize);
    EXPECT_EQ(disk.substr(0, 10), "First Ever");
    EXPECT_EQ(disk.substr(91, 162), "2121" + std::string(158, '0'));
  }
}

TEST(EntryMethodScreen, FiftySecondClientIsRefusedBeforeAnyScreen) {
  IntakeRig rig;
  rig.storeClients(kMaxClients);
  runAddNewClient(rig.state, nullptr);
  ASSERT_EQ(rig.prompter.asked.size(), 1u);
  EXPECT_EQ(rig.prompter.asked[0].text, clientFileFullMessage());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
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
    choose<frmCourtHistory>(w, 0);
  });
  script.then("frmNewEntry", [](QWidget* w) {
    type("2");
    choose<frmNewEntry>(w, 1);
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
    choose<frmClientInfo>(w, 0);
  });
  script.then("frmCourtHistory", [](QWidget* w) {
    static_cast<frmCourtHistory*>(w)->field(13)->setFocus(Qt::TabFocusReason);
    type("11");
    press(Qt::Key_Return);
    press(Qt::Key_Return);
  });
  script.then("frmNewEntry", [](QWidget* w) {
    type("22");
    choose<frmNewEntry>(w, 0);
  });
  script.start();
  runEditCurrentClient(rig.state, nullptr);
  EXPECT_TRUE(script.done()) << script.failure() << ::testing::PrintToString(rig.askedTexts());
  const std::string rec = readBytes(rig.clientFile()).substr(0, kRecordSize);
  EXPECT_EQ(rec.substr(35, 3), "45 ");
  EXPECT_EQ(rec.substr(89, 2), "11");
  EXPECT_EQ(rec.substr(91, 3), "221");
  EXPECT_EQ(rec.substr(253, 1), "1");
  EXPECT_EQ(rig.state.clients.RecordCount, 2);
}

TEST(EditChain, CancelledClientInformationOpensNothingElse) {
  IntakeRig rig;
  rig.storeClients(1);
  rig.state.clients.CurrentRecord = 1;
  const std::string disk = readBytes(rig.clientFile());
  ModalScript script;
  script.then("frmClientInfo", [](QWidget* w) {
    choose<frmClientInfo>(w, 1);
  });
  script.start();
  runEditCurrentClient(rig.state, nullptr);
  EXPECT_TRUE(script.done()) << script.failure();
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(readBytes(rig.clientFile()), disk);
  EXPECT_FALSE(rig.state.Accepted);
}
