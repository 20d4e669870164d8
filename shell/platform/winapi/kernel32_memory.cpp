// kernel32 memory: local memory (malloc) and the module handle, and the extents of the blocks the
// layer hands out. Not implemented: movable local memory.
#include "shell/platform/winapi/kernel32_memory.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <mutex>

#include "shell/platform/winapi/kernel32.h"

namespace layer {
namespace {

// Block start address to size. Blocks come and go from any thread that loads a picture.
struct ExtentMap {
    std::mutex lock;
    std::map<uintptr_t, size_t> blocks;
};

ExtentMap extents;

}  // namespace

void RegisterExtent(const void* base, size_t bytes)
{
    std::lock_guard<std::mutex> guard(extents.lock);
    extents.blocks[reinterpret_cast<uintptr_t>(base)] = bytes;
}

bool UnregisterExtent(const void* base, size_t* bytes)
{
    std::lock_guard<std::mutex> guard(extents.lock);
    auto found = extents.blocks.find(reinterpret_cast<uintptr_t>(base));
    if (found == extents.blocks.end()) return false;
    *bytes = found->second;
    extents.blocks.erase(found);
    return true;
}

bool BytesAvailableFrom(const void* p, size_t* bytes)
{
    std::lock_guard<std::mutex> guard(extents.lock);
    const uintptr_t address = reinterpret_cast<uintptr_t>(p);
    auto after = extents.blocks.upper_bound(address);
    if (after == extents.blocks.begin()) return false;
    auto block = std::prev(after);
    if (address - block->first >= block->second) return false;
    *bytes = block->second - (address - block->first);
    return true;
}

}  // namespace layer

HMODULE GetModuleHandleA(LPCSTR moduleName)
{
    // One module, the program itself; its handle only needs to be non-null and stable.
    static char programModule;
    return moduleName ? nullptr : reinterpret_cast<HMODULE>(&programModule);
}

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes)
{
    if ((flags & ~LMEM_ZEROINIT) != 0) {
        std::fprintf(stderr, "LocalAlloc: only fixed memory is supported\n");
        return nullptr;
    }
    size_t size = bytes ? bytes : 1;
    void* memory = (flags & LMEM_ZEROINIT) ? std::calloc(1, size) : std::malloc(size);
    if (memory) layer::RegisterExtent(memory, bytes);
    return memory;
}

HLOCAL LocalFree(HLOCAL memory)
{
    if (!memory) return nullptr;
    size_t bytes = 0;
    // A block this layer did not hand out is left alone, and the call fails as on Windows.
    if (!layer::UnregisterExtent(memory, &bytes)) return memory;
    std::free(memory);
    return nullptr;
}
