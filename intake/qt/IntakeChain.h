#pragma once
// The screens every way of registering or editing a client goes through:
// client information, then court history, then the answer grid, each opened
// only when the one before was accepted.
#include "intake/ClientInfoRules.h"
#include "intake/CourtHistoryRules.h"

class QWidget;

namespace zv {

struct SystemState;

// What a scanned sheet already says, shown on both screens for review.
struct IntakeValues {
  ClientInfoValues info;
  CourtValues court;
};

// Client information, then court history; true when both were accepted.
bool takeClientInformation(SystemState& state, QWidget* parent, const IntakeValues* read = nullptr);
// The answer grid on the current slot, when the question database lets it open.
void takeAnswersOnGrid(SystemState& state, QWidget* parent);

}  // namespace zv
