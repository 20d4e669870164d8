// Bitmap pixel decoding for SetDIBits: 1, 2, 4, 8, 16, 24 and 32 bits per pixel, RLE4, RLE8 and bit
// fields, into 24-bit rows. Colour indices beyond the table and pixels an RLE stream leaves undefined
// come out black; RLE runs and deltas are clipped to the picture.
#include "shell/platform/winapi/gdi32_dibconvert.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "shell/platform/winapi/gdi32.h"

namespace layer {
namespace {

inline void Store3(uint8_t* out, uint32_t bgr)
{
    out[0] = static_cast<uint8_t>(bgr);
    out[1] = static_cast<uint8_t>(bgr >> 8);
    out[2] = static_cast<uint8_t>(bgr >> 16);
}

inline uint16_t Load16(const uint8_t* p)
{
    uint16_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

inline uint32_t Load32(const uint8_t* p)
{
    uint32_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// The colour table as packed blue | green << 8 | red << 16, black past the entries given.
struct Palette {
    uint32_t entries[256] = {};

    Palette(const DibSource& source)
    {
        uint32_t count = std::min<uint32_t>(source.colourCount, 1u << std::min<uint16_t>(source.bitCount, 8));
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* q = source.colours + 4 * i;
            entries[i] = q[0] | (q[1] << 8) | (q[2] << 16);
        }
    }
};

// One colour channel of a bit-field pixel: its bits scaled to 0..255 as round(v * 255 / max).
struct Channel {
    uint32_t mask = 0;
    unsigned shift = 0;
    uint64_t max = 0;

    explicit Channel(uint32_t m) : mask(m)
    {
        if (mask == 0) return;
        while (((mask >> shift) & 1) == 0) ++shift;
        max = mask >> shift;
    }

    uint8_t Scale(uint32_t pixel) const
    {
        if (max == 0) return 0;
        uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint8_t>((v * 510 + max) / (2 * max));
    }
};

void IndexedRow(const uint8_t* in, uint8_t* out, int32_t width, unsigned bitCount, const Palette& palette)
{
    const unsigned perByte = 8 / bitCount;
    const unsigned valueMask = (1u << bitCount) - 1;
    for (int32_t x = 0; x < width; ++x) {
        unsigned slot = static_cast<unsigned>(x) % perByte;
        unsigned index = (in[x / perByte] >> (8 - bitCount * (slot + 1))) & valueMask;
        Store3(out + 3 * x, palette.entries[index]);
    }
}

// Four-byte stores that overlap the next pixel, the last pixel stored exactly.
void Indexed8Row(const uint8_t* in, uint8_t* out, int32_t width, const Palette& palette)
{
    const uint32_t* table = palette.entries;
    int32_t x = 0;
    for (; x + 4 < width; x += 4) {
        uint32_t four = Load32(in + x);
        uint32_t a = table[four & 0xff], b = table[(four >> 8) & 0xff];
        uint32_t c = table[(four >> 16) & 0xff], d = table[four >> 24];
        uint8_t* o = out + 3 * x;
        std::memcpy(o, &a, 4);
        std::memcpy(o + 3, &b, 4);
        std::memcpy(o + 6, &c, 4);
        std::memcpy(o + 9, &d, 4);
    }
    for (; x + 1 < width; ++x) std::memcpy(out + 3 * x, &table[in[x]], 4);
    if (x < width) Store3(out + 3 * x, table[in[x]]);
}

struct BitFields {
    std::vector<uint8_t> lookup[3];  // per channel, for 16-bit pixels
    Channel channels[3];

    BitFields(const uint32_t (&masks)[3], unsigned bitCount)
        : channels{Channel(bitCount == 16 ? masks[0] & 0xffff : masks[0]),
                   Channel(bitCount == 16 ? masks[1] & 0xffff : masks[1]),
                   Channel(bitCount == 16 ? masks[2] & 0xffff : masks[2])}
    {
        if (bitCount != 16) return;
        for (int c = 0; c < 3; ++c) {
            lookup[c].resize(channels[c].max + 1);
            for (uint32_t v = 0; v <= channels[c].max; ++v) {
                lookup[c][v] = channels[c].Scale(v << channels[c].shift);
            }
        }
    }
};

void Bits16Row(const uint8_t* in, uint8_t* out, int32_t width, const BitFields& f)
{
    const Channel* ch = f.channels;
    for (int32_t x = 0; x < width; ++x) {
        uint32_t p = Load16(in + 2 * x);
        out[3 * x] = f.lookup[2][(p & ch[2].mask) >> ch[2].shift];
        out[3 * x + 1] = f.lookup[1][(p & ch[1].mask) >> ch[1].shift];
        out[3 * x + 2] = f.lookup[0][(p & ch[0].mask) >> ch[0].shift];
    }
}

void Bits32Row(const uint8_t* in, uint8_t* out, int32_t width, const BitFields& f)
{
    const Channel* ch = f.channels;
    if (ch[0].mask == 0xff0000 && ch[1].mask == 0xff00 && ch[2].mask == 0xff) {
        for (int32_t x = 0; x < width; ++x) std::memcpy(out + 3 * x, in + 4 * x, 3);
        return;
    }
    for (int32_t x = 0; x < width; ++x) {
        uint32_t p = Load32(in + 4 * x);
        out[3 * x] = ch[2].Scale(p);
        out[3 * x + 1] = ch[1].Scale(p);
        out[3 * x + 2] = ch[0].Scale(p);
    }
}

uint8_t* TargetRow(const Bgr24Picture& target, uint32_t scan)
{
    return target.pixels + static_cast<size_t>(scan) * target.stride;
}

int ConvertRows(const DibSource& source, uint32_t startScan, uint32_t lines, const Bgr24Picture& target)
{
    const uint64_t rowBytes = DibRowBytes(static_cast<uint64_t>(source.width), source.bitCount);
    if (rowBytes * lines > source.bitsSize) return 0;
    const bool sourceTopDown = source.height < 0;
    const int32_t width = source.width;
    const uint32_t height = static_cast<uint32_t>(target.height);

    // Plain 24-bit rows in the target's own order are one copy.
    if (source.bitCount == 24 && !sourceTopDown && rowBytes == target.stride) {
        std::memcpy(TargetRow(target, startScan), source.bits, rowBytes * lines);
        return static_cast<int>(lines);
    }

    Palette palette(source);
    uint32_t masks[3] = {source.masks[0], source.masks[1], source.masks[2]};
    if (source.compression == BI_RGB && source.bitCount == 16) {
        masks[0] = 0x7c00, masks[1] = 0x03e0, masks[2] = 0x001f;
    } else if (source.compression == BI_RGB && source.bitCount == 32) {
        masks[0] = 0xff0000, masks[1] = 0xff00, masks[2] = 0xff;
    }
    BitFields fields(masks, source.bitCount);

    for (uint32_t r = 0; r < lines; ++r) {
        const uint8_t* in = source.bits + r * rowBytes;
        uint32_t scan = sourceTopDown ? height - 1 - (startScan + r) : startScan + r;
        uint8_t* out = TargetRow(target, scan);
        switch (source.bitCount) {
            case 1:
            case 2:
            case 4:
                IndexedRow(in, out, width, source.bitCount, palette);
                break;
            case 8:
                Indexed8Row(in, out, width, palette);
                break;
            case 16:
                Bits16Row(in, out, width, fields);
                break;
            case 24:
                std::memcpy(out, in, static_cast<size_t>(width) * 3);
                break;
            case 32:
                Bits32Row(in, out, width, fields);
                break;
        }
    }
    return static_cast<int>(lines);
}

// RLE streams, lowest row first. Runs past the row's end and rows past the picture are dropped;
// the stream ends at its end-of-bitmap code or at the end of the bytes given.
int ConvertRle(const DibSource& source, uint32_t lines, const Bgr24Picture& target)
{
    const bool four = source.compression == BI_RLE4;
    const uint32_t width = static_cast<uint32_t>(source.width);
    Palette palette(source);
    for (uint32_t scan = 0; scan < lines; ++scan) std::memset(TargetRow(target, scan), 0, width * 3);

    const uint8_t* bits = source.bits;
    const size_t size = source.bitsSize;
    size_t p = 0;
    uint32_t x = 0, y = 0;
    auto put = [&](uint32_t at, unsigned index) {
        if (at < width) Store3(TargetRow(target, y) + 3 * at, palette.entries[index]);
    };
    while (y < lines && p + 2 <= size) {
        unsigned count = bits[p], value = bits[p + 1];
        p += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count && x + i < width; ++i) {
                put(x + i, four ? ((i & 1) ? value & 15 : value >> 4) : value);
            }
            x = std::min(x + count, width);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (p + 2 > size) break;
            x = std::min(x + bits[p], width);
            y += bits[p + 1];
            p += 2;
        } else {
            size_t bytes = four ? (value + 1) / 2 : value;
            if (p + bytes > size) break;
            for (unsigned i = 0; i < value && x + i < width; ++i) {
                unsigned byte = bits[p + (four ? i / 2 : i)];
                put(x + i, four ? ((i & 1) ? byte & 15 : byte >> 4) : byte);
            }
            x = std::min(x + value, width);
            p += (bytes + 1) & ~static_cast<size_t>(1);
        }
    }
    return static_cast<int>(lines);
}

bool KnownFormat(uint16_t bitCount, uint32_t compression)
{
    switch (compression) {
        case BI_RGB:
            return bitCount == 1 || bitCount == 2 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
                   bitCount == 24 || bitCount == 32;
        case BI_RLE8:
            return bitCount == 8;
        case BI_RLE4:
            return bitCount == 4;
        case BI_BITFIELDS:
            return bitCount == 16 || bitCount == 32;
        default:
            return false;
    }
}

}  // namespace

uint64_t DibRowBytes(uint64_t width, uint64_t bitCount)
{
    return (width * bitCount + 31) / 32 * 4;
}

int ConvertDib(const DibSource& source, uint32_t startScan, uint32_t scanLines, const Bgr24Picture& target)
{
    if (!source.bits || !target.pixels || !KnownFormat(source.bitCount, source.compression)) return 0;
    if (source.width <= 0 || source.height == 0 || source.height == INT32_MIN) return 0;
    const uint32_t height = static_cast<uint32_t>(source.height < 0 ? -source.height : source.height);
    if (source.width != target.width || target.height <= 0 ||
        height != static_cast<uint32_t>(target.height)) {
        return 0;
    }
    if (target.stride < static_cast<uint64_t>(target.width) * 3) return 0;
    if (source.bitCount <= 8 && source.compression != BI_BITFIELDS && source.colourCount > 0 &&
        !source.colours) {
        return 0;
    }
    if (startScan >= height || scanLines == 0) return 0;
    const uint32_t lines = std::min(scanLines, height - startScan);

    if (source.compression == BI_RLE8 || source.compression == BI_RLE4) {
        // A compressed stream describes the whole picture from its lowest row.
        if (source.height < 0 || startScan != 0) return 0;
        return ConvertRle(source, lines, target);
    }
    return ConvertRows(source, startScan, lines, target);
}

}  // namespace layer
