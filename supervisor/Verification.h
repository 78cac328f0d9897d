#pragma once
// Re-keying a client's answers: the first keying of all 162 items, then a
// correction keying of only the items where it differs from the stored
// answers. The result is stored in the client's record.
#include <string>
#include <vector>

namespace zv {

struct SystemState;

// The keying itself, without messages or files.
class VerifySession {
 public:
  enum class Step {
    Refused,             // the key is not an answer code of the item: beep
    Next,                // taken; the next listed item is due
    NoDifferences,       // first keying done and equal to the stored answers
    CorrectionsNeeded,   // first keying done; the differing items are listed now
    CorrectionsDone,     // correction keying done
  };

  // `storedResponses`: the record's response string; trailing blanks are removed.
  explicit VerifySession(const std::string& storedResponses);

  // Answer codes per item: "0" to "2" in section 1 (items 1-105), "0" to "4" after.
  static bool allowed(int item, char digit);

  Step digit(char c);
  // Steps back one listed item; false (beep) at the first one. Keyed answers stay.
  bool backspace();

  int position() const { return position_; }        // 1-based index into the item list
  int listLength() const { return listLength_; }
  int currentItem() const { return items_[static_cast<std::size_t>(position_)]; }
  // The item before the current one in the list; 0 when there is none.
  int previousItem() const { return position_ < 2 ? 0 : items_[static_cast<std::size_t>(position_ - 1)]; }
  bool correcting() const { return correcting_; }
  bool finished() const { return finished_; }
  const std::string& entered() const { return entered_; }
  const std::string& stored() const { return stored_; }
  // The listed items in order (only the differing ones while correcting).
  std::vector<int> items() const;

  // "Question #7" for the current and the previous listed item ("" without one).
  std::string currentLabel() const;
  std::string previousLabel() const;
  // The keyed answer of the previous listed item ("" without one).
  std::string previousAnswer() const;

 private:
  Step finishKeying();

  std::string entered_;
  std::string stored_;
  std::vector<int> items_;  // index 1..162 used
  int listLength_ = 162;
  int position_ = 1;
  bool correcting_ = false;
  bool finished_ = false;
};

inline constexpr const char* kVerifyStartMessage =
    "Enter response data from answer sheet. Press Backspace for previous question.";
inline constexpr const char* kVerifyNotStoredMessage =
    "The corrected answers were not stored.\rThe client's record is unchanged.";
inline constexpr const char* kVerifyCancelHelp = "Press Enter to Cancel Data Verification and return to Main Menu";

// The session on the current client with its messages and the record write.
class Verification {
 public:
  enum class After { Refused, Moved, Close };

  explicit Verification(SystemState& state);

  // A typed character: '\b' is Backspace, digits are answers, anything else
  // is refused with a beep. Close: the screen's work is done.
  After key(char c);
  const VerifySession& session() const { return session_; }

 private:
  After finish(VerifySession::Step step);

  SystemState& state_;
  VerifySession session_;
};

}  // namespace zv
