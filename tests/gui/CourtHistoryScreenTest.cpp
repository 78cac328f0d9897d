// The court history screen; the rules of each field: IntakeClientInfoTest.
#include <gtest/gtest.h>

#include "intake/CourtHistoryRules.h"
#include "intake/qt/frmCourtHistory.h"
#include "records/ClientSlot.h"
#include "tests/gui/ClientInfoTestSupport.h"

using namespace zv;
using namespace zvtest;

namespace {

struct CourtScreen {
  IntakeRig rig;
  std::unique_ptr<frmCourtHistory> screen;
  explicit CourtScreen(bool edit = false) {
    rig.storeClients(2, 2);
    edit ? (void)ClientSlot(rig.state.clients).beginEdit() : rig.newClient();  // a new client goes to slot 3
    screen = std::make_unique<frmCourtHistory>(rig.state);
    showActive(screen.get());
  }
};

}  // namespace

TEST(CourtHistoryScreen, NewClientStartsEmptyARefusalIsToldAndEmptiedEnterAndTabMoveOnAltShiftF10Leaves) {
  CourtScreen s;
  EXPECT_EQ(s.screen->windowTitle(), "Court History");
  EXPECT_EQ(focused(), s.screen->field(0));
  EXPECT_EQ(s.screen->clientName()->text(), "New Client" + QString(15, ' '));
  EXPECT_EQ(s.screen->msgPanel()->text(), "Enter age in number of years or N for Not Available, then press Enter.");
  EXPECT_TRUE(s.screen->label(0)->font().bold());
  for (int i = 0; i < kCourtFieldCount; ++i) EXPECT_TRUE(s.screen->field(i)->text().isEmpty());
  enter(s.screen->field(0), "4");
  EXPECT_EQ(s.rig.prompter.asked, (AskedList{{courtErrorMessage(0), "Data Entry Error", Buttons::Ok, Icon::Critical}}));
  EXPECT_EQ(s.rig.prompter.beeps, 1);
  EXPECT_EQ(s.screen->field(0)->text(), "");
  type("5");  // the focus stays on the refused field
  EXPECT_EQ(focusAfter(Qt::Key_Return), s.screen->field(1));
  EXPECT_FALSE(s.screen->label(0)->font().bold());
  type("99");
  EXPECT_EQ(focusAfter(Qt::Key_Tab), s.screen->field(2));
  EXPECT_EQ(s.screen->msgPanel()->text(), "Type a value 0 to 99 or N for Not Available, then press Enter.");
  enter(s.screen->field(2), "n");
  EXPECT_EQ(s.screen->field(2)->text(), "N");
  EXPECT_EQ(focused(), s.screen->field(3));
  EXPECT_EQ(s.rig.prompter.asked.size(), 1u);
  // Alt+Shift+F10 leaves without storing; Accepted is not touched.
  s.rig.state.Accepted = true;
  press(Qt::Key_F10, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_EQ((std::pair{s.screen->isVisible(), s.rig.state.Accepted}), std::pair(false, true));
  EXPECT_EQ(s.rig.state.clients.slot[3].raw(Field::FirstArrest), "  ");
}

// Every field keyed into the record: AddClientEndToEnd (EntryMethodScreenTest);
// two characters per field: CourtHistoryRules; nothing written before the
// answers: EntryMethodScreen.
TEST(CourtHistoryScreen, AcceptingWithFieldFiveEmptyStopsThere) {
  CourtScreen s;
  for (int i = 0; i < kCourtFieldCount; ++i)
    if (i != 5) s.screen->field(i)->setText(i < 2 ? "20" : "1");
  s.screen->field(0)->setText("3");  // out of range: acceptance only tests emptiness
  choose(s.screen->menu(), 0);
  EXPECT_EQ(s.rig.prompter.asked, (AskedList{{"Enter a number from 0 to 99 or N for Not Available. Press Enter to continue.",
                                              "Data Entry Error", Buttons::Ok, Icon::Critical}}));
  EXPECT_EQ(focused(), s.screen->field(5));
  EXPECT_EQ((std::pair{s.rig.state.Accepted, s.screen->isVisible()}), std::pair(false, true));
  s.screen->field(5)->setText("2");
  s.screen->menu()->button(0)->setFocus();
  EXPECT_EQ(s.screen->msgPanel()->text(), "If information is correct press Enter or press Tab to change an entry.");
  s.screen->menu()->button(0)->click();  // a value typed without Enter is stored as typed
  EXPECT_TRUE(s.rig.state.Accepted);
  EXPECT_EQ(s.rig.state.clients.slot[3].raw(Field::FirstArrest), "3 ");
  EXPECT_EQ(s.rig.state.clients.slot[3].raw(Field::TimesParole), "2 ");
}

TEST(CourtHistoryScreen, EditingAndCancelStoreNothing) {
  // Editing shows the stored values with their blank and starts on OK.
  CourtScreen s(true);
  EXPECT_EQ(focused(), s.screen->menu()->button(0));
  EXPECT_EQ((QStringList{s.screen->field(0)->text(), s.screen->field(7)->text()}), (QStringList{"0 ", "7 "}));
  EXPECT_EQ(s.screen->clientName()->text(), "Client 2" + QString(17, ' '));
  focusOn(s.screen->field(7));
  EXPECT_EQ(focusAfter(Qt::Key_Return), s.screen->field(8));
  EXPECT_EQ(s.screen->field(7)->text(), "7");  // leaving trims the stored blank
  // Alt+Shift+F10 also leaves from a button, which discards every other key.
  focusOn(s.screen->menu()->button(0));
  press(Qt::Key_Escape);
  EXPECT_TRUE(s.screen->isVisible());
  press(Qt::Key_F10, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_EQ(shownAndResult(*s.screen), kClosedRejected);

  CourtScreen c(true);
  const ClientRecord before = c.rig.state.clients.slot[2];
  enter(c.screen->field(0), "44");
  focusOn(c.screen->menu()->button(1));
  EXPECT_EQ(c.screen->msgPanel()->text(), "Cancel information input and return to Main Menu.");
  press(Qt::Key_Return);
  EXPECT_FALSE(c.rig.state.Accepted);
  EXPECT_EQ(c.rig.state.clients.slot[2], before);
}
