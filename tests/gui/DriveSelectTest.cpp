#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QTest>
#include <QTimer>

#include "app/Settings.h"
#include "app/qt/frmDriveSelect.h"
#include "tests/gui/GuiSupport.h"

using namespace zv;

namespace {
struct DriveRig {
  zvtest::TempDir dir;
  ScriptedPrompter prompter;
  std::string inForce = dir.file("usb");
  std::string def = dir.file("data");
  frmDriveSelect d{prompter, inForce, def};
  std::string selected() const { return d.drDrive()->currentData().toString().toStdString(); }
  // Browse chooses `folder` ("" cancels the folder dialog).
  void browse(const std::string& folder) {
    d.setFolderChooser([folder](const QString&) { return QString::fromStdString(folder); });
    QTest::mouseClick(d.cmdBrowse(), Qt::LeftButton);
  }
};
}  // namespace

TEST(DriveSelect, TextsHelpAndDoneWithoutAChangeAnswersTheLocationInForce) {
  DriveRig r;
  EXPECT_EQ((QStringList{r.d.windowTitle(), r.d.Label1()->text(), r.d.cmdDone()->text(), r.d.cmdhelp()->text(),
                         r.d.cmdBrowse()->text()}),
            (QStringList{"Please Select A drive", " Choose the drive associated with the data disk. (Usually A: or F:)",
                         "Done", "Help", QString::fromUtf8("Browse…")}));
  QTest::mouseClick(r.d.cmdhelp(), Qt::LeftButton);
  EXPECT_EQ(r.prompter.asked, (zvtest::AskedList{{"Use the dropdown box to select the drive that the floppy data \r\n"
                                                  "diskette or USB Flash Drive is in. Floppy drives are usually A: or\r\n"
                                                  "B: and USB drives are usually F: or G:",
                                                  kAppTitle, Buttons::Ok, Icon::None}}));
  // Asked, it runs modally; Done is the default button.
  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<frmDriveSelect*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    QTest::keyClick(d, Qt::Key_Return);
  });
  EXPECT_EQ(frmDriveSelect::ask(r.prompter, r.inForce, r.def), r.inForce);
  EXPECT_EQ(r.prompter.asked.size(), 1u);
  EXPECT_EQ(r.selected(), r.inForce);
}

TEST(DriveSelect, MountedVolumesAndBrowsedFoldersThatFitTheSettingsAreListedAndEveryChangeIsRecorded) {
  DriveRig r;
  QString offered;
  r.d.setFolderChooser([&](const QString& start) {
    offered = start;
    return QString::fromStdString(r.dir.path()) + "/stick//clients/";
  });
  QTest::mouseClick(r.d.cmdBrowse(), Qt::LeftButton);
  EXPECT_EQ(offered.toStdString(), r.inForce) << "browsing starts at the selected folder";
  EXPECT_EQ(r.d.answer(), r.dir.file("stick/clients"));
  EXPECT_EQ(r.selected(), r.dir.file("stick/clients"));
  const int count = r.d.drDrive()->count();
  r.browse(r.dir.file("stick/clients"));
  EXPECT_EQ(r.d.drDrive()->count(), count) << "a folder is listed once";
  r.browse("");
  EXPECT_EQ(r.d.answer(), r.dir.file("stick/clients")) << "a cancelled folder dialog changes nothing";

  // A path too long for the settings is refused; exactly 49 characters still fit.
  const std::string longPath = "/media/" + std::string(Settings::kMaxPathLength, 'x');
  r.browse(longPath);
  EXPECT_EQ(zvtest::askedTexts(r.prompter), (zvtest::Texts{frmDriveSelect::tooLongMessage(longPath)}));
  EXPECT_NE(r.prompter.asked[0].text.find("49 characters"), std::string::npos);
  EXPECT_EQ(r.d.drDrive()->count(), count);
  EXPECT_EQ(r.d.answer(), r.dir.file("stick/clients"));
  const std::string fits = "/" + std::string(Settings::kMaxPathLength - 1, 'y');
  r.browse(fits);
  EXPECT_EQ(r.d.answer(), fits);

  // Mounted volumes are listed and every change is recorded.
  QComboBox* drives = r.d.drDrive();
  const QString root = QStorageInfo::root().rootPath();
  ASSERT_GE(drives->findData(root), 0) << "the root volume is offered";
  ASSERT_GE(drives->findData(QString::fromStdString(r.def)), 0) << "the default data folder is offered";
  drives->setCurrentIndex(drives->findData(root));
  EXPECT_EQ(r.d.answer(), root.toStdString());
  r.d.show();
  drives->setFocus();
  drives->setCurrentIndex(0);
  QTest::keyClick(drives, Qt::Key_Down);
  EXPECT_EQ(drives->currentIndex(), 1);
  EXPECT_EQ(r.d.answer(), drives->itemData(1).toString().toStdString());
  QTest::mouseClick(r.d.cmdDone(), Qt::LeftButton);
  EXPECT_EQ(zvtest::shownAndResult(r.d), zvtest::kClosedAccepted);
  EXPECT_EQ(r.d.answer(), drives->itemData(1).toString().toStdString());
}

TEST(DriveSelect, DoneRefusesATooLongFolderButAcceptsTheDefaultOne) {
  const std::string longPath = "/srv/" + std::string(60, 'z');
  for (const std::string& def : {std::string("/opt/zorvex/data"), longPath}) {
    const bool refused = def != longPath;
    ScriptedPrompter p;
    frmDriveSelect d(p, longPath, def);
    d.show();
    QTest::mouseClick(d.cmdDone(), Qt::LeftButton);
    EXPECT_EQ(p.asked.size(), refused ? 1u : 0u);
    QTest::keyClick(&d, Qt::Key_Escape);  // closing is Done, refused the same way
    EXPECT_EQ(d.isVisible(), refused) << "a refused folder leaves the dialog for another choice";
    EXPECT_EQ(p.asked.size(), refused ? 2u : 0u);
    EXPECT_EQ(d.answer(), longPath);
  }
}
