#pragma once
// Buffers of many megabytes that are written once from start to end (the text of a large dump):
// asking the kernel for huge pages for them turns hundreds of thousands of page faults into a few
// hundred, which is most of the time such a buffer takes to fill.
#include <cstddef>

// Advises huge pages for the whole 2 MiB blocks inside [data, data + bytes); does nothing for
// buffers too small to hold one or where the kernel declines.
void AdviseLargeBuffer(void *data, std::size_t bytes);
