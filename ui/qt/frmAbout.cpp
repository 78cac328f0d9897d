#include "ui/qt/frmAbout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include "ui/qt/ScreenKit.h"

namespace zv {
namespace {

// The product logo: a gold Z on a navy shield-like tile, crossed by the beam
// of a balance. Drawn, not loaded, so it scales with the screen.
class Logo : public QWidget {
 public:
  explicit Logo(QWidget* parent) : QWidget(parent) { setObjectName("imgLogo"); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    QLinearGradient bg(r.topLeft(), r.bottomRight());
    bg.setColorAt(0, QColor(11, 42, 91));
    bg.setColorAt(1, QColor(31, 95, 168));
    p.setPen(QPen(QColor(8, 26, 56), 2));
    p.setBrush(bg);
    p.drawRoundedRect(r, r.height() * 0.12, r.height() * 0.12);

    // The beam of a balance behind the letter.
    const double w = r.width(), h = r.height();
    const QPointF c = r.center();
    p.setPen(QPen(QColor(170, 200, 235), h * 0.03, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(r.left() + w * 0.12, c.y()), QPointF(r.right() - w * 0.12, c.y()));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(r.left() + w * 0.06, c.y(), w * 0.14, h * 0.22), 180 * 16, 180 * 16);
    p.drawArc(QRectF(r.right() - w * 0.20, c.y(), w * 0.14, h * 0.22), 180 * 16, 180 * 16);

    // The Z: top bar, diagonal, bottom bar as one outline.
    const double zw = h * 0.62, zh = h * 0.66, t = h * 0.13;
    const double x0 = c.x() - zw / 2, y0 = c.y() - zh / 2;
    QPainterPath z;
    z.moveTo(x0, y0);
    z.lineTo(x0 + zw, y0);
    z.lineTo(x0 + zw, y0 + t);
    z.lineTo(x0 + t * 1.4, y0 + zh - t);
    z.lineTo(x0 + zw, y0 + zh - t);
    z.lineTo(x0 + zw, y0 + zh);
    z.lineTo(x0, y0 + zh);
    z.lineTo(x0, y0 + zh - t);
    z.lineTo(x0 + zw - t * 1.4, y0 + t);
    z.lineTo(x0, y0 + t);
    z.closeSubpath();
    QLinearGradient gold(QPointF(x0, y0), QPointF(x0, y0 + zh));
    gold.setColorAt(0, QColor(255, 222, 120));
    gold.setColorAt(1, QColor(214, 156, 40));
    p.setPen(QPen(QColor(120, 80, 10), 1.5));
    p.setBrush(gold);
    p.drawPath(z);
  }
};

void place(QWidget* w, int left, int top, int width, int height) {
  w->setGeometry(twips(left), twips(top), twips(width), twips(height));
}

}  // namespace

frmAbout::frmAbout(bool splash, Timing timing, QWidget* parent)
    : QDialog(parent), splash_(splash), timing_(timing), curtain_(kLogoHeightTwips) {
  setObjectName("frmAbout");
  setWindowTitle(splash_ ? "Initializing..." : "About ZV");
  setFixedSize(twips(6600), twips(2700));

  logo_ = new Logo(this);
  place(logo_, 300, 300, kLogoWidthTwips, kLogoHeightTwips);
  logo_->hide();  // the first tick shows it under the curtain
  const int boxWidth = kLogoWidthTwips / SplashCurtain::kBoxCount;
  for (int i = 0; i < SplashCurtain::kBoxCount; ++i) {
    auto* box = new QWidget(this);
    box->setObjectName(QString("Picture2_%1").arg(i));
    box->setAutoFillBackground(true);  // the form's own colour covers the logo
    box->setProperty("overlay", true);
    place(box, 300 + i * boxWidth, 300, boxWidth, kLogoHeightTwips);
    box->raise();
    boxes_[static_cast<std::size_t>(i)] = box;
  }

  pnl1_ = new QLabel("Zorvex v4.01", this);
  pnl1_->setObjectName("pnl1");
  pnl1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pnl1_->setAlignment(Qt::AlignCenter);
  QFont big = pnl1_->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.5);
  pnl1_->setFont(big);
  place(pnl1_, 3300, 300, 3000, 600);

  auto* line = new QLabel("Screening questionnaire for court defendants", this);
  line->setObjectName("lblProduct");
  line->setAlignment(Qt::AlignCenter);
  line->setWordWrap(true);
  place(line, 3300, 1000, 3000, 600);

  choices_ = new MenuChoices(this);
  cmdOK_ = choices_->add("OK", {}, this);
  cmdOK_->setObjectName("cmdOK");
  QFrame* panel = choices_->panel(0);
  panel->setObjectName("sspMenuChoice");
  place(panel, 4050, 1800, 1500, 600);
  cmdOK_->setGeometry(twips(90), twips(90), twips(1500 - 180), twips(600 - 180));
  connect(choices_, &MenuChoices::chosen, this, [this](int) { closeScreen(); });
  if (splash_) {
    panel->hide();
  } else {
    choices_->HighlightMenuChoice(0, 0);
    cmdOK_->setFocus();
  }

  connect(&timer_, &QTimer::timeout, this, &frmAbout::Timer1_Timer);
  timer_.start(intervalFor());
  CenterForm(this);
}

QFrame* frmAbout::sspMenuChoice() const { return choices_->panel(0); }

void frmAbout::Timer1_Timer() {
  curtain_.tick();
  syncBoxes();
  syncTimer();
}

void frmAbout::syncBoxes() {
  logo_->setVisible(curtain_.logoVisible());
  for (int i = 0; i < SplashCurtain::kBoxCount; ++i) {
    QWidget* box = boxes_[static_cast<std::size_t>(i)];
    box->setVisible(curtain_.boxesVisible());
    box->resize(box->width(), std::max(0, twips(curtain_.height(i))));
  }
}

void frmAbout::syncTimer() {
  if (!curtain_.timerEnabled()) timer_.stop();
}

void frmAbout::waitForFade() {
  while (!curtain_.FadeDone()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void frmAbout::closeScreen() {
  if (splash_ && !closing_) {
    curtain_.beginHold();
    for (int i = 0; i < SplashCurtain::kHoldCount; ++i) {
      curtain_.armHold();
      timer_.start(intervalFor());
      while (!curtain_.FadeDone()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
      ++holds_;
    }
  }
  timer_.stop();
  closing_ = true;
  accept();
}

void frmAbout::reject() {
  // The splash closes only when start-up closes it; Escape closes the about box.
  if (splash_ && !closing_) return;
  closeScreen();
}

void frmAbout::closeEvent(QCloseEvent* e) {
  if (splash_ && !closing_) {
    e->ignore();
    return;
  }
  timer_.stop();
  QDialog::closeEvent(e);
}

}  // namespace zv
