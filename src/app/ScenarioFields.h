#pragma once

#include "plan/RecentMasks.h"

struct Form1Controls;

// A scenario as the main window's fields show it.
namespace ScenarioFields {

// The mask given, and every other setting as its field shows it now.
RenameSettings read(const Form1Controls& c, const QString& mask);
// Puts a scenario into the fields. Each change raises the field's own handler, in the order
// mask, counter, digits, lead zeros, letter case, search, replacement, Dir-It!, regular
// expression.
void show(const Form1Controls& c, const RenameSettings& scenario);

} // namespace ScenarioFields
