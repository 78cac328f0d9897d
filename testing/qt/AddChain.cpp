#include "app/SystemState.h"
#include "app/qt/Activities.h"
#include "records/ClientSlot.h"
#include "testing/qt/frmSelectEntryMethod.h"

namespace zv {

void runAddNewClient(SystemState& state, QWidget* parent) {
  // The table has slots for 51 clients; a 52nd is refused before any screen opens.
  if (!ClientSlot(state.clients).beginNew(state.prompter)) return;
  state.ScannedAnswers = false;
  frmSelectEntryMethod method(state, parent);
  method.exec();
  // However the chain ended, an unstored registration leaves no trace.
  ClientSlot(state.clients).abandon();
}

}  // namespace zv
