#include "testing/qt/frmSelectLanguage.h"

#include <QKeyEvent>
#include <algorithm>

#include "app/SystemState.h"
#include "testing/QuestionBank.h"
#include "testing/qt/MenuFrame.h"

namespace zv {
namespace {

constexpr int kLanguageRows = 3;
constexpr int kCancelRow = 3;

}  // namespace

frmSelectLanguage::frmSelectLanguage(SystemState& state, QWidget* parent)
    : Form("Select Presentation Language", parent), state_(state) {
  setObjectName("frmSelectLanguage");
  QVBoxLayout* layout = menuFrame(*this, "Select Language to Present");
  menu_ = new MenuChoices(this, msgPanel());
  for (int i = 0; i <= kCancelRow; ++i) {
    const bool cancel = i == kCancelRow;
    // Rows of languages the database lacks keep these captions and stay hidden.
    const QString text = cancel ? "Cancel Presentation" : QString("Language %1").arg(i + 1);
    addMenuRow(*this, menu_, layout, text, cancel ? "Cancel presentation" : "Present in " + text)->setVisible(cancel);
  }
  connect(menu_, &MenuChoices::chosen, this, &frmSelectLanguage::choose);
  frame()->adjustSize();
  resize(std::max(frame()->width() + twips(1440), twips(7200)),
         frame()->height() + twips(1000) + msgPanel()->sizeHint().height() + twips(1440));
}

int frmSelectLanguage::LanguageCount() {
  const Database db = state_.workspace.OpenDatabase(state_.questionDbPath());
  const std::vector<std::string> names = presentationLanguages(db);
  const int n = std::min(static_cast<int>(names.size()), kLanguageRows);
  for (int i = 0; i < n; ++i) {
    const QString name = QString::fromStdString(names[static_cast<std::size_t>(i)]);
    menu_->button(i)->setText(name);
    menu_->setHelp(i, "Present in " + name);
    menu_->panel(i)->setVisible(true);
  }
  frame()->adjustSize();
  relayout();
  return n;
}

void frmSelectLanguage::activate() {
  menu_->ResetMenuChoices(kCancelRow);
  menu_->button(0)->setFocus(Qt::TabFocusReason);
}

void frmSelectLanguage::choose(int row) {
  if (row == kCancelRow) {
    // The chain gives up the new client's slot.
    state_.Accepted = false;
    done(QDialog::Rejected);
    return;
  }
  language_ = menu_->button(row)->text();
  state_.Accepted = true;
  done(QDialog::Accepted);
}

void frmSelectLanguage::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) return;  // "Cancel Presentation" cancels
  Form::keyPressEvent(e);
}

void frmSelectLanguage::reject() { choose(kCancelRow); }

}  // namespace zv
