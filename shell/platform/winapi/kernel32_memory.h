// Blocks the layer hands out (mapped views, local memory), with their sizes, so that the bitmap
// conversion can bound what it reads to the block a pointer lies in: SetDIBits is not given the
// length of its source by its signature. Internal to the layer.
#pragma once

#include <cstddef>

namespace layer {

void RegisterExtent(const void* base, size_t bytes);
// Forgets the block that starts at base and gives its size; false when base starts no block.
bool UnregisterExtent(const void* base, size_t* bytes);
// The number of bytes from p to the end of the registered block that holds p; false when p lies in
// no registered block (the caller then relies on the sizes it was told).
bool BytesAvailableFrom(const void* p, size_t* bytes);

}  // namespace layer
