#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QTest>
#include <QTimer>

#include "app/Settings.h"
#include "app/qt/frmDriveSelect.h"
#include "tests/core/TestSupport.h"
#include "ui/Prompter.h"

using namespace zv;

namespace {
struct DriveRig {
  zvtest::TempDir dir;
  ScriptedPrompter prompter;
  std::string inForce = dir.file("usb");
  std::string def = dir.file("data");
};
}  // namespace

TEST(DriveSelect, TextsAreAsDesignedAndHelpShowsItsMessage) {
  DriveRig r;
  frmDriveSelect d(r.prompter, r.inForce, r.def);
  EXPECT_EQ(d.windowTitle(), "Please Select A drive");
  EXPECT_EQ(d.Label1()->text(), " Choose the drive associated with the data disk. (Usually A: or F:)");
  EXPECT_EQ(d.cmdDone()->text(), "Done");
  EXPECT_EQ(d.cmdhelp()->text(), "Help");
  EXPECT_EQ(d.cmdBrowse()->text(), QString::fromUtf8("Browse…"));
  EXPECT_EQ(frmDriveSelect::helpText(),
            "Use the dropdown box to select the drive that the floppy data \r\n"
            "diskette or USB Flash Drive is in. Floppy drives are usually A: or\r\n"
            "B: and USB drives are usually F: or G:");
  // Help shows it.
  QTest::mouseClick(d.cmdhelp(), Qt::LeftButton);
  ASSERT_EQ(r.prompter.asked.size(), 1u);
  EXPECT_EQ(r.prompter.asked[0].text, frmDriveSelect::helpText());
  EXPECT_EQ(r.prompter.asked[0].buttons, Buttons::Ok);
  EXPECT_EQ(r.prompter.asked[0].icon, Icon::None);
  EXPECT_EQ(r.prompter.asked[0].title, kAppTitle);
}

TEST(DriveSelect, DoneWithoutAChangeAnswersTheLocationInForce) {
  DriveRig r;
  frmDriveSelect d(r.prompter, r.inForce, r.def);
  d.show();
  EXPECT_EQ(d.drDrive()->currentData().toString().toStdString(), r.inForce);
  QTest::mouseClick(d.cmdDone(), Qt::LeftButton);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.answer(), r.inForce);
  EXPECT_TRUE(r.prompter.asked.empty());
}

TEST(DriveSelect, MountedVolumesAreListedAndEveryChangeIsRecorded) {
  DriveRig r;
  frmDriveSelect d(r.prompter, r.inForce, r.def);
  const QString root = QStorageInfo::root().rootPath();
  int rootIndex = -1, defIndex = -1;
  for (int i = 0; i < d.drDrive()->count(); ++i) {
    if (d.drDrive()->itemData(i).toString() == root) rootIndex = i;
    if (d.drDrive()->itemData(i).toString().toStdString() == r.def) defIndex = i;
  }
  ASSERT_GE(rootIndex, 0) << "the root volume is offered";
  ASSERT_GE(defIndex, 0) << "the default data folder is offered";
  d.drDrive()->setCurrentIndex(rootIndex);
  EXPECT_EQ(d.answer(), root.toStdString());
  d.show();
  d.drDrive()->setFocus();
  d.drDrive()->setCurrentIndex(0);
  QTest::keyClick(d.drDrive(), Qt::Key_Down);
  EXPECT_EQ(d.drDrive()->currentIndex(), 1);
  EXPECT_EQ(d.answer(), d.drDrive()->itemData(1).toString().toStdString());
  d.cmdDone_Click();
  EXPECT_EQ(d.answer(), d.drDrive()->itemData(1).toString().toStdString());
}

TEST(DriveSelect, BrowseAddsAndSelectsAnyFolder) {
  DriveRig r;
  frmDriveSelect d(r.prompter, r.inForce, r.def);
  QString offered;
  d.setFolderChooser([&](const QString& start) {
    offered = start;
    return QString::fromStdString(r.dir.path()) + "/stick//clients/";
  });
  QTest::mouseClick(d.cmdBrowse(), Qt::LeftButton);
  EXPECT_EQ(offered.toStdString(), r.inForce) << "browsing starts at the selected folder";
  EXPECT_EQ(d.answer(), r.dir.file("stick/clients"));
  EXPECT_EQ(d.drDrive()->currentData().toString().toStdString(), r.dir.file("stick/clients"));
  const int count = d.drDrive()->count();
  QTest::mouseClick(d.cmdBrowse(), Qt::LeftButton);
  EXPECT_EQ(d.drDrive()->count(), count) << "a folder is listed once";
  d.setFolderChooser([](const QString&) { return QString(); });
  QTest::mouseClick(d.cmdBrowse(), Qt::LeftButton);
  EXPECT_EQ(d.answer(), r.dir.file("stick/clients")) << "a cancelled folder dialog changes nothing";
}

TEST(DriveSelect, APathTooLongForTheSettingsIsRefused) {
  DriveRig r;
  frmDriveSelect d(r.prompter, r.inForce, r.def);
  const std::string longPath = "/media/" + std::string(Settings::kMaxPathLength, 'x');
  d.setFolderChooser([&](const QString&) { return QString::fromStdString(longPath); });
  const int count = d.drDrive()->count();
  QTest::mouseClick(d.cmdBrowse(), Qt::LeftButton);
  ASSERT_EQ(r.prompter.asked.size(), 1u);
  EXPECT_EQ(r.prompter.asked[0].text, frmDriveSelect::tooLongMessage(longPath));
  EXPECT_NE(r.prompter.asked[0].text.find("49 characters"), std::string::npos);
  EXPECT_EQ(d.drDrive()->count(), count);
  EXPECT_EQ(d.answer(), r.inForce);

  // Exactly 49 characters still fit.
  const std::string fits = "/" + std::string(Settings::kMaxPathLength - 1, 'y');
  d.setFolderChooser([&](const QString&) { return QString::fromStdString(fits); });
  QTest::mouseClick(d.cmdBrowse(), Qt::LeftButton);
  EXPECT_EQ(d.answer(), fits);
}

TEST(DriveSelect, DoneRefusesATooLongFolderButAcceptsTheDefaultOne) {
  ScriptedPrompter p;
  const std::string longPath = "/srv/" + std::string(60, 'z');
  {
    frmDriveSelect d(p, longPath, "/opt/zorvex/data");
    d.show();
    QTest::mouseClick(d.cmdDone(), Qt::LeftButton);
    EXPECT_TRUE(d.isVisible()) << "the dialog stays for another choice";
    EXPECT_EQ(p.asked.size(), 1u);
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_TRUE(d.isVisible()) << "closing is Done, refused the same way";
    EXPECT_EQ(p.asked.size(), 2u);
  }
  frmDriveSelect d(p, longPath, longPath);
  d.show();
  QTest::mouseClick(d.cmdDone(), Qt::LeftButton);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.answer(), longPath);
  EXPECT_EQ(p.asked.size(), 2u);
}

TEST(DriveSelect, AskRunsModallyAndReturnsTheAnswer) {
  DriveRig r;
  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<frmDriveSelect*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    QTest::keyClick(d, Qt::Key_Return);  // Done is the default button
  });
  EXPECT_EQ(frmDriveSelect::ask(r.prompter, r.inForce, r.def), r.inForce);
}
