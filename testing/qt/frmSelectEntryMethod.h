#pragma once
// The entry method screen of a new client: it asks how the answers will be
// entered and runs the chain of screens of the chosen method.
#include <QFrame>

#include "ui/qt/ScreenKit.h"

namespace zv {

struct SystemState;

class frmSelectEntryMethod : public Form {
  Q_OBJECT
 public:
  frmSelectEntryMethod(SystemState& state, QWidget* parent = nullptr);

  MenuChoices* menu() const { return menu_; }
  // Runs a row as Enter or a click on it does.
  void choose(int row);

 protected:
  void activate() override;
  void keyPressEvent(QKeyEvent* e) override;
  void reject() override;

 private:
  // Client information -> court history -> answer grid.
  void enterFromAnswerSheet();
  // Client information -> court history -> language -> the onscreen test ->
  // the access code, asked until it is right.
  void administerTest();
  // Client information and court history, both accepted.
  // The language of the test; empty when there is none to present or none was chosen.
  QString chooseLanguage();

  SystemState& state_;
  MenuChoices* menu_;
  QFrame* frBlank_;
};

}  // namespace zv
