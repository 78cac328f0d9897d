#pragma once
// The client information screen: registers a new client or edits the
// current one. The rules live in intake/ClientInfoRules.h; this screen holds
// the controls, the keys and the focus.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <array>

#include "intake/ClientInfoRules.h"
#include "ui/qt/ScreenKit.h"

namespace zv {

struct SystemState;

class frmClientInfo : public Form {
  Q_OBJECT
 public:
  frmClientInfo(SystemState& state, QWidget* parent = nullptr);

  QWidget* field(InfoField f) const { return fields_[static_cast<std::size_t>(indexOf(f))]; }
  QLineEdit* textField(InfoField f) const { return qobject_cast<QLineEdit*>(field(f)); }
  QComboBox* listField(InfoField f) const { return qobject_cast<QComboBox*>(field(f)); }
  QLabel* label(InfoField f) const { return labels_[static_cast<std::size_t>(indexOf(f))]; }
  MenuChoices* menu() const { return menu_; }

  // The values on screen; a list text matching no choice reads as empty.
  ClientInfoValues values() const;
  // Fills the fields (the scanning path pre-fills a new client this way).
  void setValues(const ClientInfoValues& v);
  int editCount() const { return counter_.count(); }
  bool fieldsEnabled() const { return fieldsEnabled_; }

  // "Information OK" and "Cancel Input".
  void acceptInformation();
  void cancelInput();

 protected:
  void activate() override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* e) override;
  void reject() override;

 private:
  int fieldIndex(QObject* o) const;
  QString fieldText(InfoField f) const;
  int listPosition(InfoField f) const;
  void leaveField(InfoField f);
  void focusNext(InfoField f);
  void showError(InfoField f);
  void fieldLostFocus(InfoField f);
  void limitReached();
  void setFieldsEnabled(bool on);
  void listEdited(InfoField f, const QString& text);
  void dateEdited(const QString& text);
  void setDateText(const QString& text);
  void updateAcceptHelp();
  bool typedKey(InfoField f, QKeyEvent* k);

  SystemState& state_;
  std::array<QWidget*, kInfoFieldCount> fields_{};
  std::array<QLabel*, kInfoFieldCount> labels_{};
  MenuChoices* menu_;
  EditCounter counter_;
  int openedEditCount_ = 0;
  int nameDeleted_ = 0;
  bool openedLocked_ = false;
  bool fieldsEnabled_ = true;
  QString dateShown_;
};

}  // namespace zv
