#include "link/arrival_queue.h"

#include "link/result_code.h"

#include <utility>

namespace ksv {

bool ArrivalQueue::ReadsOnAfter(int32_t code) {
    switch (code) {
    case kArrivalDevicePing:
    case kArrivalPingReply:
    case kArrivalNothing:
    case kArrivalValuesChanged:
    case kArrivalStylesChanged:
    case kArrivalFilesArrived:
        return true;
    default:
        return false;
    }
}

ArrivalQueue::Pushed ArrivalQueue::Push(int32_t code) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const bool folds = ReadsOnAfter(code) && !m_codes.empty() && m_codes.back() == code;
    if (!folds) {
        m_codes.push_back(code);
    }
    Pushed pushed;
    pushed.notify = !m_told;
    m_told = true;
    pushed.readOn = ReadsOnAfter(code) && m_codes.size() < kCapacity;
    m_parked = !pushed.readOn;
    return pushed;
}

std::vector<int32_t> ArrivalQueue::Take() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_told = false;
    return std::exchange(m_codes, {});
}

bool ArrivalQueue::Resume() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::exchange(m_parked, false);
}

void ArrivalQueue::Park() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_parked = true;
}

void ArrivalQueue::Reset() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_codes.clear();
    m_told = false;
    m_parked = true;
}

} // namespace ksv
