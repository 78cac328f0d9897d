#include "records/ClientSlot.h"

#include "records/ClientFile.h"
#include "ui/Prompter.h"

namespace zv {

namespace {

bool refuseWhenFull(const ClientTable& t, Prompter& prompter) {
  if (!t.full()) return false;
  prompter.tell(clientFileFullMessage(), kAppTitle, Icon::Exclamation);
  return true;
}

}  // namespace

bool ClientSlot::beginNew(Prompter& prompter) {
  t_.EditMode = false;
  return !refuseWhenFull(t_, prompter);
}

bool ClientSlot::placeNew(const std::string& today, Prompter& prompter) {
  if (refuseWhenFull(t_, prompter)) return false;
  t_.EditMode = false;
  t_.CurrentRecord = static_cast<std::int16_t>(t_.RecordCount + 1);
  ClientRecord& r = t_.current();
  r.clear();
  r.setRaw(Field::Responses, std::string(kItemCount, '0'));
  r.setRaw(Field::NameDeleted, "0");
  r.setText(Field::DateTested, today);
  return true;
}

bool ClientSlot::beginEdit() {
  if (t_.CurrentRecord < 1 || t_.CurrentRecord > t_.RecordCount) return false;
  t_.EditMode = true;
  return true;
}

bool ClientSlot::storeInformation(FileSystem& fs, const std::string& clientFile, Prompter& prompter) {
  if (!t_.EditMode || t_.CurrentRecord < 1 || t_.CurrentRecord > t_.RecordCount) return false;
  const int n = t_.CurrentRecord;
  if (SaveClientRecordWithMessages(fs, clientFile, t_, n, prompter)) return true;
  if (t_.EditMode && t_.CurrentRecord == n) t_.current() = t_.stored[static_cast<std::size_t>(n)];
  return false;
}

bool ClientSlot::storeAnswers(FileSystem& fs, const std::string& clientFile, Prompter& prompter,
                              const std::string& responses) {
  const bool newClient = holdsNewClient();
  if (!newClient && !(t_.EditMode && t_.CurrentRecord >= 1 && t_.CurrentRecord <= t_.RecordCount)) return false;
  const int n = t_.CurrentRecord;
  ClientRecord& slot = t_.current();
  const std::string before = slot.raw(Field::Responses);
  slot.setRaw(Field::Responses, responses);
  const bool editing = t_.EditMode;
  if (!SaveClientRecordWithMessages(fs, clientFile, t_, n, prompter)) {
    // After a reload the slot may hold another client: only our own slot goes back.
    if (t_.CurrentRecord == n && t_.EditMode == editing && active()) t_.current().setRaw(Field::Responses, before);
    return false;
  }
  if (newClient) ++t_.RecordCount;
  t_.EditMode = false;
  return true;
}

void ClientSlot::abandon() {
  if (t_.EditMode) {
    if (t_.CurrentRecord >= 1 && t_.CurrentRecord <= t_.RecordCount)
      t_.current() = t_.stored[static_cast<std::size_t>(t_.CurrentRecord)];
  } else if (holdsNewClient()) {
    t_.current().clear();
    t_.CurrentRecord = static_cast<std::int16_t>(t_.RecordCount >= 1 ? 1 : 0);
  }
  t_.EditMode = false;
}

bool ClientSlot::active() const {
  return holdsNewClient() || (t_.EditMode && t_.CurrentRecord >= 1 && t_.CurrentRecord <= t_.RecordCount);
}

}  // namespace zv
