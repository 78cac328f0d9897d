#include <gtest/gtest.h>

#include "app/QuestionDb.h"
#include "app/Settings.h"
#include "tests/core/TestSupport.h"

using namespace zv;

TEST(Settings, MissingFileGivesDefaults) {
  zvtest::TempDir dir;
  RealFileSystem fs;
  Settings s(fs, dir.path());
  EXPECT_TRUE(s.readNumLock());
  EXPECT_EQ(s.readFilePath(), dir.path() + "/data");
  EXPECT_EQ(s.readSndPath(), dir.path() + "/sounds");
  EXPECT_FALSE(fs.exists(dir.file("zv.ini")));
}

TEST(Settings, NumLockTestsTheTruPrefixCaseSensitively) {
  zvtest::TempDir dir;
  RealFileSystem fs;
  Settings s(fs, dir.path());
  zvtest::writeBytes(dir.file("zv.ini"), "[settings]\nnumlock=true\n");
  EXPECT_FALSE(s.readNumLock()) << "lower-case value reads as off; names match in any case";
  zvtest::writeBytes(dir.file("zv.ini"), "[SETTINGS]\nNUMLOCK = Truthfully\n");
  EXPECT_TRUE(s.readNumLock());
  s.writeNumLock(false);
  EXPECT_FALSE(s.readNumLock());
  s.writeNumLock(true);
  EXPECT_EQ(zvtest::readBytes(dir.file("zv.ini")), "[SETTINGS]\nNumLock=True\n");
}

TEST(Settings, PathBufferKeeps49CharactersAndTrims) {
  zvtest::TempDir dir;
  RealFileSystem fs;
  Settings s(fs, dir.path());
  const std::string longPath = "/media/" + std::string(60, 'x');
  zvtest::writeBytes(dir.file("zv.ini"), "[Path]\nFilePath=   /media/usb   \nSndPath=" + longPath + "\n");
  EXPECT_EQ(s.readFilePath(), "/media/usb");
  EXPECT_EQ(s.readSndPath(), longPath.substr(0, 49));
}

TEST(Settings, WritingOneKeyKeepsEveryOtherLine) {
  zvtest::TempDir dir;
  RealFileSystem fs;
  Settings s(fs, dir.path());
  zvtest::writeBytes(dir.file("zv.ini"),
                     "; office settings\r\n[Settings]\r\nNumLock=False\r\n\r\n[Path]\r\nSndPath=/snd\r\n[Other]\r\nx=1\r\n");
  s.writeFilePath("/media/usb");
  s.writeSystemDB();
  EXPECT_EQ(zvtest::readBytes(dir.file("zv.ini")),
            "; office settings\r\n[Settings]\r\nNumLock=False\r\n\r\n[Path]\r\nSndPath=/snd\r\nFilePath=/media/usb\r\n"
            "[Other]\r\nx=1\r\n[Options]\r\nSystemDB=" + dir.path() + "/kelvor.mda\r\n");
  EXPECT_EQ(s.readFilePath(), "/media/usb");
}

TEST(QuestionDb, BundledDatabaseHasBothLanguagesInIdOrder) {
  auto ws = Workspace::standard(std::string(ZV_PROGRAM_DIR) + "/zv.ini");
  EXPECT_EQ(ws.defaultUser(), "KLVTest");
  auto db = ws.OpenDatabase(std::string(ZV_PROGRAM_DIR) + "/ZV.db", true);
  const auto names = db.TableNames();
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], "English");
  auto rs = db.SelectAll("English");
  EXPECT_EQ(rs.RecordCount(), 162);
  int expected = 1;
  for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) EXPECT_EQ(rs.fieldInt("ID"), expected++);
  rs.MovePrevious();
  EXPECT_EQ(rs.fieldInt("ID"), 162);
  rs.MoveFirst();
  rs.MovePrevious();
  EXPECT_TRUE(rs.IsBOF());
  rs.MoveNext();
  EXPECT_EQ(rs.field("answer2").empty(), false) << "fields are found by name in any case";
  EXPECT_EQ(rs.field("ANSWER5"), "") << "NULL reads as empty";
  EXPECT_THROW(rs.field("NoSuchField"), ZvError);
}

TEST(QuestionDb, EditUpdateStoresAndMissingFileFails) {
  zvtest::TempDir dir;
  RealFileSystem fs;
  fs.copy(std::string(ZV_PROGRAM_DIR) + "/ZV.db", dir.file("ZV.db"));
  auto ws = Workspace::standard(dir.file("zv.ini"));
  {
    auto db = ws.OpenDatabase(dir.file("ZV.db"), false, true);
    auto rs = db.OpenTable("English");
    rs.MoveFirst();
    rs.MoveNext();
    rs.Edit();
    rs.setField("QuestionAudio", "changed");
    rs.Update();
    db.Close();
  }
  auto db = ws.OpenDatabase(dir.file("ZV.db"));
  auto rs = db.OpenTable("English");
  rs.MoveNext();
  EXPECT_EQ(rs.field("QuestionAudio"), "changed");
  EXPECT_THROW(db.SelectAll("NoTable"), ZvError);
  try {
    ws.OpenDatabase(dir.file("missing.db"));
    FAIL();
  } catch (const ZvError& e) {
    EXPECT_EQ(e.kind(), ErrorKind::FileNotFound);
  }
}
