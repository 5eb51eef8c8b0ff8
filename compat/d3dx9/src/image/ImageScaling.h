#pragma once

#include "image/Image.h"

namespace tarnelix::d3dx {

// The smallest power of two not below `size` (1 for 0), capped at `limit`.
uint32_t roundUpToPowerOfTwo(uint32_t size, uint32_t limit);

// Resamples to width x height with a tent filter whose support widens with the reduction, so
// that enlarging interpolates and shrinking averages every source texel it covers.
Image resampleImage(const Image& source, uint32_t width, uint32_t height);

// Averages blocks of factorX x factorY texels (fewer at the right and bottom edges).
Image boxReduce(const Image& source, uint32_t factorX, uint32_t factorY);

// resampleImage, after a box prefilter by the whole factor a side shrinks by: a picture many
// times larger than the texture costs one pass over its texels, and the tent filter then works
// on a picture less than twice the target's size.
Image resizeImage(const Image& source, uint32_t width, uint32_t height);

// The next level of a mip chain: each texel the average of the 2x2 (or 2x1, 1x2) block below it.
Image halveImage(const Image& source);

// Number of levels of a full chain down to 1 x 1.
uint32_t fullMipLevelCount(uint32_t width, uint32_t height);

} // namespace tarnelix::d3dx
