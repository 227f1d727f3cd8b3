#pragma once

namespace voltwise {

// Large buffers (a download body can reach several megabytes) get pages of
// their own, given back when freed. The C library otherwise raises its
// threshold after the first such buffer and places later ones in the main
// heap, which a program running all day keeps fragmented and resident.
void KeepLargeBuffersOffTheHeap();

} // namespace voltwise
