#include <gtest/gtest.h>

#include <cerrno>

#include "records/Encrypt.h"
#include "supervisor/DeleteNames.h"
#include "tests/core/SupervisorFixture.h"

using namespace zv;

namespace {

// A stored record after Delete Names: the name scrambled, the flag set, the rest as it was.
std::string deleted(std::string record) {
  std::string name = record.substr(0, 25);
  Encrypt(name, false);
  return record.replace(0, 25, name).replace(254, 1, "1");
}

std::vector<std::string> recordsOnDisk(const zvtest::SupervisorFixture& f, int n) {
  std::vector<std::string> out;
  for (int i = 1; i <= n; ++i) out.push_back(f.recordOnDisk(i));
  return out;
}

}  // namespace

// Asked first: No writes nothing. Yes: flags 0, 1, 0, 0 scramble records 1 and 3 and flag the blank 4.
TEST(DeleteNames, AsksWithTheExactWarningThenScramblesTheNamesNotDeletedYet) {
  zvtest::SupervisorFixture f;
  f.addClient("Ab Smith");
  f.addClient("Kept Name", std::string(162, '1'), "1");
  f.addClient("Carol Brown");
  f.addClient("");  // a blank name stays blank but is flagged
  const auto before = recordsOnDisk(f, 4);
  f.state.Refresh = false;
  f.prompter.script(Answer::No);
  EXPECT_EQ(DeleteNames(f.state), 0);
  EXPECT_EQ(recordsOnDisk(f, 4), before);
  EXPECT_EQ(f.state.clients.slot[1].bytes(), before[0]);
  EXPECT_FALSE(f.state.Refresh);
  EXPECT_EQ(DeleteNames(f.state), 3);
  EXPECT_EQ(recordsOnDisk(f, 4), (std::vector<std::string>{deleted(before[0]), before[1], deleted(before[2]), deleted(before[3])}));
  EXPECT_EQ(f.state.clients.slot[1].bytes(), deleted(before[0]));
  EXPECT_EQ(f.state.clients.NameDeleted, 1);
  EXPECT_TRUE(f.state.Refresh);
  const zvtest::Asked warning{"You are about to delete the Client Name from\rall tests on this diskette. This should "
                              "not be done\runtil you have printed all reports and are finished\rwith this diskette "
                              "and ready to return it.\r\rAre you SURE you want to do this?",
                              "WARNING!", Buttons::YesNo, Icon::Critical};
  const zvtest::Asked done{"Process complete. Press Enter to continue.", "Zorvex", Buttons::Ok, Icon::None};
  EXPECT_EQ(f.prompter.asked, (zvtest::AskedList{warning, warning, done}));
}

TEST(DeleteNames, EachRecordIsWrittenRightAfterItsNameSoAnInterruptionLeavesWholeRecords) {
  zvtest::SupervisorFixture f;
  for (const char* name : {"Alpha", "Bravo", "Charlie"}) f.addClient(name);
  const auto before = recordsOnDisk(f, 3);
  // The first write succeeds, the second finds the disk write protected.
  struct OneThenFail : FaultyFileSystem {
    using FaultyFileSystem::FaultyFileSystem;
    int writes = 0;
    void writeFile(const std::string& p, const std::string& b, bool sync) override {
      if (++writes == 2) arm({"write", "", EROFS, -1});
      FaultyFileSystem::writeFile(p, b, sync);
    }
  } failing(f.real);
  SystemState state(failing, f.prompter, f.program.path());
  state.dataLocation = f.data.path();
  state.clients = f.state.clients;
  f.prompter.script(Answer::Yes);
  f.prompter.script(Answer::Cancel);  // give up on the write-protected disk
  EXPECT_EQ(DeleteNames(state), 1);
  EXPECT_EQ(recordsOnDisk(f, 3), (std::vector<std::string>{deleted(before[0]), before[1], before[2]}));
  // The table mirrors the file again.
  EXPECT_EQ(state.clients.slot[2].bytes(), before[1]);
  ASSERT_EQ(f.prompter.asked.size(), 3u);
  EXPECT_EQ(f.prompter.asked[1].title, "Data Disk Error");
  EXPECT_NE(f.prompter.asked[2].text.find("Run Delete Names again"), std::string::npos);
  EXPECT_EQ(f.prompter.asked[2].text.find("Process complete"), std::string::npos);

  // A later run completes the rest.
  f.state.clients = state.clients;
  EXPECT_EQ(DeleteNames(f.state), 2);
  EXPECT_EQ(recordsOnDisk(f, 3), (std::vector<std::string>{deleted(before[0]), deleted(before[1]), deleted(before[2])}));
}

TEST(DeleteNames, ClientsBeyond51InTheFileAreScrambledToo) {
  zvtest::SupervisorFixture f;
  std::string file;  // the last client's name deleted already
  for (int i = 1; i <= 53; ++i)
    file += zvtest::namedClient("Client " + std::to_string(i)).bytes().replace(254, 1, i == 53 ? "1" : "0");
  zvtest::writeBytes(f.state.clientFile(), file + "tail");
  LoadClientFile(f.fs, f.state.clientFile(), f.state.clients);
  f.prompter.script(Answer::Yes);
  EXPECT_EQ(DeleteNames(f.state), 52);
  std::string expected;
  for (std::size_t i = 0; i < 52; ++i) expected += deleted(file.substr(i * 255, 255));
  EXPECT_EQ(zvtest::readBytes(f.state.clientFile()), expected + file.substr(52 * 255) + "tail");
  EXPECT_EQ(f.prompter.asked.back().text, "Process complete. Press Enter to continue.");
}
