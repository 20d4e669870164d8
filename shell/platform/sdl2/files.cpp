// kernel32 services over POSIX: the module handle, files opened for reading, whole-file read-only
// mappings (mmap), local memory (malloc).
// Not implemented: creating or writing files, named mappings, partial views, movable local memory.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <mutex>
#include <set>

#include "shell/platform/sdl2/extents.h"
#include "shell/platform/sdl2/kernel32.h"

namespace layer {
namespace {

struct KernelObject {
    enum class Kind { File, Mapping };
    Kind kind;
    int fd;
    uint64_t size;
};

struct Registry {
    std::mutex lock;
    std::set<KernelObject*> objects;
    std::map<uintptr_t, size_t> extents;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

HANDLE NewObject(KernelObject::Kind kind, int fd, uint64_t size)
{
    auto* object = new KernelObject{kind, fd, size};
    std::lock_guard<std::mutex> guard(TheRegistry().lock);
    TheRegistry().objects.insert(object);
    return object;
}

// The object behind a handle if it is a live one of that kind.
KernelObject* Lookup(HANDLE handle, KernelObject::Kind kind)
{
    std::lock_guard<std::mutex> guard(TheRegistry().lock);
    auto* object = static_cast<KernelObject*>(handle);
    if (!TheRegistry().objects.count(object) || object->kind != kind) return nullptr;
    return object;
}

}  // namespace

void RegisterExtent(const void* base, size_t bytes)
{
    std::lock_guard<std::mutex> guard(TheRegistry().lock);
    TheRegistry().extents[reinterpret_cast<uintptr_t>(base)] = bytes;
}

bool UnregisterExtent(const void* base, size_t* bytes)
{
    std::lock_guard<std::mutex> guard(TheRegistry().lock);
    auto found = TheRegistry().extents.find(reinterpret_cast<uintptr_t>(base));
    if (found == TheRegistry().extents.end()) return false;
    *bytes = found->second;
    TheRegistry().extents.erase(found);
    return true;
}

bool BytesAvailableFrom(const void* p, size_t* bytes)
{
    std::lock_guard<std::mutex> guard(TheRegistry().lock);
    auto& extents = TheRegistry().extents;
    uintptr_t address = reinterpret_cast<uintptr_t>(p);
    auto after = extents.upper_bound(address);
    if (after == extents.begin()) return false;
    auto block = std::prev(after);
    if (address - block->first >= block->second) return false;
    *bytes = block->second - (address - block->first);
    return true;
}

}  // namespace layer

using layer::KernelObject;

HMODULE GetModuleHandleA(LPCSTR moduleName)
{
    // One module, the program itself; its handle only needs to be non-null and stable.
    static char programModule;
    return moduleName ? nullptr : reinterpret_cast<HMODULE>(&programModule);
}

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                   DWORD creationDisposition, DWORD, HANDLE)
{
    if (!fileName) return INVALID_HANDLE_VALUE;
    if (creationDisposition != OPEN_EXISTING || (desiredAccess & ~GENERIC_READ) != 0) {
        std::fprintf(stderr, "CreateFileA: only opening existing files for reading is supported\n");
        return INVALID_HANDLE_VALUE;
    }
    int fd = open(fileName, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return INVALID_HANDLE_VALUE;
    struct stat status;
    // Windows opens no directory without backup semantics; POSIX would.
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        return INVALID_HANDLE_VALUE;
    }
    return layer::NewObject(KernelObject::Kind::File, fd, static_cast<uint64_t>(status.st_size));
}

DWORD GetFileSize(HANDLE file, DWORD* fileSizeHigh)
{
    KernelObject* source = layer::Lookup(file, KernelObject::Kind::File);
    struct stat status;
    if (!source || fstat(source->fd, &status) != 0) return INVALID_FILE_SIZE;
    uint64_t size = static_cast<uint64_t>(status.st_size);
    if (fileSizeHigh) *fileSizeHigh = static_cast<DWORD>(size >> 32);
    return static_cast<DWORD>(size);
}

HANDLE CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES, DWORD protect, DWORD maximumSizeHigh,
                          DWORD maximumSizeLow, LPCSTR name)
{
    KernelObject* source = layer::Lookup(file, KernelObject::Kind::File);
    if (!source || protect != PAGE_READONLY || name) return nullptr;
    struct stat status;
    if (fstat(source->fd, &status) != 0) return nullptr;
    uint64_t size = static_cast<uint64_t>(status.st_size);
    uint64_t asked = (static_cast<uint64_t>(maximumSizeHigh) << 32) | maximumSizeLow;
    // A read-only mapping cannot grow the file; an empty file has nothing to map.
    if (asked > size || (asked == 0 && size == 0)) return nullptr;
    int fd = fcntl(source->fd, F_DUPFD_CLOEXEC, 0);
    if (fd < 0) return nullptr;
    return layer::NewObject(KernelObject::Kind::Mapping, fd, asked ? asked : size);
}

LPVOID MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD fileOffsetHigh, DWORD fileOffsetLow,
                     SIZE_T numberOfBytesToMap)
{
    KernelObject* source = layer::Lookup(mapping, KernelObject::Kind::Mapping);
    if (!source || desiredAccess != FILE_MAP_READ || fileOffsetHigh != 0 || fileOffsetLow != 0)
        return nullptr;
    if (numberOfBytesToMap > source->size) return nullptr;
    size_t bytes = numberOfBytesToMap ? numberOfBytesToMap : static_cast<size_t>(source->size);
    // Populated at once: the pictures are read whole straight after mapping.
    void* view = mmap(nullptr, bytes, PROT_READ, MAP_PRIVATE | MAP_POPULATE, source->fd, 0);
    if (view == MAP_FAILED) return nullptr;
    layer::RegisterExtent(view, bytes);
    return view;
}

BOOL UnmapViewOfFile(LPCVOID baseAddress)
{
    size_t bytes = 0;
    if (!layer::UnregisterExtent(baseAddress, &bytes)) return FALSE;
    munmap(const_cast<void*>(baseAddress), bytes);
    return TRUE;
}

BOOL CloseHandle(HANDLE object)
{
    auto* found = static_cast<KernelObject*>(object);
    {
        std::lock_guard<std::mutex> guard(layer::TheRegistry().lock);
        if (!layer::TheRegistry().objects.erase(found)) return FALSE;
    }
    close(found->fd);
    delete found;
    return TRUE;
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
