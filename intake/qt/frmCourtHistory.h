#pragma once
// The court history screen: the fourteen court-history values of the current
// client. The rules live in intake/CourtHistoryRules.h.
#include <QLabel>
#include <QLineEdit>
#include <array>

#include "intake/CourtHistoryRules.h"
#include "ui/qt/ScreenKit.h"

namespace zv {

struct SystemState;

class frmCourtHistory : public Form {
  Q_OBJECT
 public:
  frmCourtHistory(SystemState& state, QWidget* parent = nullptr);

  QLineEdit* field(int i) const { return fields_.at(static_cast<std::size_t>(i)); }
  QLabel* label(int i) const { return labels_.at(static_cast<std::size_t>(i)); }
  QLabel* clientName() const { return lblClientName_; }
  MenuChoices* menu() const { return menu_; }

  CourtValues values() const;
  // Fills the fields (the scanning path pre-fills them this way).
  void setValues(const CourtValues& v);

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
  // The Enter rule of a field; true when the value was accepted.
  bool enterRule(int i);

  SystemState& state_;
  std::array<QLineEdit*, kCourtFieldCount> fields_{};
  std::array<QLabel*, kCourtFieldCount> labels_{};
  QLabel* lblClientName_;
  MenuChoices* menu_;
};

}  // namespace zv
