#include "platform/heap_tuning.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace voltwise {

void KeepLargeBuffersOffTheHeap()
{
#if defined(M_MMAP_THRESHOLD)
    // The C library's own starting threshold, held fixed.
    constexpr int kOwnPagesFromBytes = 128 * 1024;
    mallopt(M_MMAP_THRESHOLD, kOwnPagesFromBytes);
#endif
}

} // namespace voltwise
