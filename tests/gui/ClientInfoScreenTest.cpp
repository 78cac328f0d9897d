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

constexpr const char* kAgeMessage = "Enter age of client in number of years. Press Enter to continue.";
constexpr const char* kDateMessage =
    "Enter date of birth month, day, year as mm/dd/yyyy or N for Not Available. Press Enter to continue.";

// The screen over a rig; values are typed and each field left with Enter.
struct InfoScreen {
  IntakeRig rig;
  std::unique_ptr<frmClientInfo> screen;
  void open() {
    screen = std::make_unique<frmClientInfo>(rig.state);
    showActive(screen.get());
  }
  QLineEdit* text(InfoField f) { return screen->textField(f); }
  QComboBox* list(InfoField f) { return screen->listField(f); }
  void focusOn(InfoField f) {
    screen->field(f)->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
  }
  void focusButton(int i) {
    screen->menu()->button(i)->setFocus();
    QApplication::processEvents();
  }
  void enter(InfoField f, const QString& value) {
    focusOn(f);
    type(value);
    press(Qt::Key_Return);
  }
  // Fills the fields in order; an empty value leaves its field alone.
  void fill(const std::array<const char*, kInfoFieldCount>& values) {
    for (int i = 0; i < kInfoFieldCount; ++i)
      if (*values[i]) enter(infoField(i), QString::fromUtf8(values[i]));
  }
  void fillAll() { fill({"Ann Lee", "A-77", "42", "2", "3", "2", "12", "01021990"}); }
  void expectLocked() {
    for (int i = 0; i < kInfoFieldCount; ++i) EXPECT_FALSE(screen->field(infoField(i))->isEnabled()) << i;
  }
};

struct NewClientScreen : InfoScreen {
  explicit NewClientScreen(int stored = 0) {
    rig.storeClients(stored);
    rig.state.clients.EditMode = false;
    open();
  }
};

}  // namespace

TEST(ClientInfoScreen, NewClientByKeysIsBuiltInTheNextSlotOnly) {
  NewClientScreen s(2);
  EXPECT_EQ(s.screen->windowTitle(), "Client Information");
  EXPECT_EQ(focused(), s.screen->field(InfoField::Name));
  EXPECT_EQ(s.screen->msgPanel()->text().toStdString(), infoHelp(InfoField::Name));
  EXPECT_TRUE(s.screen->label(InfoField::Name)->font().bold());
  type("Ann Lee");
  press(Qt::Key_Return);
  EXPECT_EQ(focused(), s.screen->field(InfoField::SSN));
  EXPECT_FALSE(s.screen->label(InfoField::Name)->font().bold());
  type("12345678901");  // 11 characters shown while typing
  EXPECT_EQ(s.text(InfoField::SSN)->text(), "12345678901");
  press(Qt::Key_Return);
  type("42");
  press(Qt::Key_Return);
  EXPECT_EQ(focused(), s.screen->field(InfoField::Marital));
  type("2");
  EXPECT_EQ(s.list(InfoField::Marital)->currentText(), "Married");
  press(Qt::Key_Return);
  type("5");
  EXPECT_EQ(s.list(InfoField::Race)->currentText(), "Native American");
  press(Qt::Key_Return);
  type("n");
  EXPECT_EQ(s.list(InfoField::Gender)->currentText(), "N/A");
  press(Qt::Key_Return);
  type("12");
  press(Qt::Key_Return);
  type("01021990");
  EXPECT_EQ(s.text(InfoField::DateOfBirth)->text(), "01/02/1990");
  press(Qt::Key_Return);
  EXPECT_EQ(focused(), s.screen->menu()->button(0));
  EXPECT_EQ(s.screen->msgPanel()->text(), "If information is correct press Enter or press Tab to change an entry.");
  press(Qt::Key_Return);

  EXPECT_TRUE(s.rig.state.Accepted);
  EXPECT_EQ(s.screen->result(), QDialog::Accepted);
  const ClientTable& t = s.rig.state.clients;
  EXPECT_EQ(t.CurrentRecord, 3);
  EXPECT_EQ(t.RecordCount, 2);
  // Name, ID cut to 10, age, gender N/A, race Native American, education, married, birth, tested, court
  // history, answers, and EditCount not set at registration.
  EXPECT_EQ(t.slot[3].bytes(), "Ann Lee" + std::string(18, ' ') + "1234567890" + "42 " + "0" + "5" + "12" + "2" +
                                   "01/02/1990" + todayText() + std::string(28, ' ') + std::string(162, '0') + " 0");
  // Nothing is written until the answers are stored.
  EXPECT_EQ(readBytes(s.rig.clientFile()).size(), 2 * kRecordSize);
  EXPECT_TRUE(s.rig.prompter.asked.empty());
}

TEST(ClientInfoScreen, AgeTenRefusedElevenAndNinetyNineAcceptedNBecomesUpperCase) {
  NewClientScreen s;
  s.enter(InfoField::Age, "10");
  ASSERT_EQ(s.rig.prompter.asked.size(), 1u);
  EXPECT_EQ(s.rig.prompter.asked[0].text, kAgeMessage);
  EXPECT_EQ(s.rig.prompter.asked[0].title, "Zorvex");
  EXPECT_EQ(s.rig.prompter.asked[0].icon, Icon::Critical);
  EXPECT_EQ(s.rig.prompter.beeps, 1);
  EXPECT_EQ(s.text(InfoField::Age)->text(), "");
  EXPECT_EQ(focused(), s.screen->field(InfoField::Age));
  type("11");
  press(Qt::Key_Return);
  EXPECT_EQ(focused(), s.screen->field(InfoField::Marital));
  s.enter(InfoField::Age, "99");
  EXPECT_EQ(focused(), s.screen->field(InfoField::Marital));
  s.enter(InfoField::Age, "n");
  EXPECT_EQ(s.text(InfoField::Age)->text(), "N");
  EXPECT_EQ(focused(), s.screen->field(InfoField::Marital));
  EXPECT_EQ(s.rig.prompter.asked.size(), 1u);
  // Tab leaves a field with the same check.
  s.focusOn(InfoField::Age);
  type("7");
  press(Qt::Key_Tab);
  EXPECT_EQ(s.rig.prompter.asked.size(), 2u);
  EXPECT_EQ(focused(), s.screen->field(InfoField::Age));
}

TEST(ClientInfoScreen, EmptyEducationAtAcceptReturnsToItWithoutAMessage) {
  NewClientScreen s;
  s.fillAll();
  s.text(InfoField::Education)->clear();
  s.rig.prompter.asked.clear();
  s.screen->menu()->button(0)->setFocus();
  press(Qt::Key_Return);
  EXPECT_FALSE(s.rig.state.Accepted);
  EXPECT_TRUE(s.screen->isVisible());
  EXPECT_EQ(focused(), s.screen->field(InfoField::Education));
  EXPECT_TRUE(s.rig.prompter.asked.empty());
  // An empty education field passes its own check (as 0).
  press(Qt::Key_Return);
  EXPECT_EQ(focused(), s.screen->field(InfoField::DateOfBirth));
  EXPECT_TRUE(s.rig.prompter.asked.empty());
}

TEST(ClientInfoScreen, DatesOfBirth) {
  NewClientScreen s;
  for (const char* bad : {"02301990", "13011990", "01011889", "01012051"}) {
    s.rig.prompter.asked.clear();
    s.text(InfoField::DateOfBirth)->clear();
    s.enter(InfoField::DateOfBirth, bad);
    ASSERT_EQ(s.rig.prompter.asked.size(), 1u) << bad;
    EXPECT_EQ(s.rig.prompter.asked[0].text, kDateMessage) << bad;
    EXPECT_EQ(focused(), s.screen->field(InfoField::DateOfBirth)) << bad;
  }
  EXPECT_EQ(s.text(InfoField::DateOfBirth)->text(), "01/01/2051");
  for (const char* good : {"02291992", "12312050", "N"}) {
    s.rig.prompter.asked.clear();
    s.text(InfoField::DateOfBirth)->clear();
    s.enter(InfoField::DateOfBirth, good);
    EXPECT_TRUE(s.rig.prompter.asked.empty()) << good;
    EXPECT_EQ(focused(), s.screen->menu()->button(0)) << good;
  }
  // "N1" passes the field's own check and is refused on accepting.
  s.fillAll();
  s.text(InfoField::DateOfBirth)->clear();
  s.enter(InfoField::DateOfBirth, "N1");
  EXPECT_EQ(s.text(InfoField::DateOfBirth)->text(), "N1/");
  EXPECT_EQ(focused(), s.screen->menu()->button(0));
  s.rig.prompter.asked.clear();
  press(Qt::Key_Return);
  ASSERT_EQ(s.rig.prompter.asked.size(), 1u);
  EXPECT_EQ(s.rig.prompter.asked[0].text, kDateMessage);
  EXPECT_EQ(focused(), s.screen->field(InfoField::DateOfBirth));
  EXPECT_FALSE(s.rig.state.Accepted);
}

TEST(ClientInfoScreen, DateTypingDropsSlashesRefusesLettersAndRaceTypingTakesListDigits) {
  NewClientScreen s;
  s.focusOn(InfoField::DateOfBirth);
  type("12/");
  EXPECT_EQ(s.text(InfoField::DateOfBirth)->text(), "12/");
  EXPECT_EQ(s.rig.prompter.beeps, 0);
  type("a");
  EXPECT_EQ(s.rig.prompter.beeps, 1);
  EXPECT_EQ(s.text(InfoField::DateOfBirth)->text(), "12/");
  type("3");
  press(Qt::Key_Backspace);  // shrinking is not reformatted
  press(Qt::Key_Backspace);
  EXPECT_EQ(s.text(InfoField::DateOfBirth)->text(), "12");
  type("311999");
  EXPECT_EQ(s.text(InfoField::DateOfBirth)->text(), "12/31/1999");
  // Race list typing; a text matching no choice counts as empty.
  s.rig.prompter.beeps = 0;
  s.focusOn(InfoField::Race);
  type("7");
  EXPECT_EQ(s.rig.prompter.beeps, 1);
  EXPECT_EQ(s.list(InfoField::Race)->currentText(), "");
  press(Qt::Key_Return);
  ASSERT_EQ(s.rig.prompter.asked.size(), 1u);
  EXPECT_EQ(s.rig.prompter.asked[0].text, "Press down arrow to select ethnicity. Press Enter to continue.");
  EXPECT_EQ(focused(), s.screen->field(InfoField::Race));
  type("5");
  EXPECT_EQ(s.list(InfoField::Race)->currentText(), "Native American");
  EXPECT_EQ(s.screen->values().race, 5);
  type("n");
  EXPECT_EQ(s.list(InfoField::Race)->currentText(), "N/A");
  press(Qt::Key_Down);
  EXPECT_EQ(s.list(InfoField::Race)->currentText(), "Caucasian");
  // A text that matches no choice has no position: it counts as empty.
  s.list(InfoField::Race)->setEditText("Martian");
  EXPECT_EQ(s.screen->values().race, -1);
  s.rig.prompter.asked.clear();
  s.list(InfoField::Race)->setEditText("Martian");
  s.focusOn(InfoField::Race);
  s.list(InfoField::Race)->setEditText("Martian");
  press(Qt::Key_Return);
  ASSERT_EQ(s.rig.prompter.asked.size(), 1u);
  EXPECT_EQ(focused(), s.screen->field(InfoField::Race));
}

TEST(ClientInfoScreen, NameRefusesCharactersTheClientFileCannotHold) {
  NewClientScreen s;
  type("Zoë");
  EXPECT_EQ(s.rig.prompter.beeps, 0);
  type(QString::fromUtf8("\xCE\xA9"));  // Greek capital omega: no Windows-1252 byte
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

TEST(ClientInfoScreen, CancelStoresNothing) {
  NewClientScreen s(1);
  const ClientRecord before = s.rig.state.clients.slot[2];
  s.fillAll();
  press(Qt::Key_Escape);  // only "Cancel Input" cancels
  EXPECT_TRUE(s.screen->isVisible());
  s.focusButton(1);
  EXPECT_EQ(s.screen->msgPanel()->text(), "Cancel information input and return to Main Menu.");
  press(Qt::Key_Return);
  EXPECT_FALSE(s.rig.state.Accepted);
  EXPECT_FALSE(s.rig.state.clients.EditMode);
  EXPECT_EQ(s.rig.state.clients.CurrentRecord, 1);
  EXPECT_EQ(s.rig.state.clients.slot[2], before);
  EXPECT_EQ(s.screen->result(), QDialog::Rejected);
}

namespace {

struct EditScreen : InfoScreen {
  explicit EditScreen(const char* editCount = "0", const char* nameDeleted = "0", int current = 2) {
    rig.storeClients(3);
    ClientRecord& r = rig.state.clients.slot[static_cast<std::size_t>(current)];
    r.setRaw(Field::EditCount, editCount);
    r.setRaw(Field::NameDeleted, nameDeleted);
    SaveClientRecord(rig.fs, rig.clientFile(), rig.state.clients, current);
    rig.state.clients.CurrentRecord = static_cast<std::int16_t>(current);
    rig.state.clients.EditMode = true;
  }
};

}  // namespace

TEST(ClientInfoScreen, EditingCountsChangesUpToTheLimitAndStoresEditCountThree) {
  EditScreen e;
  e.open();
  EXPECT_EQ(focused(), e.screen->menu()->button(0));
  EXPECT_EQ(e.text(InfoField::Name)->text(), "Client 2");
  EXPECT_EQ(e.list(InfoField::Marital)->currentText(), "Divorced");
  e.enter(InfoField::Age, "31");
  e.enter(InfoField::Education, "14");
  EXPECT_EQ(e.screen->editCount(), 2);
  EXPECT_TRUE(e.screen->fieldsEnabled());
  EXPECT_TRUE(e.rig.prompter.asked.empty());
  e.enter(InfoField::Age, "32");  // the same field again counts again
  QApplication::processEvents();
  EXPECT_EQ(e.screen->editCount(), 3);
  EXPECT_FALSE(e.screen->fieldsEnabled());
  e.expectLocked();
  ASSERT_EQ(e.rig.prompter.asked.size(), 1u);
  EXPECT_EQ(e.rig.prompter.asked[0].title, "Edit Limit Reached");
  EXPECT_EQ(e.rig.prompter.asked[0].text,
            "This client's information has been edited.\r3 times already. Further editing of this\rinformation is no "
            "longer permitted.");
  EXPECT_EQ(e.rig.prompter.asked[0].icon, Icon::Information);
  EXPECT_EQ(focused(), e.screen->menu()->button(0));
  EXPECT_EQ(e.screen->msgPanel()->text(), "No further editing permitted. Press Enter to save and continue.");
  EXPECT_EQ(e.text(InfoField::Age)->text(), "32");  // the change that reached the limit stays
  press(Qt::Key_Return);
  EXPECT_TRUE(e.rig.state.Accepted);
  const std::string disk = readBytes(e.rig.clientFile());
  ASSERT_EQ(disk.size(), 3 * kRecordSize);
  const std::string rec = disk.substr(kRecordSize, kRecordSize);
  EXPECT_EQ(rec, e.rig.state.clients.slot[2].bytes());
  EXPECT_EQ(rec.substr(35, 3), "32 ");
  EXPECT_EQ(rec.substr(40, 2), "14");
  EXPECT_EQ(rec.substr(253, 1), "3");
  EXPECT_EQ(rec.substr(53, 10), "01/02/2020");  // DateTested keeps its value
}

TEST(ClientInfoScreen, AcceptingAnEditWritesAtOnceWithTheCount) {
  EditScreen e("1");
  e.open();
  e.enter(InfoField::Name, "Renamed");
  press(Qt::Key_Tab, Qt::ShiftModifier);  // leaves ID number without a change
  e.focusButton(0);
  press(Qt::Key_Return);
  EXPECT_TRUE(e.rig.state.Accepted);
  const std::string rec = readBytes(e.rig.clientFile()).substr(kRecordSize, kRecordSize);
  EXPECT_EQ(rec.substr(0, 25), "Renamed" + std::string(18, ' '));
  EXPECT_EQ(rec.substr(253, 1), "2");
}

TEST(ClientInfoScreen, RecordsAtTheEditLimitOrNameDeletedOpenLockedAndAreRewrittenUnchanged) {
  struct Case {
    const char *editCount, *nameDeleted, *title, *text, *help;
  };
  const Case cases[] = {
      {"3", "0", "Edit Limit Reached",
       "This client's information has been edited.\r3 times already. Further editing of this\rinformation is no "
       "longer permitted.",
       "No further editing permitted. Press Enter to save and continue."},
      {"1", "1", "Name Deleted", "This client's name has been deleted.\rEditing this information is no longer permitted.",
       "Client name has been deleted. Editing is not permitted. Press Enter to continue."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    EditScreen e(c.editCount, c.nameDeleted);
    if (*c.nameDeleted == '1') {
      e.rig.state.clients.slot[2].setRaw(Field::Name, "\x81\x90 Frq\xF1 ");
      SaveClientRecord(e.rig.fs, e.rig.clientFile(), e.rig.state.clients, 2);
    }
    const std::string disk = readBytes(e.rig.clientFile());
    e.open();
    ASSERT_EQ(e.rig.prompter.asked.size(), 1u);
    EXPECT_EQ(e.rig.prompter.asked[0].title, c.title);
    EXPECT_EQ(e.rig.prompter.asked[0].text, c.text);
    e.expectLocked();
    EXPECT_EQ(focused(), e.screen->menu()->button(0));
    EXPECT_EQ(e.screen->msgPanel()->text(), c.help);
    press(Qt::Key_Return);
    EXPECT_TRUE(e.rig.state.Accepted);
    EXPECT_EQ(readBytes(e.rig.clientFile()), disk);
  }
}

TEST(ClientInfoScreen, ALockedRecordWithAStoredBadDateIsRefusedLikeATypedOne) {
  EditScreen e("3");
  e.rig.state.clients.slot[2].setRaw(Field::DateOfBirth, "13/45/1990");
  SaveClientRecord(e.rig.fs, e.rig.clientFile(), e.rig.state.clients, 2);
  const std::string disk = readBytes(e.rig.clientFile());
  e.open();
  e.expectLocked();
  e.rig.prompter.asked.clear();
  press(Qt::Key_Return);
  EXPECT_FALSE(e.rig.state.Accepted);
  EXPECT_TRUE(e.screen->isVisible());
  ASSERT_EQ(e.rig.prompter.asked.size(), 1u);
  EXPECT_EQ(e.rig.prompter.asked[0].text, infoErrorMessage(InfoField::DateOfBirth));
  EXPECT_EQ(focused(), e.text(InfoField::DateOfBirth)) << "the field opens for correction";
  EXPECT_EQ(readBytes(e.rig.clientFile()), disk);
}

TEST(ClientInfoScreen, FailedWriteOfAnEditKeepsTheScreenOpen) {
  EditScreen e("0");
  e.open();
  const ClientRecord before = e.rig.state.clients.slot[2];
  e.enter(InfoField::Age, "55");
  e.rig.fs.arm({"write", "", EROFS, 1});
  e.rig.prompter.script(Answer::Cancel);
  e.focusButton(0);
  press(Qt::Key_Return);
  EXPECT_FALSE(e.rig.state.Accepted);
  EXPECT_TRUE(e.screen->isVisible());
  ASSERT_FALSE(e.rig.prompter.asked.empty());
  EXPECT_EQ(e.rig.prompter.asked.back().title, "Data Disk Error");
  EXPECT_EQ(e.rig.state.clients.slot[2], before);
  EXPECT_EQ(e.text(InfoField::Age)->text(), "55");
  // OK once the disk is writable again.
  press(Qt::Key_Return);
  EXPECT_TRUE(e.rig.state.Accepted);
  EXPECT_EQ(readBytes(e.rig.clientFile()).substr(kRecordSize + 35, 3), "55 ");
}
