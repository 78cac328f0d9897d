#include "app/SystemState.h"
#include "app/qt/Activities.h"
#include "testing/qt/frmSelectEntryMethod.h"
#include "ui/Prompter.h"

namespace zv {

void runAddNewClient(SystemState& state, QWidget* parent) {
  // The table has slots for 51 clients; a 52nd is refused before any screen opens.
  if (state.clients.full()) {
    state.prompter.tell(clientFileFullMessage(), kAppTitle, Icon::Exclamation);
    return;
  }
  state.clients.EditMode = false;
  state.ScannedAnswers = false;
  frmSelectEntryMethod method(state, parent);
  method.exec();
}

}  // namespace zv
