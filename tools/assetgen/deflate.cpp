#include "tools/assetgen/deflate.h"

#include <algorithm>
#include <utility>

#include "tools/assetgen/filebytes.h"

namespace {

// Bits into bytes, lowest bit first, as deflate packs them.
class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out(out) {}

    void Put(uint32_t value, int count)
    {
        bits |= value << used;
        used += count;
        for (; used >= 8; used -= 8, bits >>= 8) out.push_back(static_cast<uint8_t>(bits));
    }
    // A Huffman code goes most significant bit first.
    void PutCode(uint32_t code, int length)
    {
        uint32_t reversed = 0;
        for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1) << (length - 1 - i);
        Put(reversed, length);
    }
    void Flush() { Put(0, (8 - used) % 8); }

private:
    std::vector<uint8_t>& out;
    uint32_t bits = 0;
    int used = 0;
};

// A literal byte, the end of the block (256) or a length's symbol (257 to 285), in the fixed code.
void PutSymbol(BitWriter& writer, int symbol)
{
    if (symbol < 144)
        writer.PutCode(0x30 + symbol, 8);
    else if (symbol < 256)
        writer.PutCode(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        writer.PutCode(symbol - 256, 7);
    else
        writer.PutCode(0xC0 + symbol - 280, 8);
}

constexpr int lengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                              31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int lengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                               2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int distanceBase[] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int distanceExtra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// "The `length` bytes that stood `distance` bytes back", each as its symbol and extra bits.
void PutMatch(BitWriter& writer, int length, int distance)
{
    int l = 28;
    while (lengthBase[l] > length) --l;
    PutSymbol(writer, 257 + l);
    writer.Put(length - lengthBase[l], lengthExtra[l]);
    int d = 29;
    while (distanceBase[d] > distance) --d;
    writer.PutCode(d, 5);
    writer.Put(distance - distanceBase[d], distanceExtra[d]);
}

uint32_t Adler32(const std::vector<uint8_t>& data)
{
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

}  // namespace

std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& raw)
{
    constexpr size_t window = 32768;
    constexpr size_t longest = 258;
    std::vector<uint8_t> out = {0x78, 0x01};
    BitWriter writer(out);
    writer.Put(1, 1);  // the last block
    writer.Put(1, 2);  // with the fixed codes
    // Where each hash of three bytes was seen last: the one place a match is looked for.
    std::vector<size_t> last(1 << 15, SIZE_MAX);
    auto hash = [&](size_t at) { return ((raw[at] << 10) ^ (raw[at + 1] << 5) ^ raw[at + 2]) & 0x7FFF; };
    for (size_t at = 0; at < raw.size();) {
        size_t length = 0;
        const size_t from = at + 3 <= raw.size() ? std::exchange(last[hash(at)], at) : SIZE_MAX;
        if (from != SIZE_MAX && at - from <= window) {
            const size_t most = std::min(longest, raw.size() - at);
            while (length < most && raw[from + length] == raw[at + length]) ++length;
        }
        if (length < 3) {
            PutSymbol(writer, raw[at++]);
            continue;
        }
        PutMatch(writer, static_cast<int>(length), static_cast<int>(at - from));
        for (size_t next = at + 1; next < at + length && next + 3 <= raw.size(); ++next)
            last[hash(next)] = next;
        at += length;
    }
    PutSymbol(writer, 256);
    writer.Flush();
    PutBigEndian(out, Adler32(raw));
    return out;
}
