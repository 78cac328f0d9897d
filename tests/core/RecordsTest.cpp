#include <gtest/gtest.h>

#include <cerrno>

#include "records/ClientRecord.h"
#include "records/CodeTables.h"
#include "records/Cp1252.h"
#include "records/Encrypt.h"
#include "records/ZvError.h"

using namespace zv;

// Every field's offset and width show in whole records compared byte for
// byte: here, IntakeRecord (RecordToDB) and CourtHistoryRules (SaveCourtData).
TEST(ClientRecordLayout, WritesEachFieldIntoItsBytesOnlyPaddedOrCut) {
  ClientRecord r;
  for (auto [f, v] : {std::pair{Field::Name, "Smith"}, {Field::SSN, "12345678901"}, {Field::Age, "34"}, {Field::Gender, "2"},
                      {Field::FirstArrest, "7"}, {Field::TimesJail, "N"}, {Field::EditCount, "3"}, {Field::NameDeleted, "0"}})
    r.setRaw(f, v);
  r.setRaw(Field::Responses, std::string(162, '0'));
  // The ID's 11th character is cut.
  EXPECT_EQ(r.bytes(), "Smith" + std::string(20, ' ') + "1234567890" + "34 " + "2" + std::string(24, ' ') + "7 " +
                           std::string(14, ' ') + "N " + std::string(10, ' ') + std::string(162, '0') + "30");
  r.setRaw(Field::Name, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ(r.raw(Field::Name), "ABCDEFGHIJKLMNOPQRSTUVWXY") << "a name of 25 fills the field, the 26th is cut";
}

TEST(Cp1252, ClientTextIsStoredAsWindows1252AndEveryByteSurvivesARoundTrip) {
  ClientRecord r;
  EXPECT_TRUE(r.setText(Field::Name, "Peña Núñez"));
  EXPECT_EQ(r.raw(Field::Name).substr(0, 10), "Pe\xF1" "a N\xFA\xF1" "ez");
  EXPECT_EQ(r.text(Field::Name).substr(0, 13), "Peña Núñez");
  // A character Windows-1252 cannot hold is reported, never stored as a stray byte sequence.
  EXPECT_FALSE(r.setText(Field::Name, "Łukasz"));
  EXPECT_EQ(r.raw(Field::Name).substr(0, 6), "?ukasz");
  // Every byte survives a round trip.
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  bool lossless = false;
  EXPECT_EQ(cp1252::fromUtf8(cp1252::toUtf8(all), &lossless), all);
  EXPECT_TRUE(lossless);
  EXPECT_EQ(cp1252::toUtf8("\x80\x93\x94"), "€“”");
  EXPECT_EQ(cp1252::length("«Enter»"), 7u);
  EXPECT_EQ(std::pair(cp1252::representable(U'ñ'), cp1252::representable(U'Ł')), std::pair(true, false));
}

TEST(Encrypt, ScramblesAndRestoresExactly) {
  const auto encrypt = [](std::string s, bool restore) {
    Encrypt(s, restore);
    return s;
  };
  EXPECT_EQ(encrypt("Ab", false), "Di");
  EXPECT_EQ(encrypt("Jo Smith" + std::string(17, ' '), false), "Qr Vpl{o" + std::string(17, ' ')) << "blanks stay";
  // Codes near the top wrap modulo 256 and still restore. Code 29 (a control
  // character no name holds) scrambles to a blank, which restoring keeps.
  std::string codes;
  for (int b = 0; b < 256; ++b) codes += b == ' ' || b == 29 ? 'x' : static_cast<char>(b);
  EXPECT_EQ(encrypt(encrypt(codes, false), true), codes);
}

TEST(CodeTables, PaddedTextsAndOutOfRangeCodes) {
  EXPECT_EQ((std::vector<std::string>{CodeTables::gender(2), CodeTables::gender(1), CodeTables::marital(4), CodeTables::race(5),
                                      CodeTables::race(0), CodeTables::gender(3), CodeTables::race(-1)}),
            (std::vector<std::string>{"Female", "Male  ", "Seperated", "Native American", "N/A            ", "N/A   ",
                                      "N/A            "}));
  EXPECT_EQ(std::pair(codeDigit("5"), codeDigit(" ")), std::pair(5, -1));
}

TEST(ErrnoMapping, EachPlatformErrorHasItsKind) {
  const std::tuple<int, const char*, ErrorKind> cases[] = {
      {ENOMEDIUM, "/x", ErrorKind::DriveNotReady}, {ENODEV, "/x", ErrorKind::DriveNotReady},
      {ENOENT, "/tmp/none", ErrorKind::FileNotFound}, {ENOENT, "/no/such/folder/file", ErrorKind::PathNotFound},
      {EROFS, "/x", ErrorKind::WriteProtected}, {EACCES, "/x", ErrorKind::WriteProtected},
      {EIO, "/x", ErrorKind::DeviceIO}, {ENOSPC, "/x", ErrorKind::DiskFull}, {EMFILE, "/x", ErrorKind::Other}};
  for (auto [number, path, kind] : cases) EXPECT_EQ(ZvError::fromErrno(number, path).kind(), kind) << number << " " << path;
  EXPECT_EQ(ZvError::fromErrno(EMFILE, "/x").number(), EMFILE);
}
