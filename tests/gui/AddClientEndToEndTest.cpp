#include <gtest/gtest.h>

#include "intake/FieldText.h"
#include "sheets/qt/frmNewEntry.h"
#include "tests/gui/ClientInfoTestSupport.h"

using namespace zv;
using namespace zvtest;

// From the main menu, by keys alone: Add New Client -> Enter Test Data from
// Answer Sheet -> client information -> court history -> 162 answers -> SAVE.
TEST(AddClientEndToEnd, KeysANewClientFromTheMainMenuIntoRecordThree) {
  MenuRig rig({"Client 1", "Client 2"}, false);
  rig.menu.hooks().addNewClient = nullptr;  // the real chain
  ASSERT_TRUE(rig.load());
  const std::string before = readBytes(rig.clientFile());
  ASSERT_EQ(before.size(), 2 * kRecordSize);

  std::string expectedAnswers(162, '0');
  ModalScript script;
  script.then("frmSelectEntryMethod", [](QWidget*) {
    press(Qt::Key_Down);    // "Enter Test Data from Answer Sheet"
    press(Qt::Key_Return);  // opens the chain; returns when it has ended
  });
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
    for (int g = 0; g < grid->gridCount(); ++g) {
      EXPECT_EQ(focused(), grid->grid(g));
      for (int r = 1; r <= grid->grid(g)->rowCount(); ++r, ++keyed) {
        const int item = grid->itemAt(g, r);
        // Some spread of the codes the item's grid takes.
        const char a = static_cast<char>('1' + (item * 7) % highestCode(grid->gridType(g)));
        expectedAnswers[static_cast<std::size_t>(item - 1)] = a;
        type(QString(QChar(a)));
      }
    }
    EXPECT_EQ(keyed, 162);
    press(Qt::Key_Tab);  // from the last grid to SAVE
    EXPECT_EQ(focused(), grid->menu()->button(0));
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
  const std::string disk = readBytes(rig.clientFile());
  ASSERT_EQ(disk.size(), 3 * kRecordSize);
  EXPECT_EQ(disk.substr(0, 2 * kRecordSize), before);  // the other clients untouched
  // Name (Windows-1252, 25 bytes), ID, age, gender Female, race N/A, education,
  // marital Separated, birth, tested, court history, answers, EditCount not
  // set at registration, NameDeleted "0".
  EXPECT_EQ(disk.substr(2 * kRecordSize), "M\xFCller-L\xFC" "denscheidt, J\xFCrg" "9876543210" "37 " "2" "0" "14" "4"
                                          "07/04/1976" + todayText() + "1719" "3 N 0 12" "1 9 2 0 " "4 5 6 01" +
                                              expectedAnswers + " 0");

  // Back on the main menu, the new client is listed last.
  ASSERT_EQ(rig.list()->count(), 3);
  EXPECT_EQ(rig.list()->item(2)->text(), QString::fromUtf8("3-Müller-Lüdenscheidt, Jürg"));
  EXPECT_FALSE(rig.cmd(0)->isEnabled());
  EXPECT_EQ(rig.ended, 0);
}
