// The client information screen: keys, focus, messages and what it stores.
// The rules of each field, and what storing writes where and when (a new
// client into the next slot but not yet to disk, an edit at once, a locked
// one unchanged): IntakeClientInfoTest; every field of a new record keyed
// from the main menu: AddClientEndToEnd (EntryMethodScreenTest).
#include <gtest/gtest.h>

#include <cerrno>

#include <QClipboard>
#include <array>

#include "intake/FieldText.h"
#include "intake/qt/frmClientInfo.h"
#include "tests/gui/ClientInfoTestSupport.h"

using namespace zv;
using namespace zvtest;

namespace {

// The screen over a rig; values are typed and each field left with Enter.
struct InfoScreen {
  IntakeRig rig;
  std::unique_ptr<frmClientInfo> screen;
  std::string diskAtOpen;
  // A new client after `stored` clients, shown.
  explicit InfoScreen(int stored = 0) {
    rig.storeClients(stored);
    open();
  }
  // Stored client 2 of 3 being edited, with its counters and birth date.
  InfoScreen(const char* editCount, const char* nameDeleted, const char* dateOfBirth = "05/06/1980") {
    rig.storeClients(3, 2);
    ClientRecord& r = rig.state.clients.slot[2];
    for (auto [f, v] : {std::pair{Field::EditCount, editCount}, {Field::NameDeleted, nameDeleted},
                        {Field::DateOfBirth, dateOfBirth}})
      r.setRaw(f, v);
    SaveClientRecord(rig.fs, rig.clientFile(), rig.state.clients, 2);
    rig.state.clients.EditMode = true;
    open();
  }
  void open() {
    diskAtOpen = readBytes(rig.clientFile());
    screen = std::make_unique<frmClientInfo>(rig.state);
    showActive(screen.get());
  }
  QLineEdit* text(InfoField f) { return screen->textField(f); }
  QComboBox* list(InfoField f) { return screen->listField(f); }
  QWidget* field(InfoField f) { return screen->field(f); }
  // Fills the fields in order; an empty value leaves its field alone.
  void fill(const std::array<const char*, kInfoFieldCount>& values = {"Ann Lee", "A-77", "42", "2", "3", "2", "12",
                                                                       "01021990"}) {
    for (int i = 0; i < kInfoFieldCount; ++i)
      if (*values[i]) zvtest::enter(field(infoField(i)), QString::fromUtf8(values[i]));
  }
  void expectLocked() {
    for (int i = 0; i < kInfoFieldCount; ++i) EXPECT_FALSE(field(infoField(i))->isEnabled()) << i;
    EXPECT_EQ(focused(), screen->menu()->button(0));
  }
  // The one message a refused field gives: its text under the application's title.
  void expectRefused(InfoField f) {
    EXPECT_EQ(rig.prompter.asked, (AskedList{{infoErrorMessage(f), kAppTitle, Buttons::Ok, Icon::Critical}}));
    EXPECT_EQ(focused(), field(f));
    rig.prompter.asked.clear();
  }
};

// The two locks on a stored record: its counters, the message, its title and the help shown.
const struct Lock { const char *editCount, *nameDeleted, *title, *text, *help; } kLocks[] = {
    {"3", "0", "Edit Limit Reached",
     "This client's information has been edited.\r3 times already. Further editing of this\rinformation is no "
     "longer permitted.",
     "No further editing permitted. Press Enter to save and continue."},
    {"1", "1", "Name Deleted", "This client's name has been deleted.\rEditing this information is no longer permitted.",
     "Client name has been deleted. Editing is not permitted. Press Enter to continue."},
};

}  // namespace

TEST(ClientInfoScreen, NewClientByKeysIsBuiltInTheNextSlotOnly) {
  InfoScreen s(2);
  EXPECT_EQ(s.screen->windowTitle(), "Client Information");
  EXPECT_EQ(s.screen->msgPanel()->text().toStdString(), infoHelp(InfoField::Name));
  EXPECT_TRUE(s.screen->label(InfoField::Name)->font().bold());
  // The lists take the digit or N of a choice; the ID shows 11 characters while typing.
  const Keyed k = keyEach({"Ann Lee", "12345678901", "42", "2", "5", "n", "12", "01021990"});
  EXPECT_EQ(k.shown, (QStringList{"Ann Lee", "12345678901", "42", "Married", "Native American", "N/A", "12", "01/02/1990"}));
  EXPECT_EQ(k.focus, (QStringList{"txtSSN", "txtAge", "cmbMarital", "cmbRace", "cmbGender", "txtEducation",
                                  "txtDateOfBirth", "cmdMenuChoice0"}));
  EXPECT_FALSE(s.screen->label(InfoField::Name)->font().bold());
  EXPECT_EQ(s.screen->msgPanel()->text(), "If information is correct press Enter or press Tab to change an entry.");
  press(Qt::Key_Return);
  EXPECT_TRUE(s.rig.state.Accepted);
  EXPECT_EQ(s.screen->result(), QDialog::Accepted);
  EXPECT_EQ(s.rig.state.clients.slot[3].trimmed(Field::Name), "Ann Lee");
  EXPECT_TRUE(s.rig.prompter.asked.empty());
}

TEST(ClientInfoScreen, ARefusedValueIsToldWithABeepEmptiedOrKeptAndTheFocusStaysCancelStoresNothing) {
  InfoScreen s(1);
  const ClientRecord before = s.rig.state.clients.slot[2];
  enter(s.field(InfoField::Age), "10");
  s.expectRefused(InfoField::Age);
  EXPECT_EQ(s.rig.prompter.beeps, 1);
  EXPECT_EQ(s.text(InfoField::Age)->text(), "");
  enter(s.field(InfoField::Age), "n");
  EXPECT_EQ(s.text(InfoField::Age)->text(), "N");
  EXPECT_EQ(focused(), s.field(InfoField::Marital));
  // Tab leaves a field with the same check.
  focusOn(s.field(InfoField::Age));
  type("7");
  press(Qt::Key_Tab);
  s.expectRefused(InfoField::Age);
  // A date is kept for correction.
  enter(s.field(InfoField::DateOfBirth), "02301990");
  s.expectRefused(InfoField::DateOfBirth);
  EXPECT_EQ(s.text(InfoField::DateOfBirth)->text(), "02/30/1990");
  // "N1" passes the field's own check and is refused on accepting.
  s.fill();
  s.text(InfoField::DateOfBirth)->clear();
  enter(s.field(InfoField::DateOfBirth), "N1");
  EXPECT_EQ(s.text(InfoField::DateOfBirth)->text(), "N1/");
  press(Qt::Key_Return);
  s.expectRefused(InfoField::DateOfBirth);
  EXPECT_FALSE(s.rig.state.Accepted);
  // An empty education field passes its own check (as 0) but not accepting, which goes back to it silently.
  s.text(InfoField::DateOfBirth)->setText("01/02/1990");
  s.text(InfoField::Education)->clear();
  choose(s.screen->menu(), 0);
  EXPECT_FALSE(s.rig.state.Accepted);
  EXPECT_EQ(focused(), s.field(InfoField::Education));
  EXPECT_EQ(focusAfter(Qt::Key_Return), s.field(InfoField::DateOfBirth));
  EXPECT_TRUE(s.rig.prompter.asked.empty());
  // Only "Cancel Input" cancels, and it stores nothing.
  press(Qt::Key_Escape);
  EXPECT_TRUE(s.screen->isVisible());
  focusOn(s.screen->menu()->button(1));
  EXPECT_EQ(s.screen->msgPanel()->text(), "Cancel information input and return to Main Menu.");
  press(Qt::Key_Return);
  EXPECT_FALSE(s.rig.state.Accepted);
  EXPECT_EQ(s.rig.state.clients.CurrentRecord, 1);
  EXPECT_EQ(s.rig.state.clients.slot[2], before);
  EXPECT_EQ(s.screen->result(), QDialog::Rejected);
}

TEST(ClientInfoScreen, DateTypingDropsSlashesRefusesLettersAndRaceTypingTakesListDigits) {
  InfoScreen s;
  focusOn(s.field(InfoField::DateOfBirth));
  type("12/a");
  EXPECT_EQ(s.rig.prompter.beeps, 1);
  EXPECT_EQ(s.text(InfoField::DateOfBirth)->text(), "12/");
  type("3");
  for (int i = 0; i < 2; ++i) press(Qt::Key_Backspace);  // shrinking is not reformatted
  EXPECT_EQ(s.text(InfoField::DateOfBirth)->text(), "12");
  type("311999");
  EXPECT_EQ(s.text(InfoField::DateOfBirth)->text(), "12/31/1999");
  // Race list typing; a text matching no choice counts as empty.
  focusOn(s.field(InfoField::Race));
  type("7");
  EXPECT_EQ(s.rig.prompter.beeps, 2);
  EXPECT_EQ(s.list(InfoField::Race)->currentText(), "");
  press(Qt::Key_Return);
  s.expectRefused(InfoField::Race);
  type("5");
  EXPECT_EQ(s.screen->values().race, 5);
  press(Qt::Key_Down);
  EXPECT_EQ(s.list(InfoField::Race)->currentText(), "Other");
  s.list(InfoField::Race)->setEditText("Martian");
  EXPECT_EQ(s.screen->values().race, -1);
  press(Qt::Key_Return);
  s.expectRefused(InfoField::Race);
}

TEST(ClientInfoScreen, NameRefusesCharactersTheClientFileCannotHold) {
  InfoScreen s;
  type(QString::fromUtf8("Zo\xC3\xAB\xCE\xA9"));  // the Greek capital omega has no Windows-1252 byte
  EXPECT_EQ(s.rig.prompter.beeps, 1);
  EXPECT_EQ(s.text(InfoField::Name)->text(), QString::fromUtf8("Zoë"));
  // Pasted text is held to what can be stored as well.
  QApplication::clipboard()->setText(QString::fromUtf8("Zo\xC3\xAB\xCE\xA9"));
  s.text(InfoField::Name)->selectAll();
  press(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(s.rig.prompter.beeps, 2);
  EXPECT_EQ(s.text(InfoField::Name)->text(), QString::fromUtf8("Zoë"));
  press(Qt::Key_Return);
  s.fill({"", "", "50", "1", "1", "1", "9", "n"});
  press(Qt::Key_Return);
  ASSERT_TRUE(s.rig.state.Accepted);
  EXPECT_EQ(s.rig.state.clients.slot[1].raw(Field::Name), std::string("Zo\xEB") + std::string(22, ' '));
  EXPECT_EQ(s.rig.state.clients.slot[1].raw(Field::DateOfBirth), "N         ");
}

// A changed field counts on from the stored count and the third locks the
// fields; the edit is written on accepting, a failed write keeps the screen open.
TEST(ClientInfoScreen, EditingCountsChangesUpToTheLimitAndAFailedWriteKeepsTheScreenOpen) {
  InfoScreen e("1", "0");
  const ClientRecord before = e.rig.state.clients.slot[2];
  EXPECT_EQ(focused(), e.screen->menu()->button(0));
  EXPECT_EQ(e.text(InfoField::Name)->text(), "Client 2");
  EXPECT_EQ(e.list(InfoField::Marital)->currentText(), "Divorced");
  enter(e.field(InfoField::Age), "31");  // the second change: the fields stay open
  EXPECT_TRUE(e.screen->fieldsEnabled());
  EXPECT_TRUE(e.rig.prompter.asked.empty());
  enter(e.field(InfoField::Education), "14");
  QApplication::processEvents();
  e.expectLocked();
  EXPECT_EQ(e.rig.prompter.asked, (AskedList{{kLocks[0].text, kLocks[0].title, Buttons::Ok, Icon::Information}}));
  EXPECT_EQ(e.screen->msgPanel()->text(), kLocks[0].help);
  e.rig.fs.arm({"write", "", EROFS, 1});
  e.rig.prompter.script(Answer::Cancel);
  press(Qt::Key_Return);
  EXPECT_EQ((std::pair{e.rig.state.Accepted, e.screen->isVisible()}), std::pair(false, true));
  EXPECT_EQ(e.rig.prompter.asked.back().title, "Data Disk Error");
  EXPECT_EQ(e.rig.state.clients.slot[2], before);
  EXPECT_EQ(e.text(InfoField::Education)->text(), "14");  // the change that reached the limit stays, unwritten
  press(Qt::Key_Return);  // the disk is writable again
  EXPECT_TRUE(e.rig.state.Accepted);
  const std::string rec = readBytes(e.rig.clientFile()).substr(kRecordSize, kRecordSize);  // record 2 of 3
  EXPECT_EQ(rec, e.rig.state.clients.slot[2].bytes());
  EXPECT_EQ((std::vector<std::string>{rec.substr(35, 3), rec.substr(40, 2), rec.substr(253, 1)}),
            (std::vector<std::string>{"31 ", "14", "3"}));
}

// A locked record is written again unchanged on accepting; a stored bad
// birth date is refused like a typed one and its field opens for correction.
TEST(ClientInfoScreen, RecordsAtTheEditLimitOrNameDeletedOpenLockedAStoredBadDateIsRefused) {
  const struct { const char* dateOfBirth; const Lock& lock; } cases[] = {
      {"05/06/1980", kLocks[0]}, {"05/06/1980", kLocks[1]}, {"13/45/1990", kLocks[0]}};
  for (const auto& [date, c] : cases) {
    SCOPED_TRACE(std::string(c.title) + " " + date);
    InfoScreen e(c.editCount, c.nameDeleted, date);
    EXPECT_EQ(e.rig.prompter.asked, (AskedList{{c.text, c.title, Buttons::Ok, Icon::Information}}));
    e.expectLocked();
    EXPECT_EQ(e.screen->msgPanel()->text(), c.help);
    e.rig.prompter.asked.clear();
    press(Qt::Key_Return);
    const bool goodDate = date[0] == '0';
    EXPECT_EQ((std::pair{e.rig.state.Accepted, e.screen->isVisible()}), std::pair(goodDate, !goodDate));
    if (!goodDate) e.expectRefused(InfoField::DateOfBirth);
    EXPECT_EQ(readBytes(e.rig.clientFile()), e.diskAtOpen);
  }
}
