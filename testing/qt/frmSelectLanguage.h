#pragma once
// The choice of the presentation language: one row per language table of
// the question database (at most three), and "Cancel Presentation".
#include <QString>

#include "ui/qt/ScreenKit.h"

namespace zv {

struct SystemState;

class frmSelectLanguage : public Form {
  Q_OBJECT
 public:
  frmSelectLanguage(SystemState& state, QWidget* parent = nullptr);

  // Shows one row per language table, in the database's order, and returns
  // how many there are. Throws ZvError when the database cannot be read.
  int LanguageCount();
  MenuChoices* menu() const { return menu_; }
  // The language chosen (the caption of the row that was chosen).
  const QString& language() const { return language_; }

 protected:
  void activate() override;
  void keyPressEvent(QKeyEvent* e) override;
  void reject() override;

 private:
  void choose(int row);

  SystemState& state_;
  MenuChoices* menu_;
  QString language_;
};

}  // namespace zv
