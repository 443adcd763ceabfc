#include "platform/decoderlimit.h"

#include <QImageReader>

#include <mutex>

namespace pelmaris::platform {

void limitDecoderAllocation()
{
    // One value for every decoder of the process: the reader's ceiling is process-wide,
    // and two callers with their own values would undo each other.
    static std::once_flag once;
    std::call_once(once, [] {
        QImageReader::setAllocationLimit(int(DecoderAllocationBytes / (1024 * 1024)));
    });
}

} // namespace pelmaris::platform
