#include "platform/MemoryPolicy.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

void MemoryPolicy::apply()
{
#ifdef __GLIBC__
    // A check of a long list builds tables of megabytes for a moment. glibc raises its mmap
    // threshold to the largest block freed so far, after which such tables come from the heap
    // and leave holes there the size of the longest list ever checked. A fixed threshold hands
    // them back to the system as soon as they are freed.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
}
