#include "app/SystemState.h"
#include "app/qt/Activities.h"
#include "intake/qt/frmClientInfo.h"
#include "intake/qt/frmCourtHistory.h"
#include "sheets/qt/frmNewEntry.h"

namespace zv {

void runEditCurrentClient(SystemState& state, QWidget* parent) {
  ClientTable& t = state.clients;
  if (t.CurrentRecord < 1 || t.CurrentRecord > t.RecordCount) return;
  t.EditMode = true;
  state.Accepted = false;
  {
    frmClientInfo info(state, parent);
    info.exec();
  }
  if (!state.Accepted) return;
  // The slot now matches the record on disk; court history changes reach the
  // disk only with the answers' SAVE, so a discarded grid takes them back.
  const int n = t.CurrentRecord;
  const ClientRecord onDisk = t.current();
  state.Accepted = false;
  {
    frmCourtHistory court(state, parent);
    court.exec();
  }
  if (!state.Accepted) return;
  frmNewEntry grid(state, parent);
  if (grid.ready()) grid.exec();
  if (!grid.saved()) {
    t.slot[static_cast<std::size_t>(n)] = onDisk;
    t.EditMode = false;
  }
}

}  // namespace zv
