#include <gtest/gtest.h>

#include "intake/CourtHistoryRules.h"

using namespace zv;

TEST(CourtHistoryRules, LeavingAFieldTrimsTakesNAndTheFieldsRangeAndEmptiesARefusal) {
  const struct { int field; const char* in; bool accepted; const char* text; } cases[] = {
      {0, "4", false, ""},    {0, "5", true, "5"},      {1, "99", true, "99"}, {0, "0", false, ""},  // ages 5 to 99
      {1, "", false, ""},     {2, "0", true, "0"},      {2, "00", false, ""},  {13, "0", true, "0"},  // a single 0: fields 2 to 13
      {2, "n", true, "N"},    {12, "99", true, "99"},   {12, "x", false, ""},  {13, "12", true, "12"},
      {13, "13", false, ""},  {13, "012", true, "012"}, {13, "1.5", true, "1.5"},
      {5, "7 ", true, "7"},  // a value read back with its trailing blank
  };
  for (const auto& c : cases) {
    const CourtEnterResult r = courtEnterRule(c.field, c.in);
    EXPECT_EQ(r.accepted, c.accepted) << c.field << " '" << c.in << "'";
    EXPECT_EQ(r.text, c.text) << c.field << " '" << c.in << "'";
  }
}

TEST(CourtHistoryRules, TextsPerField) {
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
  EXPECT_EQ(courtMaxLength(13), 3);
  EXPECT_EQ(courtMaxLength(12), 2);
}

TEST(CourtHistoryRules, AcceptingTestsOnlyEmptiness) {
  CourtValues v;
  v.fill("3");
  EXPECT_EQ(firstEmptyCourtField(v), -1);
  v[0] = "3";  // out of range, but acceptance does not test ranges
  v[5] = "";
  v[9] = "";
  EXPECT_EQ(firstEmptyCourtField(v), 5);
  v[5] = "  ";
  EXPECT_EQ(firstEmptyCourtField(v), 5);
}

TEST(CourtHistoryRules, StoredTwoCharactersEachOneDigitKeepsItsBlank) {
  ClientRecord r;
  CourtValues v;
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
