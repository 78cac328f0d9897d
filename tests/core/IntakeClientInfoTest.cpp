#include <gtest/gtest.h>

#include <cerrno>

#include "intake/ClientInfoRules.h"
#include "intake/FieldText.h"
#include "records/ClientFile.h"
#include "tests/core/TestSupport.h"
#include "ui/Prompter.h"

using namespace zv;

TEST(IntakeGoodDate, RefusesImpossibleAndOutOfRangeDates) {
  EXPECT_FALSE(GoodDate("02/30/1990"));
  EXPECT_FALSE(GoodDate("13/01/1990"));
  EXPECT_FALSE(GoodDate("00/10/1990"));
  EXPECT_FALSE(GoodDate("01/00/1990"));
  EXPECT_FALSE(GoodDate("04/31/1990"));
  EXPECT_FALSE(GoodDate("01/01/1889"));
  EXPECT_FALSE(GoodDate("01/01/2051"));
  EXPECT_FALSE(GoodDate("02/29/1991"));
  EXPECT_FALSE(GoodDate("02/29/1900"));
  EXPECT_FALSE(GoodDate("N"));
  EXPECT_FALSE(GoodDate("N1/"));
  EXPECT_FALSE(GoodDate(""));
  EXPECT_FALSE(GoodDate("1/2/1990"));
  EXPECT_FALSE(GoodDate("01/02/19a0"));
}

TEST(IntakeGoodDate, AcceptsRealDatesFrom1890To2050) {
  EXPECT_TRUE(GoodDate("02/29/1992"));
  EXPECT_TRUE(GoodDate("02/29/2000"));
  EXPECT_TRUE(GoodDate("12/31/2050"));
  EXPECT_TRUE(GoodDate("01/01/1890"));
  EXPECT_TRUE(GoodDate("04/30/1975"));
}

TEST(IntakeLeaveField, AgeRangeAndN) {
  EXPECT_FALSE(leaveTextField(InfoField::Age, "10").accepted);
  EXPECT_EQ(leaveTextField(InfoField::Age, "10").text, "");  // a refused age is emptied
  EXPECT_TRUE(leaveTextField(InfoField::Age, "11").accepted);
  EXPECT_TRUE(leaveTextField(InfoField::Age, "99").accepted);
  EXPECT_FALSE(leaveTextField(InfoField::Age, "").accepted);
  EXPECT_FALSE(leaveTextField(InfoField::Age, "5a").accepted);
  const auto n = leaveTextField(InfoField::Age, "n");
  EXPECT_TRUE(n.accepted);
  EXPECT_EQ(n.text, "N");
  EXPECT_EQ(leaveTextField(InfoField::Age, " 42").text, "42");
}

TEST(IntakeLeaveField, EducationEmptyAndZeroPassLettersDoNot) {
  EXPECT_TRUE(leaveTextField(InfoField::Education, "").accepted);
  EXPECT_TRUE(leaveTextField(InfoField::Education, "0").accepted);
  EXPECT_TRUE(leaveTextField(InfoField::Education, "99").accepted);
  EXPECT_EQ(leaveTextField(InfoField::Education, "n").text, "N");
  EXPECT_FALSE(leaveTextField(InfoField::Education, "ab").accepted);
  EXPECT_FALSE(leaveTextField(InfoField::Education, "-1").accepted);
}

TEST(IntakeLeaveField, NameIdAndDate) {
  EXPECT_FALSE(leaveTextField(InfoField::Name, "").accepted);
  EXPECT_FALSE(leaveTextField(InfoField::Name, "   ").accepted);
  EXPECT_EQ(leaveTextField(InfoField::Name, "N").text, "N");
  EXPECT_TRUE(leaveTextField(InfoField::SSN, "").accepted);
  EXPECT_EQ(leaveTextField(InfoField::SSN, " n ").text, "N");
  EXPECT_EQ(leaveTextField(InfoField::SSN, " 123-45 ").text, "123-45");
  // A date beginning with N passes here and is refused on accepting.
  const auto n1 = leaveTextField(InfoField::DateOfBirth, "n1/");
  EXPECT_TRUE(n1.accepted);
  EXPECT_EQ(n1.text, "N1/");
  EXPECT_TRUE(leaveTextField(InfoField::DateOfBirth, "N").accepted);
  EXPECT_FALSE(leaveTextField(InfoField::DateOfBirth, "02/30/1990").accepted);
  EXPECT_EQ(leaveTextField(InfoField::DateOfBirth, "02/30/1990").text, "02/30/1990");  // kept for correction
  EXPECT_TRUE(leaveTextField(InfoField::DateOfBirth, "02/29/1992").accepted);
}

TEST(IntakeLists, TypingAcceptsDigitsOfTheListAndN) {
  EXPECT_TRUE(listAcceptsChar(InfoField::Race, U'5'));
  EXPECT_TRUE(listAcceptsChar(InfoField::Race, U'6'));
  EXPECT_FALSE(listAcceptsChar(InfoField::Race, U'7'));
  EXPECT_TRUE(listAcceptsChar(InfoField::Race, U'n'));
  EXPECT_FALSE(listAcceptsChar(InfoField::Race, U'a'));
  EXPECT_FALSE(listAcceptsChar(InfoField::Race, 8));
  EXPECT_TRUE(listAcceptsChar(InfoField::Gender, U'2'));
  EXPECT_FALSE(listAcceptsChar(InfoField::Gender, U'3'));
  EXPECT_TRUE(listAcceptsChar(InfoField::Marital, U'5'));
  EXPECT_FALSE(listAcceptsChar(InfoField::Marital, U'6'));
}

TEST(IntakeLists, MatchingTriesTwoLettersBeforeN) {
  EXPECT_EQ(matchListText(InfoField::Race, "5"), 5);
  EXPECT_EQ(matchListText(InfoField::Race, "NA"), 5);
  EXPECT_EQ(matchListText(InfoField::Race, "na"), 5);
  EXPECT_EQ(matchListText(InfoField::Race, "Native American"), 5);
  EXPECT_EQ(matchListText(InfoField::Race, "N"), 0);
  EXPECT_EQ(matchListText(InfoField::Race, "N/A"), 0);
  EXPECT_EQ(matchListText(InfoField::Race, "0"), 0);
  EXPECT_EQ(matchListText(InfoField::Race, "Other"), 6);
  EXPECT_EQ(matchListText(InfoField::Race, "7"), -1);
  EXPECT_EQ(matchListText(InfoField::Race, "Xyz"), -1);
  EXPECT_EQ(matchListText(InfoField::Race, ""), -1);
  EXPECT_EQ(matchListText(InfoField::Gender, "MA"), 1);
  EXPECT_EQ(matchListText(InfoField::Marital, "MA"), 2);
  EXPECT_EQ(matchListText(InfoField::Marital, "Separated"), 4);
  EXPECT_EQ(matchListText(InfoField::Gender, "Female"), 2);
  // Every choice text selects its own position.
  for (InfoField list : {InfoField::Marital, InfoField::Race, InfoField::Gender}) {
    const auto& choices = listChoices(list);
    for (std::size_t p = 0; p < choices.size(); ++p) EXPECT_EQ(matchListText(list, choices[p]), static_cast<int>(p));
  }
}

TEST(IntakeDateTyping, ReformatsToMonthDayYear) {
  EXPECT_EQ(dateKey(U'7'), DateKey::Accept);
  EXPECT_EQ(dateKey(U'n'), DateKey::Accept);
  EXPECT_EQ(dateKey(8), DateKey::Accept);
  EXPECT_EQ(dateKey(U'/'), DateKey::DropSilently);
  EXPECT_EQ(dateKey(U'-'), DateKey::Refuse);
  EXPECT_EQ(dateKey(U'a'), DateKey::Refuse);
  // Typing eight digits one by one.
  std::string t;
  for (char c : std::string("01021990")) t = reformatDate(t + c);
  EXPECT_EQ(t, "01/02/1990");
  EXPECT_EQ(reformatDate("0"), "0");
  EXPECT_EQ(reformatDate("01"), "01/");
  EXPECT_EQ(reformatDate("01/02"), "01/02/");
  EXPECT_EQ(reformatDate("N1"), "N1/");
  EXPECT_EQ(reformatDate("1/2/1990"), "12/19/90");
  EXPECT_EQ(reformatDate("0102199012"), "01/02/1990");
  EXPECT_EQ(reformatDate("01/02/1990"), "01/02/1990");
}

TEST(IntakeAccept, ChecksInOrderAndEducationWithoutMessage) {
  ClientInfoValues v{"Ann Lee", "", "30", 1, 1, 1, "12", "01/02/1990"};
  EXPECT_TRUE(checkForAccept(v).ok);
  auto failing = [](ClientInfoValues x) { return checkForAccept(x); };
  ClientInfoValues noName = v;
  noName.name = "";
  EXPECT_EQ(failing(noName).field, InfoField::Name);
  ClientInfoValues noGenderNoAge = v;
  noGenderNoAge.gender = -1;
  noGenderNoAge.age = "";
  EXPECT_EQ(failing(noGenderNoAge).field, InfoField::Age);
  ClientInfoValues noMaritalNoGender = v;
  noMaritalNoGender.marital = -1;
  noMaritalNoGender.gender = -1;
  EXPECT_EQ(failing(noMaritalNoGender).field, InfoField::Gender);
  ClientInfoValues noRace = v;
  noRace.race = -1;
  EXPECT_EQ(failing(noRace).field, InfoField::Race);
  ClientInfoValues noEducation = v;
  noEducation.education = "";
  const auto e = failing(noEducation);
  EXPECT_FALSE(e.ok);
  EXPECT_EQ(e.field, InfoField::Education);
  EXPECT_FALSE(e.message);
  ClientInfoValues n1 = v;
  n1.dateOfBirth = "N1/";
  EXPECT_EQ(failing(n1).field, InfoField::DateOfBirth);
  EXPECT_TRUE(failing(n1).message);
  ClientInfoValues n = v;
  n.dateOfBirth = "n";
  EXPECT_TRUE(failing(n).ok);
}

TEST(IntakeEditCounter, ThirdChangeLocksAndSameFieldCountsAgain) {
  ClientInfoValues v{"Ann", "1", "30", 1, 2, 1, "12", "N"};
  EditCounter c;
  c.start(v, 0);
  EXPECT_EQ(c.fieldLeft(InfoField::Age, "30", true), EditCounter::Outcome::Unchanged);
  EXPECT_EQ(c.fieldLeft(InfoField::Age, "31", true), EditCounter::Outcome::Counted);
  EXPECT_EQ(c.fieldLeft(InfoField::Age, "31", true), EditCounter::Outcome::Unchanged);
  EXPECT_EQ(c.fieldLeft(InfoField::Education, "13", true), EditCounter::Outcome::Counted);
  EXPECT_EQ(c.count(), 2);
  EXPECT_EQ(c.fieldLeft(InfoField::Age, "32", true), EditCounter::Outcome::LimitReached);
  EXPECT_EQ(c.count(), 3);
  // Once locked a further difference keeps the count at 3 without a second message.
  EXPECT_EQ(c.fieldLeft(InfoField::Race, "3", false), EditCounter::Outcome::Counted);
  EXPECT_EQ(c.count(), 3);
}

TEST(IntakeEditCounter, ListsCompareByPosition) {
  ClientInfoValues v{"Ann", "", "30", 1, 2, 1, "12", "N"};
  EditCounter c;
  c.start(v, 2);
  EXPECT_EQ(c.startValue(InfoField::Race), "2");
  EXPECT_EQ(c.fieldLeft(InfoField::Race, "5", true), EditCounter::Outcome::LimitReached);
}

TEST(IntakeRecord, RecordToDBCutsEveryValueToItsWidthInWindows1252) {
  ClientRecord r;
  ClientInfoValues v{"Zoë Ångström-Ødegård Smith", "12345678901", "42", 4, 5, 2, "12", "02/29/1992"};
  RecordToDB(r, v, "06/15/2024");
  const std::string b = r.bytes();
  ASSERT_EQ(b.size(), kRecordSize);
  EXPECT_EQ(b.substr(0, 25), std::string("Zo\xEB \xC5ngstr\xF6m-\xD8" "deg\xE5rd Smit"));
  EXPECT_EQ(b.substr(25, 10), "1234567890");  // the ID is cut to 10
  EXPECT_EQ(b.substr(35, 3), "42 ");
  EXPECT_EQ(b.substr(38, 1), "2");
  EXPECT_EQ(b.substr(39, 1), "5");
  EXPECT_EQ(b.substr(40, 2), "12");
  EXPECT_EQ(b.substr(42, 1), "4");
  EXPECT_EQ(b.substr(43, 10), "02/29/1992");
  EXPECT_EQ(b.substr(53, 10), "06/15/2024");
  EXPECT_EQ(b.substr(63), std::string(kRecordSize - 63, ' '));
  // DateTested keeps a value it already has.
  RecordToDB(r, v, "01/01/2030");
  EXPECT_EQ(r.raw(Field::DateTested), "06/15/2024");
}

TEST(IntakeRecord, RecordToScreenTrimsAndReadsPositions) {
  ClientRecord r;
  r.setRaw(Field::Name, "Jones");
  r.setRaw(Field::Age, "7");
  r.setRaw(Field::Race, "7");  // not a position of the race list
  r.setRaw(Field::Gender, "2");
  r.setRaw(Field::Marital, "N");
  r.setRaw(Field::DateOfBirth, "N");
  const auto v = RecordToScreen(r);
  EXPECT_EQ(v.name, "Jones");
  EXPECT_EQ(v.age, "7");
  EXPECT_EQ(v.race, -1);
  EXPECT_EQ(v.gender, 2);
  EXPECT_EQ(v.marital, -1);
  EXPECT_EQ(v.dateOfBirth, "N");
  EXPECT_EQ(counterValue(r, Field::EditCount), 0);  // blank reads as 0
  r.setRaw(Field::EditCount, "3");
  EXPECT_EQ(counterValue(r, Field::EditCount), 3);
}

TEST(IntakeRecord, NewClientSlotAndStoreDecision) {
  ClientRecord r;
  r.setRaw(Field::EditCount, "2");  // left over from an abandoned registration
  prepareNewClient(r, "03/04/2025");
  EXPECT_EQ(r.raw(Field::Responses), std::string(162, '0'));
  EXPECT_EQ(r.raw(Field::NameDeleted), "0");
  EXPECT_EQ(r.raw(Field::DateTested), "03/04/2025");
  EXPECT_EQ(r.raw(Field::EditCount), " ");
  EXPECT_TRUE(shouldStore(0, 3));
  EXPECT_TRUE(shouldStore(5, 2));
  EXPECT_FALSE(shouldStore(5, 3));
  EXPECT_EQ(acceptHelp(true, 1, 0), "Client name has been deleted. Editing is not permitted. Press Enter to continue.");
  EXPECT_EQ(acceptHelp(true, 0, 3), "No further editing permitted. Press Enter to save and continue.");
  EXPECT_EQ(acceptHelp(false, 0, 0), "If information is correct press Enter or press Tab to change an entry.");
}

namespace {

struct StoreFixture {
  zvtest::TempDir dir;
  RealFileSystem real;
  FaultyFileSystem fs{real};
  ScriptedPrompter prompter;
  ClientTable table;
  std::string path = dir.file(kClientFileName);
  ClientInfoValues values{"New Person", "N", "33", 2, 3, 1, "10", "N"};

  void storeExisting(int n) {
    std::string bytes;
    for (int i = 1; i <= n; ++i) {
      ClientRecord r;
      r.setRaw(Field::Name, "Client " + std::to_string(i));
      r.setRaw(Field::Responses, std::string(162, '1'));
      bytes += r.bytes();
    }
    zvtest::writeBytes(path, bytes);
    LoadClientFile(fs, path, table);
  }
};

}  // namespace

TEST(IntakeStore, NewClientIsBuiltInTheNextSlotButNotWritten) {
  StoreFixture f;
  f.storeExisting(2);
  f.table.EditMode = false;
  ASSERT_TRUE(storeClientInfo(f.table, f.fs, f.path, f.prompter, {f.values, 0, 0, false, "05/06/2025"}));
  EXPECT_EQ(f.table.CurrentRecord, 3);
  EXPECT_EQ(f.table.RecordCount, 2);
  EXPECT_EQ(f.table.slot[3].trimmed(Field::Name), "New Person");
  EXPECT_EQ(f.table.slot[3].raw(Field::Responses), std::string(162, '0'));
  EXPECT_EQ(f.table.slot[3].raw(Field::DateTested), "05/06/2025");
  EXPECT_EQ(zvtest::readBytes(f.path).size(), 2 * kRecordSize);
  abandonNewClient(f.table);
  EXPECT_EQ(f.table.CurrentRecord, 1);
  EXPECT_EQ(f.table.slot[3], ClientRecord());
}

TEST(IntakeStore, AbandoningTheFirstRegistrationLeavesNoCurrentClient) {
  StoreFixture f;
  f.storeExisting(0);
  ASSERT_TRUE(storeClientInfo(f.table, f.fs, f.path, f.prompter, {f.values, 0, 0, false, "05/06/2025"}));
  EXPECT_EQ(f.table.CurrentRecord, 1);
  abandonNewClient(f.table);
  EXPECT_EQ(f.table.CurrentRecord, 0);
  EXPECT_EQ(f.table.slot[1], ClientRecord());
}

TEST(IntakeStore, EditIsWrittenAtOnceWithItsEditCount) {
  StoreFixture f;
  f.storeExisting(2);
  f.table.EditMode = true;
  f.table.CurrentRecord = 2;
  ASSERT_TRUE(storeClientInfo(f.table, f.fs, f.path, f.prompter, {f.values, 1, 3, false, "05/06/2025"}));
  const std::string disk = zvtest::readBytes(f.path);
  ASSERT_EQ(disk.size(), 2 * kRecordSize);
  EXPECT_EQ(disk.substr(kRecordSize, kRecordSize), f.table.slot[2].bytes());
  EXPECT_EQ(f.table.slot[2].raw(Field::EditCount), "3");
  EXPECT_EQ(f.table.slot[2].trimmed(Field::Name), "New Person");
  EXPECT_EQ(f.table.slot[2].raw(Field::Responses), std::string(162, '1'));  // answers untouched
}

TEST(IntakeStore, EditLimitedClientIsNotStored) {
  StoreFixture f;
  f.storeExisting(1);
  f.table.EditMode = true;
  f.table.CurrentRecord = 1;
  const ClientRecord before = f.table.slot[1];
  const std::string disk = zvtest::readBytes(f.path);
  ASSERT_TRUE(storeClientInfo(f.table, f.fs, f.path, f.prompter, {f.values, 3, 3, false, "05/06/2025"}));
  EXPECT_EQ(f.table.slot[1], before);
  EXPECT_EQ(zvtest::readBytes(f.path), disk);
}

TEST(IntakeStore, NameDeletedClientIsWrittenAgainUnchanged) {
  StoreFixture f;
  f.storeExisting(1);
  f.table.slot[1].setRaw(Field::Name, "\x81\x8D\x8F scrambled");
  f.table.slot[1].setRaw(Field::NameDeleted, "1");
  f.table.EditMode = true;
  f.table.CurrentRecord = 1;
  const ClientRecord before = f.table.slot[1];
  ASSERT_TRUE(storeClientInfo(f.table, f.fs, f.path, f.prompter, {f.values, 0, 0, true, "05/06/2025"}));
  EXPECT_EQ(f.table.slot[1], before);
  EXPECT_EQ(zvtest::readBytes(f.path), before.bytes());
}

TEST(IntakeStore, FailedWriteKeepsTheSlotAsItWas) {
  StoreFixture f;
  f.storeExisting(1);
  f.table.EditMode = true;
  f.table.CurrentRecord = 1;
  const ClientRecord before = f.table.slot[1];
  f.fs.arm({"write", "", EROFS, 1});
  f.prompter.script(Answer::Cancel);
  EXPECT_FALSE(storeClientInfo(f.table, f.fs, f.path, f.prompter, {f.values, 0, 1, false, "05/06/2025"}));
  ASSERT_EQ(f.prompter.asked.size(), 1u);
  EXPECT_EQ(f.prompter.asked[0].title, "Data Disk Error");
  EXPECT_EQ(f.table.slot[1], before);
  // Retrying after the disk was made writable stores the edit.
  f.fs.arm({"write", "", EROFS, 1});
  f.prompter.script(Answer::Ok);
  EXPECT_TRUE(storeClientInfo(f.table, f.fs, f.path, f.prompter, {f.values, 0, 1, false, "05/06/2025"}));
  EXPECT_EQ(zvtest::readBytes(f.path), f.table.slot[1].bytes());
  EXPECT_EQ(f.table.slot[1].raw(Field::EditCount), "1");
}

TEST(IntakeStore, NoFreeSlotRefusesANewClient) {
  StoreFixture f;
  f.table.RecordCount = kMaxClients;
  f.table.CurrentRecord = 4;
  EXPECT_FALSE(storeClientInfo(f.table, f.fs, f.path, f.prompter, {f.values, 0, 0, false, "05/06/2025"}));
  EXPECT_EQ(f.table.CurrentRecord, 4);
  ASSERT_EQ(f.prompter.asked.size(), 1u);
  EXPECT_EQ(f.prompter.asked[0].text, clientFileFullMessage());
}

TEST(IntakeFieldText, LeadingNumberAndDates) {
  EXPECT_EQ(leadingNumber("12abc"), 12);
  EXPECT_EQ(leadingNumber("1.5"), 1.5);
  EXPECT_EQ(leadingNumber(""), 0);
  EXPECT_EQ(leadingNumber("x1"), 0);
  EXPECT_EQ(leadingNumber("-3"), -3);
  EXPECT_EQ(dateText(2024, 3, 7), "03/07/2024");
  EXPECT_EQ(todayText().size(), 10u);
}
