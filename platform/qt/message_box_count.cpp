#include "platform/qt/message_box_count.h"

namespace ksv {

std::atomic<int>& OpenMessageBoxCount() {
    static std::atomic<int> count{0};
    return count;
}

} // namespace ksv
