// The byte-level pieces every file the generator writes is made of.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Appends the low `bytes` bytes of value, least significant first, as bitmap, wave and icon files
// store numbers.
void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes);
// Appends the four bytes of value, most significant first, as PNG and zlib store numbers.
void PutBigEndian(std::vector<uint8_t>& out, uint32_t value);
// A colour channel of 0..1 (clamped) as a rounded byte.
uint8_t ChannelByte(float channel);
// Writes bytes to a file, replacing it; false when that fails.
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
