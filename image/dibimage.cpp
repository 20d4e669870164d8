// The bitmap loader: maps the file, finds the bitmap header and pixels, builds a 40-byte description
// with 4-byte colour entries, has GDI convert the pixels into a 24-bit section, and repacks that as
// red, green, blue rows. Every header field, table, mask and offset is checked against the file
// before anything is read or any memory is sized from it.
#include "image/dibimage.h"

#include <cstdlib>
#include <cstring>

#include "image/rgbrows.h"
#include "shell/platform/platform.h"

namespace {

const char kTitle[] = "Error";
const char kOutOfMemory[] = "Out of memory.";
const char kUnknownFormat[] = "Unknown DIB file format.";
const char kConversionError[] = "Image file conversion error.";

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kMaskBytes = 12;

void ShowError(const char* text)
{
    MessageBoxA(GetFocus(), text, kTitle, MB_OK);
}

// "Failed to open DIB file NAME.\n" in the 256-byte message buffer. A name too long to fit is cut
// at the front and marked with "...", keeping the end, where the file's own name is.
void ShowOpenFailure(const char* fileName)
{
    char message[256];
    char shown[256];
    const char format[] = "Failed to open DIB file %s.\n";
    const size_t room = sizeof message - (sizeof format - 1 - 2) - 1;
    size_t length = std::strlen(fileName);
    if (length > room) {
        std::memcpy(shown, "...", 3);
        std::memcpy(shown + 3, fileName + length - (room - 3), room - 3 + 1);
    } else {
        std::memcpy(shown, fileName, length + 1);
    }
    wsprintfA(message, format, shown);
    ShowError(message);
}

uint16_t Read16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Read32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint64_t RowBytes(uint64_t width, uint64_t bitCount)
{
    return (width * bitCount + 31) / 32 * 4;
}

// Everything the loader holds, released on every path in one order: the memory context, the
// 24-bit section, the 24-bit description, the padded pixels, the normalised description, the view,
// the mapping, the file; and the output block unless a record took it.
struct LoadResources {
    HANDLE file = INVALID_HANDLE_VALUE;
    HANDLE mapping = nullptr;
    const uint8_t* view = nullptr;
    BITMAPINFO* normalised = nullptr;
    BITMAPINFO* description24 = nullptr;
    uint8_t* padded = nullptr;
    HDC dc = nullptr;
    HBITMAP section = nullptr;
    uint8_t* output = nullptr;

    // What the steps find out.
    uint64_t fileSize = 0;
    uint64_t headerAt = 0;
    uint64_t pixelsAt = 0;
    bool pixelsKnown = false;
    // The pixel bytes present when the file stops short of its last row's padding (else 0), and the
    // size of all rows padded.
    uint64_t unpaddedBytes = 0;
    uint64_t paddedBytes = 0;
    uint64_t width = 0;
    uint64_t rows = 0;
    void* sectionBits = nullptr;

    LoadResources() = default;
    LoadResources(const LoadResources&) = delete;
    LoadResources& operator=(const LoadResources&) = delete;

    ~LoadResources()
    {
        if (dc) DeleteDC(dc);
        if (section) DeleteObject(section);
        if (description24) LocalFree(description24);
        if (padded) LocalFree(padded);
        if (normalised) LocalFree(normalised);
        if (view) UnmapViewOfFile(view);
        if (mapping) CloseHandle(mapping);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        std::free(output);
    }
};

bool MapFile(const char* fileName, LoadResources& held);
// Each later step returns the message to show when it fails, or null.
const char* LocateHeader(LoadResources& held);
const char* Normalise(LoadResources& held);
const char* Convert(LoadResources& held);
const char* Pack(LoadResources& held);

}  // namespace

uint16_t ColorTableSize(const void* bitmapHeader)
{
    const auto* header = static_cast<const uint8_t*>(bitmapHeader);
    uint16_t bitCount;
    if (Read32(header) == kCoreHeaderSize) {
        bitCount = Read16(header + 10);
    } else {
        uint32_t coloursUsed = Read32(header + 32);
        if (coloursUsed != 0) return static_cast<uint16_t>(coloursUsed);
        bitCount = Read16(header + 14);
    }
    switch (bitCount) {
        case 1:
            return 2;
        case 2:
            return 4;
        case 4:
            return 16;
        case 8:
            return 256;
        default:
            return 0;
    }
}

RgbImage* LoadDibImage(const char* fileName)
{
    if (!fileName) return nullptr;
    LoadResources held;
    if (!MapFile(fileName, held)) {
        ShowOpenFailure(fileName);
        return nullptr;
    }
    const char* failure = LocateHeader(held);
    if (!failure) failure = Normalise(held);
    if (!failure) failure = Convert(held);
    if (!failure) failure = Pack(held);
    auto* image = failure ? nullptr : static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
    if (!failure && !image) failure = kOutOfMemory;
    if (failure) {
        ShowError(failure);
        return nullptr;
    }
    image->width = static_cast<int32_t>(held.width);
    image->height = static_cast<int32_t>(held.rows);
    image->data = held.output;
    held.output = nullptr;
    return image;
}

namespace {

// Maps the whole file read-only. Read sharing keeps writers out while it is open, so the size read
// here is the size mapped. (A file of exactly 4 GiB - 1 bytes reads as a failed size.)
bool MapFile(const char* fileName, LoadResources& held)
{
    held.file = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held.file == INVALID_HANDLE_VALUE) return false;
    DWORD sizeHigh = 0;
    DWORD sizeLow = GetFileSize(held.file, &sizeHigh);
    if (sizeLow == INVALID_FILE_SIZE && sizeHigh == 0) return false;
    held.fileSize = (static_cast<uint64_t>(sizeHigh) << 32) | sizeLow;
    held.mapping = CreateFileMappingA(held.file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!held.mapping) return false;
    held.view = static_cast<const uint8_t*>(MapViewOfFile(held.mapping, FILE_MAP_READ, 0, 0, 0));
    return held.view != nullptr;
}

// Finds the bitmap header, after the file header where the file starts with "BM" (which also says
// where the pixels are) or at the start of a packed bitmap; only the two classic sizes are known.
const char* LocateHeader(LoadResources& held)
{
    const uint8_t* const file = held.view;
    if (held.fileSize >= 2 && file[0] == 'B' && file[1] == 'M') {
        held.headerAt = kFileHeaderSize;
        if (held.fileSize >= kFileHeaderSize) {
            held.pixelsAt = Read32(file + 10);
            held.pixelsKnown = true;
        }
    }
    if (held.fileSize < held.headerAt + 4) return kUnknownFormat;
    const uint32_t headerSize = Read32(file + held.headerAt);
    if (headerSize != kInfoHeaderSize && headerSize != kCoreHeaderSize) return kUnknownFormat;
    if (held.fileSize - held.headerAt < headerSize) return kUnknownFormat;
    return nullptr;
}

// Builds the normalised description: a 40-byte header, the bit-field masks if any, then the colour
// table as 4-byte entries; and checks that the table, masks and pixels lie in the file.
const char* Normalise(LoadResources& held)
{
    const uint8_t* const file = held.view;
    const uint8_t* const header = file + held.headerAt;
    const uint32_t headerSize = Read32(header);
    const bool info = headerSize == kInfoHeaderSize;
    const uint16_t entries = ColorTableSize(header);
    const uint32_t compression = info ? Read32(header + 16) : BI_RGB;
    const uint32_t maskBytes = compression == BI_BITFIELDS ? kMaskBytes : 0;
    held.normalised = static_cast<BITMAPINFO*>(
        LocalAlloc(LPTR, sizeof(BITMAPINFOHEADER) + maskBytes + 4 * static_cast<size_t>(entries)));
    if (!held.normalised) return kOutOfMemory;

    BITMAPINFOHEADER desc{};
    desc.biSize = kInfoHeaderSize;
    if (info) {
        desc.biWidth = static_cast<LONG>(Read32(header + 4));
        desc.biHeight = static_cast<LONG>(Read32(header + 8));
        desc.biPlanes = Read16(header + 12);
        desc.biBitCount = Read16(header + 14);
        desc.biCompression = compression;
        desc.biSizeImage = Read32(header + 20);
        desc.biXPelsPerMeter = static_cast<LONG>(Read32(header + 24));
        desc.biYPelsPerMeter = static_cast<LONG>(Read32(header + 28));
        desc.biClrUsed = Read32(header + 32);
        desc.biClrImportant = Read32(header + 36);
    } else {
        desc.biWidth = Read16(header + 4);
        desc.biHeight = Read16(header + 6);
        desc.biPlanes = Read16(header + 8);
        desc.biBitCount = Read16(header + 10);
        desc.biCompression = BI_RGB;
        desc.biClrUsed = entries;
        desc.biClrImportant = entries;
    }
    if (desc.biClrUsed == 0) desc.biClrUsed = entries;
    // A colour count beyond what the 16-bit table size holds describes no table that can be read.
    if (desc.biClrUsed > UINT16_MAX) return kConversionError;

    const uint64_t tableAt = held.headerAt + headerSize + maskBytes;
    const uint64_t entryBytes = info ? 4 : 3;
    const uint64_t tableEnd = tableAt + entryBytes * entries;
    if (tableEnd > held.fileSize) return kConversionError;
    auto* colours = reinterpret_cast<uint8_t*>(held.normalised) + sizeof(BITMAPINFOHEADER);
    std::memcpy(colours, header + headerSize, maskBytes);
    for (uint32_t i = 0; i < entries; ++i) {
        const uint8_t* entry = file + tableAt + entryBytes * i;
        uint8_t* quad = colours + maskBytes + 4 * i;
        quad[0] = entry[0];
        quad[1] = entry[1];
        quad[2] = entry[2];
        quad[3] = info ? entry[3] : 0;
    }
    if (!held.pixelsKnown) held.pixelsAt = tableEnd;

    // The pixels must lie in the file: whole rows for plain pixels; a compressed stream is cut at
    // the file's end, and what it leaves undefined comes out black.
    const int64_t height = desc.biHeight;
    held.rows = static_cast<uint64_t>(height < 0 ? -height : height);
    held.width = desc.biWidth > 0 ? static_cast<uint64_t>(desc.biWidth) : 0;
    if (held.width == 0 || held.rows == 0 || held.rows > INT32_MAX) return kConversionError;
    if (held.pixelsAt > held.fileSize) return kConversionError;
    const uint64_t available = held.fileSize - held.pixelsAt;
    if (compression == BI_RLE8 || compression == BI_RLE4) {
        uint64_t streamBytes = desc.biSizeImage ? desc.biSizeImage : available;
        desc.biSizeImage = static_cast<DWORD>(streamBytes < available ? streamBytes : available);
    } else {
        const uint64_t rowBytes = RowBytes(held.width, desc.biBitCount);
        if (rowBytes != 0 && held.rows > available / rowBytes) {
            // Some writers end the file without the last row's padding: it carries no pixel, so only
            // the pixel bytes must be there.
            const uint64_t lastRowPixels = (held.width * desc.biBitCount + 7) / 8;
            if (held.rows - 1 > available / rowBytes) return kConversionError;
            if (available - (held.rows - 1) * rowBytes < lastRowPixels) return kConversionError;
            held.unpaddedBytes = available;
            held.paddedBytes = rowBytes * held.rows;
        }
        // The true size of the padded rows.
        desc.biSizeImage = static_cast<DWORD>(rowBytes * held.rows);
    }
    std::memcpy(held.normalised, &desc, sizeof desc);
    return nullptr;
}

// GDI reads whole padded rows, so pixels that stop short of the last row's padding are copied into
// a block of the full size, the missing padding zero.
const uint8_t* PaddedPixels(LoadResources& held)
{
    if (held.unpaddedBytes == 0) return held.view + held.pixelsAt;
    held.padded = static_cast<uint8_t*>(LocalAlloc(LPTR, held.paddedBytes));
    if (held.padded) std::memcpy(held.padded, held.view + held.pixelsAt, held.unpaddedBytes);
    return held.padded;
}

// Has GDI convert the pixels into a bottom-up 24-bit section, whatever the file's row order.
const char* Convert(LoadResources& held)
{
    if (held.width * held.rows > kMaxDibPixels) return kOutOfMemory;
    held.dc = CreateCompatibleDC(nullptr);
    if (!held.dc) return kOutOfMemory;
    held.description24 = static_cast<BITMAPINFO*>(LocalAlloc(LPTR, sizeof(BITMAPINFOHEADER)));
    if (!held.description24) return kOutOfMemory;
    BITMAPINFOHEADER& d24 = held.description24->bmiHeader;
    d24.biSize = sizeof(BITMAPINFOHEADER);
    d24.biWidth = static_cast<LONG>(held.width);
    d24.biHeight = static_cast<LONG>(held.rows);
    d24.biPlanes = 1;
    d24.biBitCount = 24;
    d24.biCompression = BI_RGB;
    d24.biSizeImage = static_cast<DWORD>(held.rows * held.width * 3);
    held.section =
        CreateDIBSection(held.dc, held.description24, DIB_RGB_COLORS, &held.sectionBits, nullptr, 0);
    if (!held.section || !held.sectionBits || !SelectObject(held.dc, held.section)) return kOutOfMemory;
    const uint8_t* pixels = PaddedPixels(held);
    if (!pixels) return kOutOfMemory;
    if (SetDIBits(held.dc, held.section, 0, static_cast<UINT>(held.rows), pixels, held.normalised,
                  DIB_RGB_COLORS) == 0) {
        return kConversionError;
    }
    GdiFlush();
    return nullptr;
}

// Repacks the section as red, green, blue rows, lowest first, without its 4-byte row padding.
const char* Pack(LoadResources& held)
{
    held.output = static_cast<uint8_t*>(std::malloc(held.rows * held.width * 3));
    if (!held.output) return kOutOfMemory;
    PackRgbRows(static_cast<const uint8_t*>(held.sectionBits), RowBytes(held.width, 24), held.output,
                static_cast<uint32_t>(held.width), static_cast<uint32_t>(held.rows));
    return nullptr;
}

}  // namespace
