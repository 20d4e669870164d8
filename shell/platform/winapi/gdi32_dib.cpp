// gdi32: memory contexts and DIB sections over plain memory, and SetDIBits over dibconvert.
// Implements: memory device contexts, bottom-up 24-bit BI_RGB sections in process memory, selecting a section
// into a context, SetDIBits from any DIB that dibconvert decodes with DIB_RGB_COLORS. Not implemented:
// drawing into a context, sections of other formats or backed by a file mapping, DIB_PAL_COLORS. A section's
// pixels are undefined until SetDIBits sets them.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

#include "shell/platform/winapi/gdi32.h"
#include "shell/platform/winapi/gdi32_dibconvert.h"
#include "shell/platform/winapi/kernel32_memory.h"
#include "shell/platform/winapi/resets.h"

namespace layer {
namespace {

// Sections larger than this are refused as if memory had run out.
constexpr uint64_t kMaxSectionBytes = uint64_t(1) << 30;
// Spare bytes after a section's pixels, so that wide loads and stores near the end stay inside it.
constexpr size_t kSectionSlack = 32;

struct Section;

struct MemoryDc {
    Section* selected = nullptr;
};

struct Section {
    Bgr24Picture picture;
    MemoryDc* selectedInto = nullptr;
};

// The live memory contexts and sections; handles are their addresses, checked against these sets.
struct GdiObjects {
    std::mutex lock;
    std::set<MemoryDc*> contexts;
    std::set<Section*> sections;
};

GdiObjects gdiObjects;

// What a fresh memory context holds before a section is selected, as on Windows (a 1x1 bitmap).
char stockBitmap;
HGDIOBJ StockBitmap()
{
    return &stockBitmap;
}

MemoryDc* FindContext(HDC hdc)
{
    auto* dc = reinterpret_cast<MemoryDc*>(hdc);
    return gdiObjects.contexts.count(dc) ? dc : nullptr;
}

Section* FindSection(HGDIOBJ object)
{
    auto* section = static_cast<Section*>(object);
    return gdiObjects.sections.count(section) ? section : nullptr;
}

BITMAPINFOHEADER ReadHeader(const BITMAPINFO* info)
{
    BITMAPINFOHEADER header;
    std::memcpy(&header, info, sizeof header);
    return header;
}

}  // namespace
}  // namespace layer

using layer::MemoryDc;
using layer::Section;

HDC CreateCompatibleDC(HDC)
{
    auto* dc = new MemoryDc;
    std::lock_guard<std::mutex> guard(layer::gdiObjects.lock);
    layer::gdiObjects.contexts.insert(dc);
    return reinterpret_cast<HDC>(dc);
}

BOOL DeleteDC(HDC hdc)
{
    std::lock_guard<std::mutex> guard(layer::gdiObjects.lock);
    MemoryDc* dc = layer::FindContext(hdc);
    if (!dc) return FALSE;
    if (dc->selected) dc->selected->selectedInto = nullptr;
    layer::gdiObjects.contexts.erase(dc);
    delete dc;
    return TRUE;
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD)
{
    if (bits) *bits = nullptr;
    if (!info || usage != DIB_RGB_COLORS) return nullptr;
    if (section) {
        std::fprintf(stderr, "CreateDIBSection: sections backed by a file mapping are not supported\n");
        return nullptr;
    }
    BITMAPINFOHEADER header = layer::ReadHeader(info);
    if (header.biSize < sizeof header || header.biBitCount != 24 || header.biCompression != BI_RGB) {
        std::fprintf(stderr, "CreateDIBSection: only 24-bit BI_RGB sections are supported\n");
        return nullptr;
    }
    if (header.biHeight < 0) {
        std::fprintf(stderr, "CreateDIBSection: only bottom-up sections are supported\n");
        return nullptr;
    }
    if (header.biWidth <= 0 || header.biHeight == 0) return nullptr;
    const uint64_t rows = static_cast<uint64_t>(header.biHeight);
    const uint64_t stride = layer::DibRowBytes(static_cast<uint64_t>(header.biWidth), 24);
    if (stride * rows > layer::kMaxSectionBytes) return nullptr;
    auto* pixels = static_cast<uint8_t*>(std::malloc(stride * rows + layer::kSectionSlack));
    if (!pixels) return nullptr;

    auto* created = new Section;
    created->picture.pixels = pixels;
    created->picture.width = header.biWidth;
    created->picture.height = static_cast<int32_t>(rows);
    created->picture.stride = stride;
    {
        std::lock_guard<std::mutex> guard(layer::gdiObjects.lock);
        layer::gdiObjects.sections.insert(created);
    }
    if (bits) *bits = pixels;
    return reinterpret_cast<HBITMAP>(created);
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object)
{
    std::lock_guard<std::mutex> guard(layer::gdiObjects.lock);
    MemoryDc* dc = layer::FindContext(hdc);
    if (!dc) return nullptr;
    Section* section = layer::FindSection(object);
    if (!section && object != layer::StockBitmap()) return nullptr;
    // A bitmap is selected into one context at a time.
    if (section && section->selectedInto && section->selectedInto != dc) return nullptr;

    HGDIOBJ previous = dc->selected ? static_cast<HGDIOBJ>(dc->selected) : layer::StockBitmap();
    if (dc->selected) dc->selected->selectedInto = nullptr;
    dc->selected = section;
    if (section) section->selectedInto = dc;
    return previous;
}

BOOL DeleteObject(HGDIOBJ object)
{
    if (object == layer::StockBitmap()) return TRUE;
    std::lock_guard<std::mutex> guard(layer::gdiObjects.lock);
    Section* section = layer::FindSection(object);
    // A bitmap still selected into a context stays, as on Windows.
    if (!section || section->selectedInto) return FALSE;
    layer::gdiObjects.sections.erase(section);
    std::free(section->picture.pixels);
    delete section;
    return TRUE;
}

int SetDIBits(HDC, HBITMAP bitmap, UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info,
              UINT colourUse)
{
    if (!bits || !info || colourUse != DIB_RGB_COLORS) return 0;
    layer::Bgr24Picture target;
    {
        std::lock_guard<std::mutex> guard(layer::gdiObjects.lock);
        Section* section = layer::FindSection(bitmap);
        if (!section) return 0;
        target = section->picture;
    }

    // Where the description or the pixels lie in a block this layer handed out, reads stop at its end.
    size_t infoBytes = SIZE_MAX;
    layer::BytesAvailableFrom(info, &infoBytes);
    if (infoBytes < sizeof(BITMAPINFOHEADER)) return 0;
    BITMAPINFOHEADER header = layer::ReadHeader(info);
    if (header.biSize != sizeof header) return 0;

    layer::DibSource source;
    source.width = header.biWidth;
    source.height = header.biHeight;
    source.bitCount = header.biBitCount;
    source.compression = header.biCompression;
    const auto* table = reinterpret_cast<const uint8_t*>(info) + sizeof header;
    const size_t tableBytes = infoBytes - sizeof header;
    if (header.biCompression == BI_BITFIELDS) {
        if (tableBytes < sizeof source.masks) return 0;
        std::memcpy(source.masks, table, sizeof source.masks);
    } else if (header.biBitCount <= 8) {
        uint32_t defaultCount = 1u << header.biBitCount;
        source.colourCount = header.biClrUsed ? std::min(header.biClrUsed, defaultCount) : defaultCount;
        if (tableBytes / 4 < source.colourCount) return 0;
        source.colours = table;
    }

    source.bits = static_cast<const uint8_t*>(bits);
    size_t available = SIZE_MAX;
    const bool bounded = layer::BytesAvailableFrom(bits, &available);
    if (header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4) {
        // A compressed stream is as long as the description says, and never past a known block.
        if (header.biSizeImage == 0 && !bounded) return 0;
        source.bitsSize = header.biSizeImage ? std::min<size_t>(header.biSizeImage, available) : available;
    } else {
        source.bitsSize = available;
    }
    return layer::ConvertDib(source, startScan, scanLines, target);
}

BOOL GdiFlush()
{
    return TRUE;
}

void layer::ResetGdiObjects()
{
    std::lock_guard<std::mutex> guard(gdiObjects.lock);
    for (MemoryDc* dc : gdiObjects.contexts) delete dc;
    for (Section* section : gdiObjects.sections) {
        std::free(section->picture.pixels);
        delete section;
    }
    gdiObjects.contexts.clear();
    gdiObjects.sections.clear();
}
