#include "app/SystemState.h"
#include "app/qt/Activities.h"

namespace zv {

void runAddNewClient(SystemState& state, QWidget*) { state.prompter.tell(kNotAvailableYet); }

}  // namespace zv
