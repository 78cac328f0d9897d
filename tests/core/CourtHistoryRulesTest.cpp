#include <gtest/gtest.h>

#include "intake/CourtHistoryRules.h"

using namespace zv;

TEST(CourtHistoryRules, AgeFieldsTakeFiveToNinetyNine) {
  EXPECT_FALSE(courtEnterRule(0, "4").accepted);
  EXPECT_EQ(courtEnterRule(0, "4").text, "");
  EXPECT_TRUE(courtEnterRule(0, "5").accepted);
  EXPECT_TRUE(courtEnterRule(1, "99").accepted);
  EXPECT_FALSE(courtEnterRule(0, "0").accepted);  // the single "0" is only for fields 2 to 13
  EXPECT_FALSE(courtEnterRule(1, "").accepted);
  EXPECT_EQ(courtErrorMessage(0), std::string("Enter age in number of years or N for not available. Press Enter to continue."));
}

TEST(CourtHistoryRules, SingleZeroButNotTwoZeros) {
  EXPECT_TRUE(courtEnterRule(2, "0").accepted);
  EXPECT_EQ(courtEnterRule(2, "0").text, "0");
  EXPECT_FALSE(courtEnterRule(2, "00").accepted);
  EXPECT_EQ(courtEnterRule(2, "00").text, "");
  EXPECT_TRUE(courtEnterRule(13, "0").accepted);
  const auto n = courtEnterRule(2, "n");
  EXPECT_TRUE(n.accepted);
  EXPECT_EQ(n.text, "N");
  EXPECT_TRUE(courtEnterRule(12, "99").accepted);
  EXPECT_FALSE(courtEnterRule(12, "x").accepted);
}

TEST(CourtHistoryRules, MonthsEmployedZeroToTwelve) {
  EXPECT_TRUE(courtEnterRule(13, "12").accepted);
  EXPECT_FALSE(courtEnterRule(13, "13").accepted);
  const auto r = courtEnterRule(13, "012");
  EXPECT_TRUE(r.accepted);
  EXPECT_EQ(r.text, "012");
  EXPECT_TRUE(courtEnterRule(13, "1.5").accepted);
  // A value read back with its trailing blank is trimmed when the field is left.
  EXPECT_EQ(courtEnterRule(5, "7 ").text, "7");
}

TEST(CourtHistoryRules, MessagesPerField) {
  EXPECT_EQ(std::string(courtErrorMessage(3)), "Enter a number from 0 to 99 or N for not available. Press Enter to continue.");
  EXPECT_EQ(std::string(courtErrorMessage(4)), "Enter a number from 0 to 99 or N for Not Available. Press Enter to continue.");
  EXPECT_EQ(std::string(courtErrorMessage(12)), "Enter a number from 0 to 99 or N for Not Available. Press Enter to continue.");
  EXPECT_EQ(std::string(courtErrorMessage(13)), "Enter a number from 0 to 12 or N for Not Available. Press Enter to continue.");
  EXPECT_EQ(std::string(courtHelp(1)), "Enter age in number of years or N for Not Available, then press Enter.");
  EXPECT_EQ(std::string(courtHelp(2)), "Type a value 0 to 99 or N for Not Available, then press Enter.");
  EXPECT_EQ(std::string(courtHelp(13)), "Type a value 0 to 12 or N for Not Available, then press Enter.");
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
  v[13] = "012";
  SaveCourtData(r, v);
  const std::string b = r.bytes();
  EXPECT_EQ(b.substr(63, 2), "5 ");
  EXPECT_EQ(b.substr(65, 2), "6 ");
  EXPECT_EQ(b.substr(67, 2), "0 ");
  EXPECT_EQ(b.substr(69, 2), "N ");
  EXPECT_EQ(b.substr(79, 2), "13");
  EXPECT_EQ(b.substr(89, 2), "01");  // 012 is cut to its first two characters
  EXPECT_EQ(b.substr(0, 63), std::string(63, ' '));
  EXPECT_EQ(b.substr(91), std::string(kRecordSize - 91, ' '));
  const CourtValues back = GetCourtData(r);
  EXPECT_EQ(back[0], "5 ");
  EXPECT_EQ(back[3], "N ");
  EXPECT_EQ(back[13], "01");
}
