#include "sheets/qt/frmScannerSelect.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "app/Settings.h"
#include "app/SystemState.h"

namespace zv {
namespace {

constexpr const char* kListHelp =
    "Use the up or down arrow keys to choose where answer sheets come from, then press Enter.";

QString entryText(const SaneDevice& d) {
  const QString label = QString::fromStdString(trimBlanks(d.vendor + " " + d.model));
  const QString name = QString::fromStdString(d.name);
  return label.isEmpty() ? name : label + " (" + name + ")";
}

}  // namespace

frmScannerSelect::frmScannerSelect(SystemState& state, const SaneDeviceList& found, QWidget* parent)
    : Form("Scanner", parent), state_(state) {
  setObjectName("frmScannerSelect");
  frame()->setObjectName("fraScanner");
  frame()->setFrameStyle(QFrame::Box | QFrame::Plain);
  auto* layout = new QVBoxLayout(frame());
  auto* caption = new QLabel("Scan answer sheets from", frame());
  caption->setObjectName("lblCaption");
  QFont bold = caption->font();
  bold.setBold(true);
  caption->setFont(bold);
  lbScanners_ = new QListWidget(frame());
  lbScanners_->setObjectName("lbScanners");
  lbScanners_->setSelectionMode(QAbstractItemView::SingleSelection);
  lbScanners_->installEventFilter(this);
  lblFound_ = new QLabel(frame());
  lblFound_->setObjectName("lblFound");
  lblCurrent_ = new QLabel(frame());
  lblCurrent_->setObjectName("lblCurrent");
  lblCurrent_->setTextFormat(Qt::PlainText);
  menu_ = new MenuChoices(this, msgPanel());
  layout->addWidget(caption);
  layout->addWidget(lbScanners_);
  layout->addWidget(lblFound_);
  layout->addWidget(lblCurrent_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(menu_->addRow("Use Selected", "Scan answer sheets from the selected entry from now on.", frame()));
  buttons->addWidget(menu_->addRow("Cancel", "Keep the choice in force and return to Main Menu.", frame()));
  layout->addLayout(buttons);
  connect(menu_, &MenuChoices::chosen, this, [this](int row) { row == 0 ? useSelected() : Form::reject(); });
  setTabOrder(lbScanners_, menu_->button(0));
  setTabOrder(menu_->button(0), menu_->button(1));

  // The choice in force stays listed even when its scanner is not found now.
  std::string current = Settings(state_.fs, state_.programDir).readScanDevice();
  if (isImageFileDevice(current)) current = kImageFileDevice;
  addEntry("First scanner found", "");
  bool currentListed = current.empty() || current == kImageFileDevice;
  for (const SaneDevice& d : found.devices) {
    addEntry(entryText(d), d.name);
    currentListed = currentListed || d.name == current;
  }
  addEntry("Image file", kImageFileDevice);
  if (!currentListed) addEntry(QString::fromStdString(current) + " (not found)", current);
  for (int i = 0; i < lbScanners_->count(); ++i) {
    QListWidgetItem* item = lbScanners_->item(i);
    if (deviceOf(item) != current) continue;
    lbScanners_->setCurrentItem(item);
    lblCurrent_->setText("In use: " + item->text());
  }
  const int n = static_cast<int>(found.devices.size());
  lblFound_->setText(found.error ? "SANE could not be started: only image files can be read."
                     : n == 0    ? "No scanner was found."
                     : n == 1    ? "1 scanner was found."
                                 : QString("%1 scanners were found.").arg(n));

  // Every entry whole as far as the display allows; a longer one loses its
  // middle and shows whole as a tip.
  const QFontMetrics fm(lbScanners_->font());
  int widest = fm.horizontalAdvance(lblFound_->text());
  for (int i = 0; i < lbScanners_->count(); ++i) widest = std::max(widest, fm.horizontalAdvance(lbScanners_->item(i)->text()));
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int room = std::min(std::max(widest, twips(4800)), screen ? screen->availableSize().width() * 7 / 10 : 1200);
  for (int i = 0; i < lbScanners_->count(); ++i) {
    QListWidgetItem* item = lbScanners_->item(i);
    if (fm.horizontalAdvance(item->text()) <= room) continue;
    item->setToolTip(item->text());
    item->setText(fm.elidedText(item->text(), Qt::ElideMiddle, room));
  }
  lbScanners_->setMinimumWidth(room + 40);
  lblCurrent_->setText(QFontMetrics(lblCurrent_->font()).elidedText(lblCurrent_->text(), Qt::ElideMiddle, room));
  lbScanners_->setFixedHeight(lbScanners_->sizeHintForRow(0) * std::clamp(lbScanners_->count(), 4, 10) +
                              2 * lbScanners_->frameWidth() + 4);
  frame()->adjustSize();
  resize(frame()->width() + twips(1440), frame()->height() + twips(1000) + msgPanel()->sizeHint().height() + twips(720));
}

void frmScannerSelect::addEntry(const QString& text, const std::string& device) {
  auto* item = new QListWidgetItem(text, lbScanners_);
  item->setData(Qt::UserRole, QString::fromStdString(device));
}

std::string frmScannerSelect::deviceOf(const QListWidgetItem* item) {
  return item ? item->data(Qt::UserRole).toString().toStdString() : std::string();
}

void frmScannerSelect::activate() {
  menu_->ResetMenuChoices(1);
  lbScanners_->setFocus(Qt::TabFocusReason);
}

bool frmScannerSelect::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lbScanners_) {
    if (event->type() == QEvent::FocusIn) msgPanel()->setText(kListHelp);
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        menu_->button(0)->setFocus(Qt::TabFocusReason);
        return true;
      }
    }
  }
  return Form::eventFilter(watched, event);
}

void frmScannerSelect::useSelected() {
  if (!lbScanners_->currentItem()) {
    state_.prompter.beep();
    lbScanners_->setFocus(Qt::TabFocusReason);
    return;
  }
  try {
    Settings(state_.fs, state_.programDir).writeScanDevice(deviceOf(lbScanners_->currentItem()));
  } catch (const ZvError& e) {
    state_.prompter.ask(e.description() + "  " + std::to_string(e.number()), kAppTitle, Buttons::Ok, Icon::None);
    return;
  }
  accept();
}

void runScannerSelect(SystemState& state, QWidget* parent) {
  MouseWait();
  const SaneDeviceList found = listSaneDevices();
  MouseDefault();
  frmScannerSelect screen(state, found, parent);
  screen.exec();
}

}  // namespace zv
