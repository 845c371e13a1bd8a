#pragma once
// The image data of a GIF file: the pixel indices as a stream of variable-length codes,
// packed least significant bit first (before it is cut into sub-blocks).
#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace px {

// minCodeSize is the GIF "LZW minimum code size" (2..8); every index must be below
// 2^minCodeSize. The stream starts with a clear code and ends with the end code.

// LZW as GIF decoders expect it: codes widen as the table grows, and a full table (4096
// codes) is answered with a clear code and a fresh table.
QByteArray EncodeLzwCodes(const uint8_t* indices, size_t count, int minCodeSize);

// Run-length mode: every code keeps the initial width, because a clear code follows before
// the decoder's table grows far enough to widen it. Runs of one index are sent as the table
// entries the decoder builds for repeated indices, so flat areas shrink while any decoder
// still reads the stream.
QByteArray EncodeRunLengthCodes(const uint8_t* indices, size_t count, int minCodeSize);

} // namespace px
