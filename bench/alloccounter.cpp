#include "bench/alloccounter.h"

#include <execinfo.h>
#include <link.h>
#include <pthread.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* block);
}

namespace {

struct Module {
    uintptr_t begin = 0;
    uintptr_t end = 0;
    const char* name = "";
    bool runtime = false;  // the C or C++ runtime, which allocates on its caller's behalf
    long count = 0;
};

constexpr int kMaxModules = 256;
constexpr int kMaxFrames = 48;

Module gModules[kMaxModules];
int gModuleCount = 0;
std::atomic<bool> gCounting{false};
pthread_t gCountedThread;
long gOwn = 0;
long gUnplaced = 0;
std::atomic<long> gOtherThreads{0};
thread_local bool tInHook = false;
thread_local const char* tLinkedLibrary = nullptr;
// Allocations made by the program's code while a linked library's scope is open: that library's.
Module gLinked;

bool IsRuntime(const char* name)
{
    const char* runtimes[] = {"/libc.so", "/libstdc++.so", "/libgcc_s.so", "/libm.so", "/ld-linux"};
    for (const char* runtime : runtimes) {
        if (std::strstr(name, runtime)) return true;
    }
    return false;
}

int AddModule(dl_phdr_info* info, size_t, void*)
{
    if (gModuleCount == kMaxModules) return 1;
    Module& module = gModules[gModuleCount];
    module = Module{};
    module.begin = UINTPTR_MAX;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& header = info->dlpi_phdr[i];
        if (header.p_type != PT_LOAD) continue;
        uintptr_t start = info->dlpi_addr + header.p_vaddr;
        if (start < module.begin) module.begin = start;
        if (start + header.p_memsz > module.end) module.end = start + header.p_memsz;
    }
    module.name = info->dlpi_name ? info->dlpi_name : "";
    module.runtime = IsRuntime(module.name);
    if (module.begin < module.end) ++gModuleCount;
    return 0;
}

Module* ModuleOf(uintptr_t address)
{
    for (int i = 0; i < gModuleCount; ++i) {
        if (address >= gModules[i].begin && address < gModules[i].end) return &gModules[i];
    }
    return nullptr;
}

// The program itself is the first module listed, with an empty name.
bool IsOwn(const Module* module)
{
    return module == &gModules[0];
}

void Charge(void* caller)
{
    void* frames[kMaxFrames];
    int depth = backtrace(frames, kMaxFrames);
    int first = 0;
    while (first < depth && frames[first] != caller) ++first;
    if (first == depth) {
        frames[0] = caller;
        first = 0;
        depth = 1;
    }
    for (int i = first; i < depth; ++i) {
        Module* module = ModuleOf(reinterpret_cast<uintptr_t>(frames[i]));
        if (!module) continue;
        if (module->runtime) continue;
        if (IsOwn(module) && tLinkedLibrary) {
            gLinked.name = tLinkedLibrary;
            ++gLinked.count;
        } else if (IsOwn(module)) {
            ++gOwn;
        } else {
            ++module->count;
        }
        return;
    }
    ++gUnplaced;
}

__attribute__((noinline)) void Count(void* caller)
{
    if (!gCounting.load(std::memory_order_relaxed) || tInHook) return;
    if (!pthread_equal(pthread_self(), gCountedThread)) {
        gOtherThreads.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    tInHook = true;
    Charge(caller);
    tInHook = false;
}

void* NewBlock(size_t size, void* caller)
{
    Count(caller);
    void* block = __libc_malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    return block;
}

void* NewAlignedBlock(size_t size, std::align_val_t alignment, void* caller)
{
    Count(caller);
    void* block = __libc_memalign(static_cast<size_t>(alignment), size ? size : 1);
    if (!block) throw std::bad_alloc();
    return block;
}

}  // namespace

extern "C" {

__attribute__((noinline)) void* malloc(size_t size)
{
    Count(__builtin_return_address(0));
    return __libc_malloc(size);
}

__attribute__((noinline)) void* calloc(size_t count, size_t size)
{
    Count(__builtin_return_address(0));
    return __libc_calloc(count, size);
}

__attribute__((noinline)) void* realloc(void* block, size_t size)
{
    if (size != 0) Count(__builtin_return_address(0));
    return __libc_realloc(block, size);
}

__attribute__((noinline)) void* memalign(size_t alignment, size_t size)
{
    Count(__builtin_return_address(0));
    return __libc_memalign(alignment, size);
}

__attribute__((noinline)) void* aligned_alloc(size_t alignment, size_t size)
{
    Count(__builtin_return_address(0));
    return __libc_memalign(alignment, size);
}

__attribute__((noinline)) int posix_memalign(void** out, size_t alignment, size_t size)
{
    Count(__builtin_return_address(0));
    void* block = __libc_memalign(alignment, size);
    if (!block) return 12;  // ENOMEM
    *out = block;
    return 0;
}

void free(void* block)
{
    __libc_free(block);
}

}  // extern "C"

__attribute__((noinline)) void* operator new(size_t size)
{
    return NewBlock(size, __builtin_return_address(0));
}

__attribute__((noinline)) void* operator new[](size_t size)
{
    return NewBlock(size, __builtin_return_address(0));
}

__attribute__((noinline)) void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    Count(__builtin_return_address(0));
    return __libc_malloc(size ? size : 1);
}

__attribute__((noinline)) void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    Count(__builtin_return_address(0));
    return __libc_malloc(size ? size : 1);
}

__attribute__((noinline)) void* operator new(size_t size, std::align_val_t alignment)
{
    return NewAlignedBlock(size, alignment, __builtin_return_address(0));
}

__attribute__((noinline)) void* operator new[](size_t size, std::align_val_t alignment)
{
    return NewAlignedBlock(size, alignment, __builtin_return_address(0));
}

void operator delete(void* block) noexcept
{
    __libc_free(block);
}
void operator delete[](void* block) noexcept
{
    __libc_free(block);
}
void operator delete(void* block, size_t) noexcept
{
    __libc_free(block);
}
void operator delete[](void* block, size_t) noexcept
{
    __libc_free(block);
}
void operator delete(void* block, std::align_val_t) noexcept
{
    __libc_free(block);
}
void operator delete[](void* block, std::align_val_t) noexcept
{
    __libc_free(block);
}
void operator delete(void* block, size_t, std::align_val_t) noexcept
{
    __libc_free(block);
}
void operator delete[](void* block, size_t, std::align_val_t) noexcept
{
    __libc_free(block);
}

namespace alloccounter {

void Start()
{
    // The unwinder loads itself on first use, allocating: do that before counting.
    void* warm[4];
    backtrace(warm, 4);
    gModuleCount = 0;
    dl_iterate_phdr(AddModule, nullptr);
    gCountedThread = pthread_self();
    gCounting.store(true);
}

void Stop()
{
    gCounting.store(false);
}

Tally Take()
{
    bool wasCounting = gCounting.exchange(false);
    Tally tally;
    tally.own = gOwn;
    tally.otherThreads = gOtherThreads.exchange(0);
    for (int i = 0; i < gModuleCount; ++i) {
        if (gModules[i].count == 0) continue;
        const char* slash = std::strrchr(gModules[i].name, '/');
        tally.byLibrary.emplace_back(slash ? slash + 1 : gModules[i].name, gModules[i].count);
        gModules[i].count = 0;
    }
    if (gLinked.count) tally.byLibrary.emplace_back(gLinked.name, gLinked.count);
    gLinked.count = 0;
    if (gUnplaced) tally.byLibrary.emplace_back("(unplaced)", gUnplaced);
    gOwn = 0;
    gUnplaced = 0;
    gCounting.store(wasCounting);
    return tally;
}

LibraryScope::LibraryScope(const char* library)
{
    tLinkedLibrary = library;
}

LibraryScope::~LibraryScope()
{
    tLinkedLibrary = nullptr;
}

}  // namespace alloccounter
