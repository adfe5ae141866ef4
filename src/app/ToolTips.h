#pragma once

struct Form1Controls;

namespace ToolTips {

// Sets the tooltips of the main window's controls, or clears every one of them.
void apply(const Form1Controls& controls, bool on);

} // namespace ToolTips
