#include "testing/qt/frmPresentQA.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "app/DataLocation.h"
#include "app/SystemState.h"
#include "testing/qt/QtWavePlayer.h"
#include "ui/ScreenRules.h"

namespace zv {
namespace {

constexpr unsigned kWhite = 0xFFFFFF;  // &HFFFFFF
constexpr unsigned kBlack = 0x000000;
constexpr int kFrameWidthTwips = 10080;  // 7 inches

QFont scaledFont(const QFont& base, double factor, bool bold = false) {
  QFont f = base;
  f.setPointSizeF(base.pointSizeF() * factor);
  f.setBold(bold);
  return f;
}

void setColours(QWidget* w, QPalette::ColorRole role, unsigned back, QPalette::ColorRole textRole, unsigned fore) {
  const QColor b = vbColor(back), t = vbColor(fore);
  QPalette p = w->palette();
  if (p.color(role) == b && p.color(textRole) == t) return;
  p.setColor(role, b);
  p.setColor(textRole, t);
  w->setPalette(p);
}

void setBoldFace(QWidget* w, bool on) {
  if (w->font().bold() == on) return;
  QFont f = w->font();
  f.setBold(on);
  w->setFont(f);
}

void setPlain(QPlainTextEdit* e, const std::string& text) {
  QString t = QString::fromStdString(text);
  t.replace("\r\n", "\n");
  if (e->toPlainText() == t) return;
  e->setPlainText(t);
  e->moveCursor(QTextCursor::Start);  // the text cursor at the start, nothing selected
}

// A multi-line field the client reads and never edits.
QPlainTextEdit* readingField(QWidget* parent, const char* name, const QFont& font) {
  auto* e = new QPlainTextEdit(parent);
  e->setObjectName(name);
  e->setReadOnly(true);
  e->setTextInteractionFlags(Qt::NoTextInteraction);
  e->setFont(font);
  e->setFocusPolicy(Qt::StrongFocus);
  return e;
}

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

frmPresentQA::frmPresentQA(SystemState& state, const QString& language, QWidget* parent)
    : Form("Question Presentation", parent),
      state_(state),
      ownPlayer_(state.player ? nullptr : std::make_unique<QtWavePlayer>()),
      core_(state, state.player ? *state.player : *ownPlayer_, language.toStdString()) {
  setObjectName("frmPresentQA");
  build();
  core_.setObserver([this] { syncView(); });
  try {
    core_.load();
    ready_ = true;
  } catch (const ZvError& e) {
    core_.close();
    state_.prompter.ask(numberedErrorMessage(e), kAppTitle, Buttons::Ok, Icon::None);
  }
  sizeFrames();
  syncView();
}

frmPresentQA::~frmPresentQA() { core_.close(); }

void frmPresentQA::build() {
  frame()->setObjectName("frQandA");
  const QFont base = font();
  auto* qa = new QVBoxLayout(frame());
  qa->setContentsMargins(0, 0, 0, 0);

  fraQuestions_ = new QGroupBox("Question", frame());
  fraQuestions_->setObjectName("fraQuestions");
  txtQuestion_ = readingField(fraQuestions_, "txtQuestion", scaledFont(base, 1.5));
  txtQuestion_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Three lines of the large face hold the longest item.
  txtQuestion_->setFixedHeight(QFontMetrics(txtQuestion_->font()).lineSpacing() * 3 + 14);
  (new QVBoxLayout(fraQuestions_))->addWidget(txtQuestion_);
  qa->addWidget(fraQuestions_);

  fraAnswer_ = new QGroupBox("Choose Answer", frame());
  fraAnswer_->setObjectName("fraAnswer");
  auto* answers = new QVBoxLayout(fraAnswer_);
  const QFont answerFont = scaledFont(base, 1.3);
  for (int i = 0; i < kMaxAnswers; ++i) {
    Row& r = rows_[static_cast<std::size_t>(i)];
    r.panel = new QFrame(fraAnswer_);
    r.panel->setObjectName(QString("sspMenuChoice%1").arg(i));
    r.panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    r.panel->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(r.panel);
    row->setContentsMargins(4, 4, 4, 4);
    r.button = new QPushButton(QString::number(i + 1), r.panel);
    r.button->setObjectName(QString("cmdMenuChoice%1").arg(i));
    r.button->setAutoDefault(false);
    r.button->setFont(answerFont);
    r.button->setFixedWidth(twips(720));
    r.text = new QLineEdit(r.panel);
    r.text->setObjectName(QString("txtButtonText%1").arg(i));
    r.text->setReadOnly(true);
    r.text->setFocusPolicy(Qt::NoFocus);  // a click chooses; the focus stays with the keys
    r.text->setFont(answerFont);
    r.text->setCursor(Qt::PointingHandCursor);
    row->addWidget(r.button);
    row->addWidget(r.text, 1);
    answers->addWidget(r.panel);
    connect(r.button, &QPushButton::clicked, this, [this, i] { run([this, i] { core_.choose(i); }); });
    r.button->installEventFilter(this);
    r.text->installEventFilter(this);
  }
  qa->addWidget(fraAnswer_);
  qa->addStretch(1);

  fraInstructions_ = new QGroupBox("Instructions", this);
  fraInstructions_->setObjectName("fraInstructions");
  fraInstructions_->setProperty("overlay", true);  // covers the question area while it shows
  fraInstructions_->setAutoFillBackground(true);
  txtInstructions_ = readingField(fraInstructions_, "txtInstructions", scaledFont(base, 1.15));
  (new QVBoxLayout(fraInstructions_))->addWidget(txtInstructions_);
  fraInstructions_->raise();  // it covers the question area while shown

  setTabOrder(txtQuestion_, rows_[0].button);
  for (int i = 0; i + 1 < kMaxAnswers; ++i) setTabOrder(rows_[static_cast<std::size_t>(i)].button, rows_[static_cast<std::size_t>(i + 1)].button);
  txtQuestion_->installEventFilter(this);
  txtInstructions_->installEventFilter(this);
}

void frmPresentQA::sizeFrames() {
  // The help panel shows its longest line whole; the frames take the width it leaves.
  const PresentationTexts& t = core_.texts();
  int help = 0;
  for (const char* line : {t.questionHelp, t.answerHelp, t.answerHelpSilent, t.instructionHelp})
    help = std::max(help, msgPanel()->fontMetrics().horizontalAdvance(QString::fromUtf8(line)));
  help += 2 * (msgPanel()->margin() + msgPanel()->frameWidth()) + 8;
  const int width = std::max(twips(kFrameWidthTwips), help - twips(1440));
  frame()->setFixedWidth(width);
  frame()->adjustSize();
  // The instruction field shows the longest text of the language whole.
  const QFontMetrics fm(txtInstructions_->font());
  const int textWidth = width - 2 * fm.averageCharWidth() - 40;
  int textHeight = 0;
  for (const std::string& text : BuildInstructions(core_.language())) {
    QString shown = QString::fromStdString(text);
    shown.replace("\r\n", "\n");
    textHeight = std::max(textHeight, fm.boundingRect(QRect(0, 0, textWidth, 100000), Qt::TextWordWrap, shown).height());
  }
  const QSize size(width, std::max(frame()->height(), textHeight + 4 * fm.lineSpacing()));
  frame()->setFixedSize(size);
  fraInstructions_->setFixedSize(size);
  resize(width + twips(1440), size.height() + twips(1000) + msgPanel()->sizeHint().height() + twips(720));
}

void frmPresentQA::resizeEvent(QResizeEvent* e) {
  Form::resizeEvent(e);
  fraInstructions_->move(frame()->pos());
}

void frmPresentQA::activate() {
  fraInstructions_->move(frame()->pos());
  if (!ready_) return;
  run([this] { core_.activate(); });
  setWindowTitle(QString::fromUtf8(core_.texts().caption));
}

template <class F>
void frmPresentQA::run(F&& f) {
  try {
    f();
  } catch (const ZvError& e) {
    // The question rows are not checked: their faults surface as the database's errors.
    syncView();
    state_.prompter.ask(numberedErrorMessage(e), kAppTitle, Buttons::Ok, Icon::None);
  }
  refresh();
}

void frmPresentQA::refresh() {
  syncView();
  if (!moving_) {
    moving_ = true;
    for (int guard = 0; guard < 8; ++guard) {
      const Presentation::Control c = core_.takeFocusRequest();
      if (c == Presentation::Control::None) break;
      moveFocus(c);
      syncView();
    }
    moving_ = false;
  }
  if (core_.closed() && isVisible()) done(core_.outcome() == Presentation::Outcome::Stored ? Accepted : Rejected);
}

void frmPresentQA::moveFocus(Presentation::Control c) {
  QWidget* target = nullptr;
  switch (c) {
    case Presentation::Control::Instructions: target = txtInstructions_; break;
    case Presentation::Control::Question: target = txtQuestion_; break;
    case Presentation::Control::Answer: target = cmdMenuChoice(std::clamp(core_.focusAnswer(), 0, kMaxAnswers - 1)); break;
    case Presentation::Control::None: return;
  }
  // A control that has the focus already gets no focus event, and neither
  // does any control while the window is not active (a message box has just
  // closed); the rules run all the same.
  focusSeen_ = false;
  if (!target->hasFocus()) target->setFocus(Qt::OtherFocusReason);
  if (!focusSeen_) focusChanged(target, true);
}

void frmPresentQA::syncView() {
  syncing_ = true;
  const Presentation& p = core_;
  // The question frame goes first, so that a hidden answer row hands the focus to no question.
  fraQuestions_->setVisible(p.questionsVisible());
  fraAnswer_->setVisible(p.questionsVisible());
  if (p.instructionsVisible()) setPlain(txtInstructions_, p.instructions());
  fraInstructions_->setVisible(p.instructionsVisible());
  setPlain(txtQuestion_, p.item().question);
  if (p.questionLit()) setColours(txtQuestion_, QPalette::Base, kPanelHighlight, QPalette::Text, kBlack);
  else setColours(txtQuestion_, QPalette::Base, kPanelNormal, QPalette::Text, kWhite);
  for (int i = 0; i < kMaxAnswers; ++i) {
    const Row& r = rows_[static_cast<std::size_t>(i)];
    const Choice& c = p.item().choices[static_cast<std::size_t>(i)];
    r.panel->setVisible(c.shown);
    const QString text = QString::fromStdString(c.text);
    if (r.text->text() != text) r.text->setText(text);
    const bool lit = p.litAnswer() == i;
    setColours(r.panel, QPalette::Window, lit ? kPanelHighlight : kPanelNormal, QPalette::WindowText, kBlack);
    setBoldFace(r.text, lit);
  }
  const QString message = QString::fromStdString(p.message());
  if (msgPanel()->text() != message) msgPanel()->setText(message);
  syncing_ = false;
}

int frmPresentQA::rowOf(QObject* o) const {
  for (int i = 0; i < kMaxAnswers; ++i)
    if (rows_[static_cast<std::size_t>(i)].button == o || rows_[static_cast<std::size_t>(i)].text == o) return i;
  return -1;
}

void frmPresentQA::focusChanged(QObject* w, bool in) {
  const int row = rowOf(w);
  run([&] {
    if (w == txtInstructions_) {
      if (in) core_.instructionsFocused();
    } else if (w == txtQuestion_) {
      in ? core_.questionFocused() : core_.questionLeft();
    } else if (row >= 0) {
      in ? core_.answerFocused(row) : core_.answerLeft(row);
    }
  });
}

bool frmPresentQA::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
      // A message box coming and going moves no focus of this screen, and
      // neither does showing or hiding its frames.
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (syncing_ || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) break;
      if (event->type() == QEvent::FocusIn) focusSeen_ = true;
      focusChanged(watched, event->type() == QEvent::FocusIn);
      break;
    }
    case QEvent::KeyPress: {
      auto* k = static_cast<QKeyEvent*>(event);
      if (previewKey(watched, k)) return true;
      return controlKey(watched, k);
    }
    case QEvent::KeyRelease:
      // Space presses an answer button; no other key reaches the controls.
      return !(rowOf(watched) >= 0 && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space);
    case QEvent::MouseButtonPress:
      if (const int row = rowOf(watched); row >= 0 && watched == txtButtonText(row)) {
        run([this, row] { core_.choose(row); });
        return true;
      }
      break;
    default:
      break;
  }
  return Form::eventFilter(watched, event);
}

// The screen sees every key before its controls do.
bool frmPresentQA::previewKey(QObject* watched, QKeyEvent* k) {
  const auto altShift = Qt::AltModifier | Qt::ShiftModifier;
  if (k->key() == Qt::Key_F10 && (k->modifiers() & altShift) == altShift) {
    run([this] { core_.abandon(); });
    return true;
  }
  if (k->key() == Qt::Key_F10) {
    if (!core_.instructionsVisible()) run([this] { core_.goBack(); });
    return true;
  }
  if (k->key() == Qt::Key_Up && watched == cmdMenuChoice(0)) {
    txtQuestion_->setFocus(Qt::BacktabFocusReason);
    return true;
  }
  return false;
}

bool frmPresentQA::controlKey(QObject* watched, QKeyEvent* k) {
  const int key = k->key();
  if (watched == txtInstructions_) {
    if (isEnter(key) || key == Qt::Key_Tab) run([this] { core_.instructionsKey(); });
    return true;  // every other key does nothing
  }
  if (watched == txtQuestion_) {
    if (key == Qt::Key_Down || key == Qt::Key_Tab) cmdMenuChoice(std::max(0, core_.answerAfter(-1, 1)))->setFocus(Qt::TabFocusReason);
    return true;  // every key pressed in the field is discarded
  }
  const int row = rowOf(watched);
  if (row < 0) return false;
  int step = 0;
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      run([this, row] { core_.choose(row); });
      return true;
    case Qt::Key_Space:
      return false;  // the button presses itself and chooses on release
    case Qt::Key_Tab:
      txtQuestion_->setFocus(Qt::TabFocusReason);  // Tab repeats the question
      return true;
    case Qt::Key_Up:
    case Qt::Key_Left:
    case Qt::Key_Backtab:
      step = -1;
      break;
    case Qt::Key_Down:
    case Qt::Key_Right:
      step = 1;
      break;
    default:
      return true;  // every other key is discarded
  }
  // Moving on past the first or last answer leads back to the question.
  const int next = core_.answerAfter(row, step);
  if (next < 0) txtQuestion_->setFocus(Qt::TabFocusReason);
  else cmdMenuChoice(next)->setFocus(Qt::TabFocusReason);
  return true;
}

void frmPresentQA::closeEvent(QCloseEvent* e) {
  // Only storing the answers or Alt+Shift+F10 closes the test.
  if (ready_ && !core_.closed()) e->ignore();
  else Form::closeEvent(e);
}

void frmPresentQA::reject() {
  if (!ready_ || core_.closed()) Form::reject();
}

}  // namespace zv
