#pragma once
// Re-keying the current client's answers: every item once, then only the
// items where the keying differs from the stored answers.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "supervisor/Verification.h"
#include "ui/qt/ScreenKit.h"

namespace zv {

struct SystemState;

class frmVerify : public Form {
  Q_OBJECT
 public:
  explicit frmVerify(SystemState& state, QWidget* parent = nullptr);

  QLineEdit* txtCurQuestion() const { return txtCur_; }
  QLineEdit* txtPrevQuestion() const { return txtPrev_; }
  QLabel* lblCurQuestion() const { return lblCur_; }
  QLabel* lblPrevQuestion() const { return lblPrev_; }
  QGroupBox* Frame1() const { return frame1_; }
  QPushButton* cmdCancel() const { return cancel_; }
  MsgPanel* pnlMessage() const { return msgPanel(); }
  const Verification& verification() const { return verification_; }

 protected:
  void activate() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void refreshLabels();
  void typed(char c);

  SystemState& state_;
  Verification verification_;
  QLineEdit* txtCur_;
  QLineEdit* txtPrev_;
  QLabel* lblCur_;
  QLabel* lblPrev_;
  QGroupBox* frame1_;
  QPushButton* cancel_;
};

}  // namespace zv
