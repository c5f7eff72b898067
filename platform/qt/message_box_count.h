#pragma once

#include <atomic>

namespace ksv {

// Number of device messages currently on screen; 0 after start-up. Raised and lowered by the
// message-box threads, read by the view: while it is not 0 the main frame is never brought
// forward.
std::atomic<int>& OpenMessageBoxCount();

} // namespace ksv

using ksv::OpenMessageBoxCount;
