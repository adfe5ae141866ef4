#pragma once

// What the desktop knows the program by: its name and version, its desktop entry and its
// window icon. Set once the application object exists, before the first window is made.
namespace ProgramIdentity {

void apply();

} // namespace ProgramIdentity
