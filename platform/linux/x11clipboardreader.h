#pragma once

#include "platform/clipboard.h"

#include <atomic>

namespace pelmaris::platform {

// Reads the text of the X clipboard (the CLIPBOARD selection) over a connection of its
// own, so that an owner that is slow or stopped holds up only the thread that calls it,
// never the window's. Large texts come in increments as the owner offers them. Gives
// up with NoAnswer after `timeoutMs` without a step of progress, and with Cancelled
// once `cancel` is set (looked at a few times a second).
ClipboardText readX11ClipboardText(qint64 maxBytes, int timeoutMs, const std::atomic<bool> &cancel);

} // namespace pelmaris::platform
