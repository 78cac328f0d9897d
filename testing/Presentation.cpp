#include "testing/Presentation.h"

#include "app/SystemState.h"
#include "records/ClientSlot.h"
#include "ui/ScreenRules.h"

namespace zv {

Presentation::Presentation(SystemState& state, WavePlayer& player, std::string language)
    : state_(state), player_(player), language_(std::move(language)),
      soundFolder_(zv::soundFolder(state.sndPath, language_)) {}

Presentation::~Presentation() { close(); }

void Presentation::load() {
  open_ = true;
  firstCall_ = true;
  soundOn_ = true;
  db_.emplace(state_.workspace.OpenDatabase(state_.questionDbPath()));
  rows_ = db_->SelectAll(language_);
  GetNextQuestion();
  answers_.fill(0);
  goingBack_ = false;
  instructionsVisible_ = true;
}

void Presentation::activate() {
  InitSectionEnds(state_.SectionEnd);
  soundOn_ = player_.setUp() < 1;
  instructionTexts_ = BuildInstructions(language_);
  general_ = true;
  TestInstructions(0);
  play(instructionSound(0));
  litAnswer_ = -1;
}

std::string Presentation::responses() const {
  std::string r;
  for (int n = 1; n <= kItemCount; ++n) r += static_cast<char>('0' + answers_[static_cast<std::size_t>(n)] % 10);
  return r;
}

Presentation::Control Presentation::takeFocusRequest() {
  const Control c = focusRequest_;
  focusRequest_ = Control::None;
  return c;
}

void Presentation::TestInstructions(int k) {
  instructionText_ = k >= 0 && k <= 3 ? instructionTexts_[static_cast<std::size_t>(k)] : std::string();
  instructionsVisible_ = true;
  focusRequest_ = Control::Instructions;
}

void Presentation::instructionsFocused() {
  message_ = texts().instructionHelp;
  litAnswer_ = -1;
}

void Presentation::instructionsKey() {
  if (closed() || !instructionsVisible_) return;
  instructionsVisible_ = false;
  questionsVisible_ = true;
  if (general_) {
    // The client reads a second instruction screen: the one of section 1.
    general_ = false;
    TestInstructions(1);
    play(instructionSound(1));
    return;
  }
  message_ = texts().questionHelp;
  focusRequest_ = Control::Question;
}

void Presentation::questionFocused() {
  if (closed()) return;
  if (instructionsVisible_) {
    focusRequest_ = Control::Instructions;
    return;
  }
  // Every way back to the question speaks it again.
  questionLit_ = true;
  message_ = texts().questionHelp;
  play(item_.questionSound);
}

void Presentation::answerFocused(int i) {
  if (closed() || i < 0 || i >= kMaxAnswers) return;
  litAnswer_ = i;
  message_ = soundOn_ ? texts().answerHelp : texts().answerHelpSilent;
  play(item_.choices[static_cast<std::size_t>(i)].sound);
}

void Presentation::answerLeft(int i) {
  if (litAnswer_ == i) litAnswer_ = -1;
}

int Presentation::answerAfter(int from, int step) const {
  for (int i = from + step; i >= 0 && i < kMaxAnswers; i += step)
    if (item_.choices[static_cast<std::size_t>(i)].shown) return i;
  return -1;
}

void Presentation::choose(int i) {
  if (closed() || instructionsVisible_ || i < 0 || i >= kMaxAnswers ||
      !item_.choices[static_cast<std::size_t>(i)].shown)
    return;
  const int n = item_.id;
  if (n >= 1 && n <= kItemCount) answers_[static_cast<std::size_t>(n)] = i + 1;
  lastChosen_ = i;
  litAnswer_ = -1;
  for (int k = 1; k <= 3; ++k) {
    if (n != state_.SectionEnd[static_cast<std::size_t>(k)]) continue;
    player_.stop();
    questionsVisible_ = false;
    message_.clear();
    notify();
    if (k < 3) {
      state_.prompter.tell(texts().sectionNotice, texts().noteTitle);
      questionsVisible_ = true;
    } else {
      state_.prompter.tell(texts().finalNotice, texts().noteTitle);
    }
  }
  GetNextQuestion();
  if (n < kItemCount && !closed()) focusRequest_ = Control::Question;
}

void Presentation::GetNextQuestion() {
  if (firstCall_) {
    counter_ = 1;
    firstCall_ = false;
  } else {
    ++counter_;
  }
  if (counter_ >= kItemCount + 1 && !goingBack_) {
    complete();
    return;
  }
  questionsVisible_ = true;
  if (counter_ >= 2) {
    rows_.MoveNext();
    counter_ = static_cast<int>(rows_.fieldInt("ID"));
  }
  if (!goingBack_) {
    const SectionEnds& ends = state_.SectionEnd;
    if (counter_ == ends[1] + 1) {
      TestInstructions(2);
      play(instructionSound(2));
    } else if (counter_ == ends[2] + 1) {
      TestInstructions(3);
      play(instructionSound(3));
    }
  }
  item_ = readItem(rows_);
}

void Presentation::complete() {
  instructionsVisible_ = false;
  notify();
  ClientSlot slot(state_.clients);
  if (slot.storeAnswers(state_.fs, state_.clientFile(), state_.prompter, responses())) {
    state_.Refresh = true;
    state_.Accepted = true;
    outcome_ = Outcome::Stored;
    close();
    return;
  }
  if (!slot.active()) {
    // The client file changed on disk and this client has no slot left.
    state_.Accepted = false;
    outcome_ = Outcome::Lost;
    close();
    return;
  }
  // The write was given up: the last item stays on screen with every answer,
  // so choosing an answer again tries the write again.
  counter_ = item_.id;
  questionsVisible_ = true;
  focusRequest_ = Control::Answer;
  focusAnswer_ = lastChosen_;
}

void Presentation::goBack() {
  if (closed() || instructionsVisible_ || rows_.IsBOF() || rows_.IsEOF()) return;
  if (rows_.fieldInt("ID") == 1) {
    state_.prompter.beep();
    return;
  }
  rows_.MovePrevious();
  if (rows_.IsBOF()) {
    rows_.MoveFirst();
    state_.prompter.beep();
    return;
  }
  rows_.MovePrevious();  // GetNextQuestion moves forward again, onto the previous item
  goingBack_ = true;
  GetNextQuestion();
  goingBack_ = false;
  focusRequest_ = Control::Question;
}

void Presentation::abandon() {
  if (closed()) return;
  state_.Accepted = false;
  outcome_ = Outcome::Abandoned;
  close();
}

void Presentation::close() {
  if (!open_) return;
  open_ = false;
  player_.stop();
  rows_.Close();
  if (db_) db_->Close();
  db_.reset();
}

void Presentation::play(const std::string& file) {
  if (!soundOn_ || file.empty()) return;
  const std::string path = soundFolder_ + file;
  bool present = false;
  try {
    present = state_.fs.exists(path);
  } catch (const ZvError&) {
    present = false;
  }
  if (!present) return;
  const SoundError e = player_.play(path);
  if (e.number == 0 || isQuietSoundError(e.number)) return;
  notify();
  state_.prompter.ask("Error " + std::to_string(e.number) + ": " + e.description, "Sound Error", Buttons::Ok,
                      Icon::Critical);
}

void Presentation::notify() {
  if (observer_) observer_();
}

}  // namespace zv
