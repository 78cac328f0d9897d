#include "sheets/qt/frmScanProgress.h"

#include <QApplication>
#include <QVBoxLayout>
#include <thread>

#include "sheets/ScanFlow.h"

namespace zv {
namespace {

constexpr int kRefreshMs = 50;

}  // namespace

frmScanProgress::frmScanProgress(AcquireProgress& progress, QWidget* parent)
    : Form(kScanTitle, parent), progress_(progress) {
  setObjectName("frmScanProgress");
  frame()->setObjectName("frProgress");
  auto* layout = new QVBoxLayout(frame());
  lblScanning_ = new QLabel(QString::fromUtf8("Scanning answer sheet\u2026"), frame());
  lblScanning_->setObjectName("lblScanning");
  bar_ = new QProgressBar(frame());
  bar_->setObjectName("barProgress");
  bar_->setRange(0, 1000);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  bar_->setMinimumWidth(twips(4800));
  menu_ = new MenuChoices(this, msgPanel());
  layout->addWidget(lblScanning_);
  layout->addWidget(bar_);
  layout->addWidget(menu_->addRow("Cancel", "Stop scanning and return without a client.", frame()), 0, Qt::AlignHCenter);
  connect(menu_, &MenuChoices::chosen, this, [this] { reject(); });
  connect(&timer_, &QTimer::timeout, this, &frmScanProgress::showProgress);
  frame()->adjustSize();
  resize(frame()->width() + twips(1440), frame()->height() + twips(1000) + msgPanel()->sizeHint().height() + twips(360));
}

void frmScanProgress::activate() {
  menu_->ResetMenuChoices(0);
  menu_->button(0)->setFocus(Qt::TabFocusReason);
  timer_.start(kRefreshMs);
}

void frmScanProgress::showProgress() {
  const int permille = progress_.permille();
  if (permille < 0) {
    bar_->setRange(0, 0);  // length unknown: the bar moves to and fro
  } else {
    bar_->setRange(0, 1000);
    bar_->setValue(permille);
  }
}

void frmScanProgress::finish() {
  timer_.stop();
  done(QDialog::Accepted);
}

void frmScanProgress::reject() {
  if (progress_.cancelled()) return;
  progress_.cancel();
  lblScanning_->setText(QString::fromUtf8("Stopping the scanner\u2026"));
  menu_->button(0)->setEnabled(false);
}

Acquisition acquireWithProgress(PageSource& source, QWidget* parent) {
  AcquireProgress progress;
  frmScanProgress screen(progress, parent);
  Acquisition result;
  QApplication::setOverrideCursor(Qt::BusyCursor);
  std::thread worker([&] {
    result = source.acquire(progress);
    // Delivered on the screen thread, and dropped should the screen be gone.
    QMetaObject::invokeMethod(&screen, [&screen] { screen.finish(); }, Qt::QueuedConnection);
  });
  screen.exec();
  worker.join();
  QApplication::restoreOverrideCursor();
  // A page that arrived after Cancel was pressed is not used.
  if (progress.cancelled() && !result.error) result = {kScanCancelled, {}};
  return result;
}

}  // namespace zv
