#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>

#include "app/qt/frmMainMenu.h"
#include "intake/FieldText.h"
#include "sheets/qt/frmNewEntry.h"
#include "tests/gui/ClientInfoTestSupport.h"
#include "ui/qt/frmAbout.h"

using namespace zv;
using namespace zvtest;

namespace {

// The answer keyed for an item: some spread of codes the item's grid takes.
char answerFor(int item, int answerType) { return static_cast<char>('1' + (item * 7) % highestCode(answerType)); }

}  // namespace

// From the main menu, by keys alone: Add New Client -> Enter Test Data from
// Answer Sheet -> client information -> court history -> 162 answers -> SAVE.
TEST(AddClientEndToEnd, KeysANewClientFromTheMainMenuIntoRecordThree) {
  IntakeRig rig;
  rig.real.makeDirectories(rig.program.file("data"));
  rig.state.dataLocation.clear();
  {
    // Two clients on the data location the start-up finds.
    IntakeRig two;
    two.storeClients(2);
    writeBytes(rig.program.file("data/DATA401.ZV"), readBytes(two.clientFile()));
  }
  frmMainMenu menu(rig.state);
  menu.hooks().splashTiming = frmAbout::noWaits();
  menu.hooks().askDrive = [](const std::string&) -> std::string { throw std::logic_error("no drive dialog expected"); };
  int ended = 0;
  menu.hooks().endProgram = [&ended] { ++ended; };
  ASSERT_TRUE(menu.Form_Load());
  QApplication::setActiveWindow(&menu);
  menu.activation();
  QApplication::processEvents();
  ASSERT_EQ(rig.state.clients.RecordCount, 2);
  const std::string before = readBytes(rig.program.file("data/DATA401.ZV"));
  ASSERT_EQ(before.size(), 2 * kRecordSize);

  std::string expectedAnswers(162, '0');
  ModalScript script;
  script.then("frmSelectEntryMethod", [](QWidget*) {
    press(Qt::Key_Down);    // "Enter Test Data from Answer Sheet"
    press(Qt::Key_Return);  // opens the chain; returns when it has ended
  });
  script.then("frmClientInfo", [](QWidget*) {
    type(QString::fromUtf8("M\xC3\xBCller-L\xC3\xBC" "denscheidt, J\xC3\xBCrgen"));  // the field takes 25
    press(Qt::Key_Return);
    type("98765432101");  // 11 characters: cut to 10
    press(Qt::Key_Return);
    type("37");
    press(Qt::Key_Return);
    type("4");  // Separated
    press(Qt::Key_Return);
    type("n");  // N/A
    press(Qt::Key_Return);
    type("2");
    press(Qt::Key_Return);
    type("14");
    press(Qt::Key_Return);
    type("07041976");
    press(Qt::Key_Return);
    press(Qt::Key_Return);  // Information OK
  });
  script.then("frmCourtHistory", [](QWidget*) {
    const char* values[kCourtFieldCount] = {"17", "19", "3", "n", "0", "12", "1", "9", "2", "0", "4", "5", "6", "012"};
    for (const char* v : values) {
      type(v);
      press(Qt::Key_Return);
    }
    press(Qt::Key_Return);  // Information OK
  });
  script.then("frmNewEntry", [&expectedAnswers](QWidget* w) {
    auto* grid = static_cast<frmNewEntry*>(w);
    int keyed = 0;
    for (int g = 0; g < grid->gridCount(); ++g) {
      EXPECT_EQ(focused(), grid->grid(g));
      for (int r = 1; r <= grid->grid(g)->rowCount(); ++r) {
        const int item = grid->itemAt(g, r);
        const char a = answerFor(item, grid->gridType(g));
        expectedAnswers[static_cast<std::size_t>(item - 1)] = a;
        type(QString(QChar(a)));
        ++keyed;
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
  QWidget* start = focused();
  ASSERT_TRUE(start == menu.lbNameDisplay() || start == menu.cmdMenuChoice(1));
  if (start == menu.lbNameDisplay()) press(Qt::Key_Tab);
  ASSERT_EQ(focused(), menu.cmdMenuChoice(1));
  press(Qt::Key_Return);
  ASSERT_TRUE(script.done()) << script.failure();

  EXPECT_EQ(rig.state.clients.RecordCount, 3);
  const std::string disk = readBytes(rig.program.file("data/DATA401.ZV"));
  ASSERT_EQ(disk.size(), 3 * kRecordSize);
  EXPECT_EQ(disk.substr(0, 2 * kRecordSize), before);  // the other clients untouched

  std::string expected;
  expected += "M\xFCller-L\xFC" "denscheidt, J\xFCrg";  // Windows-1252, 25 bytes
  expected += "9876543210";
  expected += "37 ";
  expected += "2";  // gender Female
  expected += "0";  // race N/A
  expected += "14";
  expected += "4";  // marital Separated
  expected += "07/04/1976";
  expected += todayText();
  expected += "1719";
  expected += "3 N 0 12";
  expected += "1 9 2 0 ";
  expected += "4 5 6 01";
  expected += expectedAnswers;
  expected += " 0";  // EditCount not set at registration, NameDeleted "0"
  ASSERT_EQ(expected.size(), kRecordSize);
  EXPECT_EQ(disk.substr(2 * kRecordSize), expected);

  // Back on the main menu, the new client is listed last.
  ASSERT_EQ(menu.lbNameDisplay()->count(), 3);
  EXPECT_EQ(menu.lbNameDisplay()->item(2)->text(), QString::fromUtf8("3-Müller-Lüdenscheidt, Jürg"));
  EXPECT_FALSE(menu.cmdMenuChoice(0)->isEnabled());
  EXPECT_EQ(ended, 0);
}
