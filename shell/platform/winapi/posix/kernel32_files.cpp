// kernel32 files over POSIX, for both backends: files opened for reading and whole-file
// read-only mappings (mmap). Not implemented: creating or writing files, named mappings, partial views.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>

#include "shell/platform/winapi/kernel32.h"
#include "shell/platform/winapi/kernel32_memory.h"
#include "shell/platform/winapi/resets.h"

namespace layer {
namespace {

struct KernelObject {
    enum class Kind { File, Mapping };
    Kind kind;
    int fd;
    uint64_t size;
};

// The live file and mapping objects; handles are their addresses, checked against this set.
struct KernelObjects {
    std::mutex lock;
    std::set<KernelObject*> live;
};

KernelObjects kernelObjects;

HANDLE NewObject(KernelObject::Kind kind, int fd, uint64_t size)
{
    auto* object = new KernelObject{kind, fd, size};
    std::lock_guard<std::mutex> guard(kernelObjects.lock);
    kernelObjects.live.insert(object);
    return object;
}

// The object behind a handle if it is a live one of that kind.
KernelObject* Lookup(HANDLE handle, KernelObject::Kind kind)
{
    std::lock_guard<std::mutex> guard(kernelObjects.lock);
    auto* object = static_cast<KernelObject*>(handle);
    if (!kernelObjects.live.count(object) || object->kind != kind) return nullptr;
    return object;
}

}  // namespace

}  // namespace layer

using layer::KernelObject;
using layer::kernelObjects;

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
        std::lock_guard<std::mutex> guard(layer::kernelObjects.lock);
        if (!layer::kernelObjects.live.erase(found)) return FALSE;
    }
    close(found->fd);
    delete found;
    return TRUE;
}

void layer::ResetFiles()
{
    std::lock_guard<std::mutex> guard(kernelObjects.lock);
    for (KernelObject* object : kernelObjects.live) {
        close(object->fd);
        delete object;
    }
    kernelObjects.live.clear();
}
