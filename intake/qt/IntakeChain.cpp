#include "intake/qt/IntakeChain.h"

#include "app/SystemState.h"
#include "app/qt/Activities.h"
#include "intake/qt/frmClientInfo.h"
#include "intake/qt/frmCourtHistory.h"
#include "records/ClientSlot.h"
#include "sheets/qt/frmNewEntry.h"

namespace zv {

bool takeClientInformation(SystemState& state, QWidget* parent, const IntakeValues* read) {
  state.Accepted = false;
  {
    frmClientInfo info(state, parent);
    if (read) info.setValues(read->info);
    info.exec();
  }
  if (!state.Accepted) return false;
  state.Accepted = false;
  frmCourtHistory court(state, parent);
  if (read) court.setValues(read->court);
  court.exec();
  return state.Accepted;
}

void takeAnswersOnGrid(SystemState& state, QWidget* parent) {
  frmNewEntry grid(state, parent);
  if (grid.ready()) grid.exec();
}

void runEditCurrentClient(SystemState& state, QWidget* parent) {
  ClientSlot slot(state.clients);
  if (!slot.beginEdit()) return;
  // Client information is written at once when changed; the court history
  // is held in the slot and reaches the disk only with the answers' SAVE,
  // so a chain given up after client information takes it back.
  if (takeClientInformation(state, parent)) takeAnswersOnGrid(state, parent);
  slot.abandon();
}

}  // namespace zv
