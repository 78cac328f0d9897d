#pragma once
// The main menu's activities. Each runs its chain of modal screens and
// returns when they have closed; the main menu sets its flags around them.
class QWidget;

namespace zv {

struct SystemState;

// Client information -> court history -> answer grid, each gated on the accepted flag.
void runEditCurrentClient(SystemState& state, QWidget* parent);
// The entry-method screen, which leads through the chain of the chosen method.
void runAddNewClient(SystemState& state, QWidget* parent);
// The supervisor options screen.
void runSupervisorOptions(SystemState& state, QWidget* parent);

}  // namespace zv
