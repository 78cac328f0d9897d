#include "app/SystemState.h"
#include "app/qt/Activities.h"
#include "intake/qt/frmClientInfo.h"
#include "intake/qt/frmCourtHistory.h"
#include "records/ClientSlot.h"
#include "sheets/qt/frmNewEntry.h"

namespace zv {

namespace {

// Client information (written at once when changed), court history (held in
// the slot) and the answers, each gated on the one before.
void editChain(SystemState& state, QWidget* parent) {
  state.Accepted = false;
  {
    frmClientInfo info(state, parent);
    info.exec();
  }
  if (!state.Accepted) return;
  state.Accepted = false;
  {
    frmCourtHistory court(state, parent);
    court.exec();
  }
  if (!state.Accepted) return;
  frmNewEntry grid(state, parent);
  if (grid.ready()) grid.exec();
}

}  // namespace

void runEditCurrentClient(SystemState& state, QWidget* parent) {
  ClientSlot slot(state.clients);
  if (!slot.beginEdit()) return;
  editChain(state, parent);
  // Court history changes reach the disk only with the answers' SAVE, so a
  // chain given up after client information takes them back.
  slot.abandon();
}

}  // namespace zv
