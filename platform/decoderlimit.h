#pragma once

#include <QtGlobal>

namespace pelmaris::platform {

// The most memory one picture decode of the image decoders may take, for the whole
// process: the list building shares it out among its workers, and the viewer and the
// clipboard's picture copy decode within it too.
inline constexpr qint64 DecoderAllocationBytes = qint64(1024) * 1024 * 1024;

// Sets the decoders' own allocation ceiling to that value; safe from any thread, once.
void limitDecoderAllocation();

} // namespace pelmaris::platform
