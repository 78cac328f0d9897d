#include <gtest/gtest.h>

#include <optional>

#include "intake/ClientInfoRules.h"
#include "intake/CourtHistoryRules.h"
#include "intake/FieldText.h"
#include "records/ClientFile.h"
#include "records/ClientSlot.h"
#include "tests/core/TestSupport.h"

using namespace zv;
using F = InfoField;

TEST(IntakeLeaveField, RangesNAndTrimmingAndTheRefusedFieldsMessage) {
  // The field, the text typed, whether the focus may move on, and the text the field keeps (none: not checked).
  const std::tuple<F, const char*, std::optional<bool>, const char*> cases[] = {
      {F::Age, "10", false, ""},  // a refused age is emptied
      {F::Age, "11", true, nullptr},         {F::Age, "99", true, nullptr},   {F::Age, "", false, nullptr},
      {F::Age, "5a", false, nullptr},        {F::Age, "n", true, "N"},         {F::Age, " 42", {}, "42"},
      {F::Education, "", true, nullptr},     {F::Education, "0", true, nullptr}, {F::Education, "99", true, nullptr},
      {F::Education, "n", {}, "N"},          {F::Education, "ab", false, nullptr}, {F::Education, "-1", false, nullptr},
      {F::Name, "", false, nullptr},         {F::Name, "   ", false, nullptr}, {F::Name, "N", {}, "N"},
      {F::SSN, "", true, nullptr},           {F::SSN, " n ", {}, "N"},        {F::SSN, " 123-45 ", {}, "123-45"},
      // A date beginning with N passes here and is refused on accepting; a bad one is kept for correction.
      {F::DateOfBirth, "n1/", true, "N1/"},  {F::DateOfBirth, "N", true, nullptr},
      {F::DateOfBirth, "02/30/1990", false, "02/30/1990"}, {F::DateOfBirth, "02/29/1992", true, nullptr},
  };
  for (const auto& [field, in, accepted, text] : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(field)) + " '" + in + "'");
    const auto r = leaveTextField(field, in);
    if (accepted) { EXPECT_EQ(r.accepted, *accepted); }
    if (text) { EXPECT_EQ(r.text, text); }
  }
  // A refused field's message.
  EXPECT_EQ((std::vector<std::string>{infoErrorMessage(F::Age), infoErrorMessage(F::DateOfBirth),
                                      infoErrorMessage(F::Race)}),
            (std::vector<std::string>{
                "Enter age of client in number of years. Press Enter to continue.",
                "Enter date of birth month, day, year as mm/dd/yyyy or N for Not Available. Press Enter to continue.",
                "Press down arrow to select ethnicity. Press Enter to continue."}));
}

TEST(IntakeLists, TypingAcceptsDigitsOfTheListAndNAndMatchingTriesTwoLettersBeforeN) {
  const std::tuple<F, char32_t, bool> keys[] = {
      {F::Race, U'5', true},   {F::Race, U'6', true},    {F::Race, U'7', false},   {F::Race, U'n', true},
      {F::Race, U'a', false},  {F::Race, 8, false},      {F::Gender, U'2', true},  {F::Gender, U'3', false},
      {F::Marital, U'5', true}, {F::Marital, U'6', false}};
  for (const auto& [list, ch, ok] : keys) EXPECT_EQ(listAcceptsChar(list, ch), ok) << static_cast<int>(ch);
  const std::tuple<F, const char*, int> texts[] = {
      {F::Race, "5", 5},   {F::Race, "NA", 5}, {F::Race, "na", 5}, {F::Race, "Native American", 5}, {F::Race, "N", 0},
      {F::Race, "N/A", 0}, {F::Race, "0", 0},  {F::Race, "Other", 6}, {F::Race, "7", -1}, {F::Race, "Xyz", -1},
      {F::Race, "", -1},   {F::Gender, "MA", 1}, {F::Marital, "MA", 2}, {F::Marital, "Separated", 4},
      {F::Gender, "Female", 2}};
  for (const auto& [list, text, pos] : texts) EXPECT_EQ(matchListText(list, text), pos) << text;
  // Every choice text selects its own position.
  for (InfoField list : {F::Marital, F::Race, F::Gender}) {
    const auto& choices = listChoices(list);
    for (std::size_t p = 0; p < choices.size(); ++p) EXPECT_EQ(matchListText(list, choices[p]), static_cast<int>(p));
  }
}

TEST(IntakeDates, OnlyRealDatesFrom1890To2050TypingReformatsToMonthDayYearAndFieldTexts) {
  for (const char* bad : {"02/30/1990", "13/01/1990", "00/10/1990", "01/00/1990", "04/31/1990", "01/01/1889",
                          "01/01/2051", "02/29/1991", "02/29/1900", "N", "N1/", "", "1/2/1990", "01/02/19a0"})
    EXPECT_FALSE(GoodDate(bad)) << bad;
  for (const char* good : {"02/29/1992", "02/29/2000", "12/31/2050", "01/01/1890", "04/30/1975"})
    EXPECT_TRUE(GoodDate(good)) << good;
  using K = DateKey;
  const std::pair<char32_t, K> keys[] = {{U'7', K::Accept},       {U'n', K::Accept}, {8, K::Accept},
                                         {U'/', K::DropSilently}, {U'-', K::Refuse}, {U'a', K::Refuse}};
  for (const auto& [ch, expected] : keys) EXPECT_EQ(dateKey(ch), expected) << static_cast<int>(ch);
  // Typing eight digits one by one.
  std::string t;
  for (char c : std::string("01021990")) t = reformatDate(t + c);
  EXPECT_EQ(t, "01/02/1990");
  const std::pair<const char*, const char*> texts[] = {{"0", "0"}, {"01", "01/"}, {"01/02", "01/02/"}, {"N1", "N1/"},
                                                       {"1/2/1990", "12/19/90"}, {"0102199012", "01/02/1990"},
                                                       {"01/02/1990", "01/02/1990"}};
  for (const auto& [in, out] : texts) EXPECT_EQ(reformatDate(in), out) << in;
  // Field texts: a leading number, and dates written.
  const std::pair<const char*, double> numbers[] = {{"12abc", 12}, {"1.5", 1.5}, {"", 0}, {"x1", 0}, {"-3", -3}};
  for (const auto& [text, n] : numbers) EXPECT_EQ(leadingNumber(text), n) << text;
  EXPECT_EQ(dateText(2024, 3, 7), "03/07/2024");
  EXPECT_EQ(todayText().size(), 10u);
}

TEST(IntakeAccept, ChecksInOrderEducationWithoutMessageTheHelpAndWhenToStore) {
  const ClientInfoValues v{"Ann Lee", "", "30", 1, 1, 1, "12", "01/02/1990"};
  EXPECT_TRUE(checkForAccept(v).ok);
  // The check with one change made: whether it passes, the field refused, and whether its message shows.
  auto with = [&v](auto change) {
    ClientInfoValues x = v;
    change(x);
    const auto r = checkForAccept(x);
    return std::tuple(r.ok, r.field, r.message);
  };
  EXPECT_EQ(with([](ClientInfoValues& x) { x.name = ""; }), std::tuple(false, F::Name, true));
  EXPECT_EQ(with([](ClientInfoValues& x) { x.gender = -1, x.age = ""; }), std::tuple(false, F::Age, true));
  EXPECT_EQ(with([](ClientInfoValues& x) { x.marital = -1, x.gender = -1; }), std::tuple(false, F::Gender, true));
  EXPECT_EQ(with([](ClientInfoValues& x) { x.race = -1; }), std::tuple(false, F::Race, true));
  EXPECT_EQ(with([](ClientInfoValues& x) { x.education = ""; }), std::tuple(false, F::Education, false));
  EXPECT_EQ(with([](ClientInfoValues& x) { x.dateOfBirth = "N1/"; }), std::tuple(false, F::DateOfBirth, true));
  EXPECT_TRUE(std::get<0>(with([](ClientInfoValues& x) { x.dateOfBirth = "n"; })));
  // The help line on accepting, and whether accepting stores the record.
  EXPECT_EQ((std::vector<bool>{shouldStore(0, 3), shouldStore(5, 2), shouldStore(5, 3)}), (std::vector<bool>{1, 1, 0}));
  EXPECT_EQ(acceptHelp(true, 1, 0), "Client name has been deleted. Editing is not permitted. Press Enter to continue.");
  EXPECT_EQ(acceptHelp(true, 0, 3), "No further editing permitted. Press Enter to save and continue.");
  EXPECT_EQ(acceptHelp(false, 0, 0), "If information is correct press Enter or press Tab to change an entry.");
}

TEST(IntakeEditCounter, ThirdChangeLocksAndSameFieldCountsAgain) {
  using O = EditCounter::Outcome;
  ClientInfoValues v{"Ann", "1", "30", 1, 2, 1, "12", "N"};
  EditCounter c;
  c.start(v, 0);
  // Each field left gives an outcome and the count after it. Once locked a further
  // difference keeps the count at 3 without a second message.
  std::vector<std::pair<O, int>> seen;
  for (auto [field, value, enabled] : {std::tuple{F::Age, "30", true}, {F::Age, "31", true}, {F::Age, "31", true},
                                       {F::Education, "13", true}, {F::Age, "32", true}, {F::Race, "3", false}})
    seen.push_back({c.fieldLeft(field, value, enabled), c.count()});
  EXPECT_EQ(seen, (std::vector<std::pair<O, int>>{{O::Unchanged, 0}, {O::Counted, 1}, {O::Unchanged, 1},
                                                  {O::Counted, 2}, {O::LimitReached, 3}, {O::Counted, 3}}));
  // Lists compare by position.
  EditCounter two;
  two.start(v, 2);
  EXPECT_EQ(two.startValue(F::Race), "2");
  EXPECT_EQ(two.fieldLeft(F::Race, "5", true), O::LimitReached);
}

TEST(IntakeRecord, RecordToDBCutsEveryValueToItsWidthInWindows1252AndRecordToScreenTrimsAndReadsPositions) {
  ClientRecord r;
  ClientInfoValues v{"Zoë Ångström-Ødegård Smith", "12345678901", "42", 4, 5, 2, "12", "02/29/1992"};
  RecordToDB(r, v, "06/15/2024");
  // Name (25), ID cut to 10, age, gender, race, education, marital, birth, tested; the rest blank.
  EXPECT_EQ(r.bytes(), std::string("Zo\xEB \xC5ngstr\xF6m-\xD8" "deg\xE5rd Smit") + "1234567890" + "42 " + "2" + "5" +
                           "12" + "4" + "02/29/1992" + "06/15/2024" + std::string(kRecordSize - 63, ' '));
  // DateTested keeps a value it already has.
  RecordToDB(r, v, "01/01/2030");
  EXPECT_EQ(r.raw(Field::DateTested), "06/15/2024");

  ClientRecord s;
  for (auto [f, v] : {std::pair{Field::Name, "Jones"}, {Field::Age, "7"}, {Field::Race, "7"}, {Field::Gender, "2"},
                      {Field::Marital, "N"}, {Field::DateOfBirth, "N"}})
    s.setRaw(f, v);
  // Race 7 is no position of the race list.
  EXPECT_EQ(RecordToScreen(s), (ClientInfoValues{"Jones", "", "7", -1, -1, 2, "", "N"}));
  EXPECT_EQ(counterValue(s, Field::EditCount), 0);  // blank reads as 0
  s.setRaw(Field::EditCount, "3");
  EXPECT_EQ(counterValue(s, Field::EditCount), 3);
}

namespace {

struct StoreFixture : zvtest::Office {
  ClientTable table;
  std::string path = clientFilePath(data.path());
  ClientInfoValues values{"New Person", "N", "33", 2, 3, 1, "10", "N"};

  explicit StoreFixture(int existing, int editing = 0) {
    zvtest::writeBytes(path, zvtest::storedClientsBytes(existing));
    LoadClientFile(fs, path, table);
    table.CurrentRecord = static_cast<std::int16_t>(editing);
    if (editing > 0) ClientSlot(table).beginEdit();
  }
  bool store(int startCount, int editCount, bool nameDeleted = false) {
    return storeClientInfo(table, fs, path, prompter, {values, startCount, editCount, nameDeleted, "05/06/2025"});
  }
};

}  // namespace

TEST(IntakeStore, NewClientIsPlacedButNotWrittenEditsAreWrittenAtOnceLockedOnesAreNotChanged) {
  StoreFixture f(2);
  ASSERT_TRUE(f.store(0, 0));
  EXPECT_EQ(f.table.CurrentRecord, 3);
  EXPECT_EQ(f.table.slot[3].trimmed(Field::Name), "New Person");
  EXPECT_EQ(zvtest::readBytes(f.path).size(), 2 * kRecordSize);

  StoreFixture e(2, 2);
  ASSERT_TRUE(e.store(1, 3));
  EXPECT_EQ(zvtest::readBytes(e.path).substr(kRecordSize), e.table.slot[2].bytes());
  EXPECT_EQ(e.table.slot[2].raw(Field::EditCount), "3");
  EXPECT_EQ(e.table.slot[2].trimmed(Field::Name), "New Person");
  EXPECT_EQ(e.table.slot[2].raw(Field::Responses), std::string(162, '1'));  // answers untouched

  // At the edit limit, and with the name deleted, the record is written again unchanged.
  for (bool nameDeleted : {false, true}) {
    StoreFixture d(1, 1);
    if (nameDeleted) {
      d.table.slot[1].setRaw(Field::Name, "\x81\x8D\x8F scrambled");
      d.table.slot[1].setRaw(Field::NameDeleted, "1");
      SaveClientRecord(d.fs, d.path, d.table, 1);
    }
    const ClientRecord before = d.table.slot[1];
    ASSERT_TRUE(nameDeleted ? d.store(0, 0, true) : d.store(3, 3));
    EXPECT_EQ(d.table.slot[1], before);
    EXPECT_EQ(zvtest::readBytes(d.path), before.bytes());
  }
}

TEST(CourtHistoryRules, LeavingAFieldTakesNAndTheRangeEmptyingARefusalAcceptingTestsOnlyEmptinessAndTexts) {
  const struct { int field; const char* in; bool accepted; std::string text; } cases[] = {
      {0, "4", false, ""},    {0, "5", true, "5"},      {1, "99", true, "99"}, {0, "0", false, ""},  // ages 5 to 99
      {1, "", false, ""},     {2, "0", true, "0"},      {2, "00", false, ""},  {13, "0", true, "0"},  // a single 0: fields 2 to 13
      {2, "n", true, "N"},    {12, "99", true, "99"},   {12, "x", false, ""},  {13, "12", true, "12"},
      {13, "13", false, ""},  {13, "012", true, "012"}, {13, "1.5", true, "1.5"},
      {5, "7 ", true, "7"},  // a value read back with its trailing blank
  };
  for (const auto& c : cases) {
    const CourtEnterResult r = courtEnterRule(c.field, c.in);
    EXPECT_EQ(std::pair(r.accepted, r.text), std::pair(c.accepted, c.text)) << c.field << " '" << c.in << "'";
  }
  // Accepting tests only emptiness.
  CourtValues v;
  v.fill("3");  // an age of 3 is out of range, but acceptance does not test ranges
  EXPECT_EQ(firstEmptyCourtField(v), -1);
  v[5] = "";
  v[9] = "";
  EXPECT_EQ(firstEmptyCourtField(v), 5);
  v[5] = "  ";
  EXPECT_EQ(firstEmptyCourtField(v), 5);
  // Texts and widths per field, and stored two characters each.
  const std::string nfa = " or N for not available. Press Enter to continue.", nA = " or N for Not Available";
  EXPECT_EQ((std::vector<std::string>{courtErrorMessage(0), courtErrorMessage(3), courtErrorMessage(4),
                                      courtErrorMessage(12), courtErrorMessage(13)}),
            (std::vector<std::string>{"Enter age in number of years" + nfa, "Enter a number from 0 to 99" + nfa,
                                      "Enter a number from 0 to 99" + nA + ". Press Enter to continue.",
                                      "Enter a number from 0 to 99" + nA + ". Press Enter to continue.",
                                      "Enter a number from 0 to 12" + nA + ". Press Enter to continue."}));
  EXPECT_EQ((std::vector<std::string>{courtHelp(1), courtHelp(2), courtHelp(13)}),
            (std::vector<std::string>{"Enter age in number of years" + nA + ", then press Enter.",
                                      "Type a value 0 to 99" + nA + ", then press Enter.",
                                      "Type a value 0 to 12" + nA + ", then press Enter."}));
  EXPECT_EQ(std::string(courtLabel(13)), "Number of months employed:");
  EXPECT_EQ(std::pair(courtMaxLength(13), courtMaxLength(12)), std::pair(3, 2));
  // Stored two characters each; one digit keeps its blank.
  ClientRecord r;
  for (int i = 0; i < kCourtFieldCount; ++i) v[static_cast<std::size_t>(i)] = std::to_string(i + 5);
  v[2] = "0";
  v[3] = "N";
  v[13] = "012";  // cut to its first two characters
  SaveCourtData(r, v);
  EXPECT_EQ(r.bytes(), std::string(63, ' ') + "5 6 0 N 9 101112131415161701" + std::string(kRecordSize - 91, ' '));
  const CourtValues back = GetCourtData(r);
  EXPECT_EQ((std::vector<std::string>(back.begin(), back.end())),
            (std::vector<std::string>{"5 ", "6 ", "0 ", "N ", "9 ", "10", "11", "12", "13", "14", "15", "16", "17", "01"}));
}
