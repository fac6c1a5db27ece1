// SPDX-License-Identifier: GPL-3.0-or-later
// Transposition of images of 3-byte pixels, which gives both passes of the
// resampler whole lines to sum: plain, and with AVX2 in tiles of 8 x 8 pixels.
// Neither reads or writes a byte outside the two images.
#include "ResampleLanes.h"

#include <algorithm>
#include <cstring>

#include <immintrin.h>

namespace tessalune::resample {
namespace {

// Pixel (x, y) of the source.
const std::uint8_t* SourcePixel(const TPixelBlock& block, int x, int y) {
  return block.src + static_cast<std::size_t>(y) * block.srcStride + 3 * static_cast<std::size_t>(x);
}

// Where pixel (x, y) of the source goes: pixel y of line x.
std::uint8_t* LinePixel(const TPixelBlock& block, int x, int y) {
  return block.dst + static_cast<std::size_t>(x) * block.dstStride + 3 * static_cast<std::size_t>(y);
}

// Transposes the pixels of columns [x0, x1) and rows [y0, y1). Pixels move as
// 4-byte words whose spare byte the next pixel of the line overwrites; a pixel
// that ends a line, or that comes from the last column, moves as 3 bytes.
void TransposeRegion(const TPixelBlock& block, int x0, int x1, int y0, int y1) {
  for (int x = x0; x < x1; ++x) {
    const int words = x + 1 < block.width ? std::min(y1, block.height - 1) : y0;
    int y = y0;
    for (; y < words; ++y) {
      std::uint32_t pixel;
      std::memcpy(&pixel, SourcePixel(block, x, y), sizeof pixel);
      std::memcpy(LinePixel(block, x, y), &pixel, sizeof pixel);
    }
    for (; y < y1; ++y) std::memcpy(LinePixel(block, x, y), SourcePixel(block, x, y), 3);
  }
}

constexpr int kTile = 8;

// The 8 pixels at src as 8 words with a zero top byte, reading 24 bytes.
[[gnu::target("avx2")]] inline __m256i LoadPixels(const std::uint8_t* src) {
  const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
  const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 8));
  const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                          4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
  return _mm256_shuffle_epi8(_mm256_set_m128i(high, low), spread);
}

// Writes the 8 words of pixels as 24 bytes at dst.
[[gnu::target("avx2")]] inline void StorePixels(__m256i pixels, std::uint8_t* dst) {
  const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                        0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  const __m256i packed =
      _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(pixels, pack), _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm256_castsi256_si128(packed));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 16), _mm256_extracti128_si256(packed, 1));
}

// The 8 x 8 pixels from (x0, y0) on, as words: rows are loaded, interleaved in
// pairs, then in fours, and the halves of the fours make the columns.
[[gnu::target("avx2")]] void TransposeTile(const TPixelBlock& block, int x0, int y0) {
  __m256i row[kTile], pairs[kTile], quads[kTile];
  #pragma GCC unroll 8
  for (int r = 0; r < kTile; ++r) row[r] = LoadPixels(SourcePixel(block, x0, y0 + r));
  #pragma GCC unroll 4
  for (int r = 0; r < kTile; r += 2) {
    pairs[r] = _mm256_unpacklo_epi32(row[r], row[r + 1]);
    pairs[r + 1] = _mm256_unpackhi_epi32(row[r], row[r + 1]);
  }
  #pragma GCC unroll 2
  for (int r = 0; r < kTile; r += 4) {
    quads[r] = _mm256_unpacklo_epi64(pairs[r], pairs[r + 2]);
    quads[r + 1] = _mm256_unpackhi_epi64(pairs[r], pairs[r + 2]);
    quads[r + 2] = _mm256_unpacklo_epi64(pairs[r + 1], pairs[r + 3]);
    quads[r + 3] = _mm256_unpackhi_epi64(pairs[r + 1], pairs[r + 3]);
  }
  #pragma GCC unroll 4
  for (int c = 0; c < kTile / 2; ++c) {
    StorePixels(_mm256_permute2x128_si256(quads[c], quads[c + 4], 0x20), LinePixel(block, x0 + c, y0));
    StorePixels(_mm256_permute2x128_si256(quads[c], quads[c + 4], 0x31), LinePixel(block, x0 + c + 4, y0));
  }
}

}  // namespace

void TransposePlain(const TPixelBlock& block) {
  constexpr int kStrip = 32;  // lines that stay in the cache while the rows pass
  for (int x0 = 0; x0 < block.width; x0 += kStrip) {
    TransposeRegion(block, x0, std::min(block.width, x0 + kStrip), 0, block.height);
  }
}

// Tiles go row by row, so that the source is read in order.
[[gnu::target("avx2")]] void TransposeAvx2(const TPixelBlock& block) {
  const int tiledWidth = block.width / kTile * kTile, tiledHeight = block.height / kTile * kTile;
  for (int y0 = 0; y0 < tiledHeight; y0 += kTile) {
    for (int x0 = 0; x0 < tiledWidth; x0 += kTile) TransposeTile(block, x0, y0);
  }
  TransposeRegion(block, 0, tiledWidth, tiledHeight, block.height);
  TransposeRegion(block, tiledWidth, block.width, 0, block.height);
}

}  // namespace tessalune::resample
