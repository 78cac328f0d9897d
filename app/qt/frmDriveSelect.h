#pragma once
// "Please Select A drive": the mounted volumes with the data location in
// force preselected, and Browse… for any other folder. The answer is the
// folder last selected; Done without a change keeps the one in force.
#include <QDialog>
#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;

namespace zv {

class Prompter;

class frmDriveSelect : public QDialog {
  Q_OBJECT
 public:
  // `defaultLocation` is the folder a missing FilePath yields; it is always
  // offered and always accepted, however long its path.
  frmDriveSelect(Prompter& prompter, const std::string& inForce, const std::string& defaultLocation,
                 QWidget* parent = nullptr);

  // Shows the dialog modally and returns its answer.
  static std::string ask(Prompter& prompter, const std::string& inForce, const std::string& defaultLocation,
                         QWidget* parent = nullptr);

  const std::string& answer() const { return answer_; }
  // Replaces the folder dialog of Browse… (tests).
  void setFolderChooser(std::function<QString(const QString& start)> chooser) { chooser_ = std::move(chooser); }

  QLabel* Label1() const { return label1_; }
  QComboBox* drDrive() const { return drDrive_; }
  QPushButton* cmdDone() const { return cmdDone_; }
  QPushButton* cmdhelp() const { return cmdhelp_; }
  QPushButton* cmdBrowse() const { return cmdBrowse_; }

  static std::string helpText();
  static std::string tooLongMessage(const std::string& path);

 public slots:
  void cmdDone_Click();
  void cmdhelp_Click();
  void cmdBrowse_Click();

 protected:
  // Closing the window counts as Done: the recorded folder is the answer.
  void reject() override { cmdDone_Click(); }

 private:
  void drDrive_Change(int index);
  bool refuseTooLong(const std::string& path);
  int indexOf(const QString& path) const;
  int addEntry(const QString& path, const QString& label);

  Prompter& prompter_;
  std::string defaultLocation_;
  std::string answer_;
  std::function<QString(const QString&)> chooser_;
  QLabel* label1_;
  QComboBox* drDrive_;
  QPushButton* cmdBrowse_;
  QPushButton* cmdDone_;
  QPushButton* cmdhelp_;
};

}  // namespace zv
