// The zlib stream (RFC 1950) that PNG files hold, written without a compression library: one deflate
// block with the fixed codes, and greedy matches found through a hash of three bytes. The icons, flat
// areas of few colours, come to a few percent of their size.
#pragma once

#include <cstdint>
#include <vector>

std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& raw);
