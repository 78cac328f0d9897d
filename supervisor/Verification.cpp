#include "supervisor/Verification.h"

#include <algorithm>

#include "app/SystemState.h"
#include "records/ClientFile.h"
#include "records/ClientRecord.h"
#include "ui/Prompter.h"

namespace zv {

VerifySession::VerifySession(const std::string& storedResponses)
    : entered_(static_cast<std::size_t>(kItemCount), '0'), stored_(trimRight(storedResponses)),
      items_(static_cast<std::size_t>(kItemCount) + 1, 0) {
  for (int i = 1; i <= kItemCount; ++i) items_[static_cast<std::size_t>(i)] = i;
}

bool VerifySession::allowed(int item, char digit) {
  if (digit < '0' || digit > '9') return false;
  if (item >= 1 && item <= 105) return digit <= '2';
  if (item >= 106 && item <= kItemCount) return digit <= '4';
  return false;
}

VerifySession::Step VerifySession::digit(char c) {
  if (finished_) return Step::Refused;
  const int item = currentItem();
  if (!allowed(item, c)) return Step::Refused;
  entered_[static_cast<std::size_t>(item - 1)] = c;
  ++position_;
  if (position_ > listLength_) return finishKeying();
  return Step::Next;
}

VerifySession::Step VerifySession::finishKeying() {
  if (correcting_) {
    finished_ = true;
    return Step::CorrectionsDone;
  }
  // A stored string shorter than the list counts every missing position as a difference.
  std::vector<int> differing;
  for (int p = 1; p <= listLength_; ++p) {
    const auto i = static_cast<std::size_t>(p - 1);
    if (i >= stored_.size() || stored_[i] != entered_[i]) differing.push_back(p);
  }
  if (differing.empty()) {
    position_ = listLength_;  // stays on a valid entry
    finished_ = true;
    return Step::NoDifferences;
  }
  std::fill(items_.begin(), items_.end(), 0);
  for (std::size_t k = 0; k < differing.size(); ++k) items_[k + 1] = differing[k];
  listLength_ = static_cast<int>(differing.size());
  position_ = 1;
  correcting_ = true;
  return Step::CorrectionsNeeded;
}

bool VerifySession::backspace() {
  if (finished_ || position_ < 2) return false;
  --position_;
  return true;
}

std::vector<int> VerifySession::items() const {
  return {items_.begin() + 1, items_.begin() + 1 + listLength_};
}

std::string VerifySession::currentLabel() const { return "Question #" + std::to_string(currentItem()); }

std::string VerifySession::previousLabel() const {
  return previousItem() == 0 ? std::string() : "Question #" + std::to_string(previousItem());
}

std::string VerifySession::previousAnswer() const {
  return previousItem() == 0 ? std::string() : std::string(1, entered_[static_cast<std::size_t>(previousItem() - 1)]);
}

Verification::Verification(SystemState& state)
    : state_(state), session_(state.clients.current().raw(Field::Responses)) {}

Verification::After Verification::key(char c) {
  if (c == '\b') {
    if (session_.backspace()) return After::Moved;
    state_.prompter.beep();
    return After::Refused;
  }
  const VerifySession::Step step = session_.digit(c);
  switch (step) {
    case VerifySession::Step::Refused:
      state_.prompter.beep();
      return After::Refused;
    case VerifySession::Step::Next:
      return After::Moved;
    default:
      return finish(step);
  }
}

Verification::After Verification::finish(VerifySession::Step step) {
  Prompter& p = state_.prompter;
  const int n = state_.clients.CurrentRecord;
  switch (step) {
    case VerifySession::Step::CorrectionsNeeded:
      p.ask("Data Correction needed. Please correct the following questions.", "Data Corrections", Buttons::Ok,
            Icon::None);
      return After::Moved;
    case VerifySession::Step::NoDifferences:
      p.ask("Data Verification complete. No corrections needed.", "Data Verification.", Buttons::Ok, Icon::None);
      // The record is written back unchanged.
      SaveClientRecordWithMessages(state_.fs, state_.clientFile(), state_.clients, n, p);
      return After::Close;
    case VerifySession::Step::CorrectionsDone: {
      ClientRecord& record = state_.clients.current();
      const std::string before = record.raw(Field::Responses);
      record.setRaw(Field::Responses, session_.entered());
      // Completion is announced only once the answers are on disk; when the
      // user gives up writing, the table goes back to what the file holds.
      if (SaveClientRecordWithMessages(state_.fs, state_.clientFile(), state_.clients, n, p)) {
        p.ask("Data Verification complete.", "Data Verification", Buttons::Ok, Icon::None);
      } else {
        record.setRaw(Field::Responses, before);
        p.ask(kVerifyNotStoredMessage, "Data Verification", Buttons::Ok, Icon::Exclamation);
      }
      return After::Close;
    }
    default:
      return After::Moved;
  }
}

}  // namespace zv
