#include <gtest/gtest.h>

#include <cerrno>

#include "records/Encrypt.h"
#include "supervisor/DeleteNames.h"
#include "tests/core/SupervisorFixture.h"

using namespace zv;

namespace {

std::string scrambled(const std::string& name) {
  std::string s = name;
  s.resize(25, ' ');
  Encrypt(s, false);
  return s;
}

}  // namespace

TEST(DeleteNames, AsksWithTheExactWarningAndNoWritesNothing) {
  zvtest::SupervisorFixture f;
  f.addClient("Jones");
  const std::string before = zvtest::readBytes(f.state.clientFile());
  f.state.Refresh = false;
  f.prompter.script(Answer::No);
  EXPECT_EQ(DeleteNames(f.state), 0);
  ASSERT_EQ(f.prompter.asked.size(), 1u);
  EXPECT_EQ(f.prompter.asked[0].text,
            "You are about to delete the Client Name from\rall tests on this diskette. This should not be done\r"
            "until you have printed all reports and are finished\rwith this diskette and ready to return it.\r\r"
            "Are you SURE you want to do this?");
  EXPECT_EQ(f.prompter.asked[0].title, "WARNING!");
  EXPECT_EQ(f.prompter.asked[0].buttons, Buttons::YesNo);
  EXPECT_EQ(f.prompter.asked[0].icon, Icon::Critical);
  EXPECT_EQ(zvtest::readBytes(f.state.clientFile()), before);
  EXPECT_EQ(f.state.clients.slot[1].raw(Field::Name), "Jones                    ");
  EXPECT_FALSE(f.state.Refresh);
}

TEST(DeleteNames, FlagsZeroOneZeroZeroScrambleRecordsOneAndThreeAndFlagTheBlankFour) {
  zvtest::SupervisorFixture f;
  f.addClient("Ab Smith");
  f.addClient("Kept Name", std::string(162, '1'), "1");
  f.addClient("Carol Brown");
  f.addClient("");
  const std::string second = f.recordOnDisk(2);
  f.state.Refresh = false;
  f.state.clients.NameDeleted = 0;
  EXPECT_EQ(DeleteNames(f.state), 3);
  // A blank name stays blank but is flagged.
  EXPECT_EQ(f.recordOnDisk(4).substr(0, 25), std::string(25, ' '));
  EXPECT_EQ(f.recordOnDisk(4)[254], '1');

  EXPECT_EQ(f.recordOnDisk(1).substr(0, 25), scrambled("Ab Smith"));
  EXPECT_EQ(f.recordOnDisk(1).substr(0, 5), "Di Vp");
  EXPECT_EQ(f.recordOnDisk(1)[254], '1');
  EXPECT_EQ(f.recordOnDisk(2), second);
  EXPECT_EQ(f.recordOnDisk(3).substr(0, 25), scrambled("Carol Brown"));
  EXPECT_EQ(f.recordOnDisk(3)[254], '1');
  // Everything but the name stays.
  EXPECT_EQ(f.recordOnDisk(3).substr(25, 229), f.state.clients.slot[3].bytes().substr(25, 229));
  EXPECT_EQ(f.recordOnDisk(3).substr(91, 162), std::string(162, '1'));
  EXPECT_EQ(f.state.clients.slot[1].raw(Field::Name), scrambled("Ab Smith"));
  EXPECT_EQ(f.state.clients.NameDeleted, 1);
  EXPECT_TRUE(f.state.Refresh);
  ASSERT_EQ(f.prompter.asked.size(), 2u);
  EXPECT_EQ(f.prompter.asked[1].text, "Process complete. Press Enter to continue.");
  EXPECT_EQ(f.prompter.asked[1].title, "Zorvex");
  EXPECT_EQ(f.prompter.asked[1].icon, Icon::None);

  // A second run finds nothing left to scramble.
  const std::string file = zvtest::readBytes(f.state.clientFile());
  EXPECT_EQ(DeleteNames(f.state), 0);
  EXPECT_EQ(zvtest::readBytes(f.state.clientFile()), file);
}

TEST(DeleteNames, EachRecordIsWrittenRightAfterItsNameSoAnInterruptionLeavesWholeRecords) {
  zvtest::SupervisorFixture f;
  f.addClient("Alpha");
  f.addClient("Bravo");
  f.addClient("Charlie");
  const std::string second = f.recordOnDisk(2);
  const std::string third = f.recordOnDisk(3);
  // The first write succeeds, the second finds the disk write protected.
  struct OneThenFail : FaultyFileSystem {
    using FaultyFileSystem::FaultyFileSystem;
    int writes = 0;
    void writeFile(const std::string& p, const std::string& b, bool sync) override {
      if (++writes == 2) arm({"write", "", EROFS, -1});
      FaultyFileSystem::writeFile(p, b, sync);
    }
  } failing(f.realFs);
  SystemState state(failing, f.prompter, f.dir.path());
  state.dataLocation = f.dir.path();
  state.clients = f.state.clients;
  f.prompter.script(Answer::Yes);
  f.prompter.script(Answer::Cancel);  // give up on the write-protected disk
  EXPECT_EQ(DeleteNames(state), 1);
  EXPECT_EQ(f.recordOnDisk(1).substr(0, 25), scrambled("Alpha"));
  EXPECT_EQ(f.recordOnDisk(1)[254], '1');
  EXPECT_EQ(f.recordOnDisk(2), second);
  EXPECT_EQ(f.recordOnDisk(3), third);
  // The table mirrors the file again.
  EXPECT_EQ(state.clients.slot[2].raw(Field::Name), "Bravo                    ");
  EXPECT_EQ(state.clients.slot[2].raw(Field::NameDeleted), "0");
  ASSERT_EQ(f.prompter.asked.size(), 3u);
  EXPECT_EQ(f.prompter.asked[1].title, "Data Disk Error");
  EXPECT_NE(f.prompter.asked[2].text.find("Run Delete Names again"), std::string::npos);
  EXPECT_EQ(f.prompter.asked[2].text.find("Process complete"), std::string::npos);

  // A later run completes the rest.
  SystemState later(f.realFs, f.prompter, f.dir.path());
  later.dataLocation = f.dir.path();
  later.clients = state.clients;
  f.prompter.asked.clear();
  EXPECT_EQ(DeleteNames(later), 2);
  EXPECT_EQ(f.recordOnDisk(1).substr(0, 25), scrambled("Alpha"));
  EXPECT_EQ(f.recordOnDisk(2).substr(0, 25), scrambled("Bravo"));
  EXPECT_EQ(f.recordOnDisk(3).substr(0, 25), scrambled("Charlie"));
}

TEST(DeleteNames, ClientsBeyond51InTheFileAreScrambledToo) {
  zvtest::SupervisorFixture f;
  std::string file;
  for (int i = 1; i <= 53; ++i) {
    ClientRecord r;
    r.setRaw(Field::Name, "Client " + std::to_string(i));
    r.setRaw(Field::NameDeleted, i == 53 ? "1" : "0");
    file += r.bytes();
  }
  zvtest::writeBytes(f.state.clientFile(), file + "tail");
  LoadClientFile(f.fs, f.state.clientFile(), f.state.clients);
  f.prompter.script(Answer::Yes);
  EXPECT_EQ(DeleteNames(f.state), 52);
  EXPECT_EQ(f.recordOnDisk(51).substr(0, 25), scrambled("Client 51"));
  EXPECT_EQ(f.recordOnDisk(52).substr(0, 25), scrambled("Client 52"));
  EXPECT_EQ(f.recordOnDisk(52)[254], '1');
  EXPECT_EQ(f.recordOnDisk(53), file.substr(52 * 255)) << "already deleted";
  EXPECT_EQ(zvtest::readBytes(f.state.clientFile()).substr(53 * 255), "tail");
  EXPECT_EQ(f.prompter.asked.back().text, "Process complete. Press Enter to continue.");
}
