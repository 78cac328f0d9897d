#include "app/qt/frmDriveSelect.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QVBoxLayout>

#include "app/Settings.h"
#include "ui/Prompter.h"
#include "ui/qt/ScreenKit.h"

namespace zv {

std::string frmDriveSelect::helpText() {
  return "Use the dropdown box to select the drive that the floppy data \r\n"
         "diskette or USB Flash Drive is in. Floppy drives are usually A: or\r\n"
         "B: and USB drives are usually F: or G:";
}

std::string frmDriveSelect::tooLongMessage(const std::string& path) {
  return "The folder\r" + path + "\rhas a path longer than " + std::to_string(Settings::kMaxPathLength) +
         " characters, which the settings cannot remember.\rPlease choose a folder with a shorter path.";
}

frmDriveSelect::frmDriveSelect(Prompter& prompter, const std::string& inForce, const std::string& defaultLocation,
                               QWidget* parent)
    : QDialog(parent), prompter_(prompter), defaultLocation_(defaultLocation), answer_(inForce) {
  setObjectName("frmDriveSelect");
  setWindowTitle("Please Select A drive");
  setModal(true);
  chooser_ = [this](const QString& start) {
    return QFileDialog::getExistingDirectory(this, "Please Select A drive", start);
  };

  label1_ = new QLabel(" Choose the drive associated with the data disk. (Usually A: or F:)", this);
  label1_->setObjectName("Label1");
  label1_->setWordWrap(true);
  drDrive_ = new QComboBox(this);
  drDrive_->setObjectName("drDrive");
  drDrive_->setMinimumWidth(twips(4800));
  cmdBrowse_ = new QPushButton("Browse…", this);
  cmdBrowse_->setObjectName("cmdBrowse");
  cmdBrowse_->setAutoDefault(false);
  cmdDone_ = new QPushButton("Done", this);
  cmdDone_->setObjectName("cmdDone");
  cmdDone_->setDefault(true);
  cmdhelp_ = new QPushButton("Help", this);
  cmdhelp_->setObjectName("cmdhelp");
  cmdhelp_->setAutoDefault(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label1_);
  auto* row = new QHBoxLayout;
  row->addWidget(drDrive_, 1);
  row->addWidget(cmdBrowse_);
  layout->addLayout(row);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdDone_);
  buttons->addWidget(cmdhelp_);
  layout->addLayout(buttons);

  // The mounted volumes, then the folders in force and by default when they
  // are not a volume's root themselves.
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
    if (!v.isValid() || !v.isReady()) continue;
    const QString label = v.displayName() != v.rootPath() ? v.displayName() : QString();
    addEntry(v.rootPath(), label);
  }
  const QString current = QString::fromStdString(inForce);
  if (!defaultLocation.empty() && indexOf(QString::fromStdString(defaultLocation)) < 0)
    drDrive_->insertItem(0, QString::fromStdString(defaultLocation), QString::fromStdString(defaultLocation));
  if (!current.isEmpty() && indexOf(current) < 0) drDrive_->insertItem(0, current, current);
  drDrive_->setCurrentIndex(indexOf(current));

  connect(drDrive_, &QComboBox::currentIndexChanged, this, &frmDriveSelect::drDrive_Change);
  connect(cmdDone_, &QPushButton::clicked, this, &frmDriveSelect::cmdDone_Click);
  connect(cmdhelp_, &QPushButton::clicked, this, &frmDriveSelect::cmdhelp_Click);
  connect(cmdBrowse_, &QPushButton::clicked, this, &frmDriveSelect::cmdBrowse_Click);
  drDrive_->setFocus();
}

std::string frmDriveSelect::ask(Prompter& prompter, const std::string& inForce, const std::string& defaultLocation,
                                QWidget* parent) {
  frmDriveSelect dialog(prompter, inForce, defaultLocation, parent);
  CenterForm(&dialog);
  dialog.exec();
  return dialog.answer();
}

int frmDriveSelect::indexOf(const QString& path) const {
  for (int i = 0; i < drDrive_->count(); ++i)
    if (drDrive_->itemData(i).toString() == path) return i;
  return -1;
}

int frmDriveSelect::addEntry(const QString& path, const QString& label) {
  const int found = indexOf(path);
  if (found >= 0) return found;
  drDrive_->addItem(label.isEmpty() ? path : path + "   [" + label + "]", path);
  return drDrive_->count() - 1;
}

void frmDriveSelect::drDrive_Change(int index) {
  if (index >= 0) answer_ = drDrive_->itemData(index).toString().toStdString();
}

bool frmDriveSelect::refuseTooLong(const std::string& path) {
  if (path.size() <= Settings::kMaxPathLength || path == defaultLocation_) return false;
  prompter_.ask(tooLongMessage(path), kAppTitle, Buttons::Ok, Icon::Exclamation);
  return true;
}

void frmDriveSelect::cmdDone_Click() {
  if (refuseTooLong(answer_)) return;
  hide();
  setResult(QDialog::Accepted);
  QDialog::done(QDialog::Accepted);
}

void frmDriveSelect::cmdhelp_Click() { prompter_.ask(helpText(), kAppTitle, Buttons::Ok, Icon::None); }

void frmDriveSelect::cmdBrowse_Click() {
  const QString start = QString::fromStdString(answer_);
  const QString chosen = chooser_ ? chooser_(start) : QString();
  if (chosen.isEmpty()) return;
  const QString path = QDir::cleanPath(chosen);
  if (refuseTooLong(path.toStdString())) return;
  drDrive_->setCurrentIndex(addEntry(path, {}));
  drDrive_->setFocus();
}

}  // namespace zv
