#pragma once

// How the process's allocator hands memory back to the system. Set once, first thing in main,
// and by every benchmark that measures the program's memory.
namespace MemoryPolicy {

void apply();

} // namespace MemoryPolicy
