#include "link/byte_copy.h"
#include "link/frame.h"
#include "link/link.h"
#include "link/link_state.h"
#include "link/value_encoder.h"

#include <vector>

namespace ksv {
namespace {

constexpr uint32_t kPatience = 5;
constexpr size_t kWidePasswordChars = 16;
constexpr size_t kNarrowPasswordChars = 33;

std::u16string PasswordCopy(const std::u16string& text, uint32_t flags) {
    const size_t limit = (flags & kFlagWide) ? kWidePasswordChars : kNarrowPasswordChars;
    return text.substr(0, limit);
}

} // namespace

std::vector<uint8_t> Frame(uint16_t kind, const std::vector<uint8_t>& payload) {
    const auto prefix = EncodeFramePrefix(kind);
    std::vector<uint8_t> frame(prefix.size() + payload.size());
    CopyBytes(frame.data(), prefix.data(), prefix.size());
    CopyBytes(frame.data() + prefix.size(), payload.data(), payload.size());
    return frame;
}

ResultCode Link::SendHello() {
    const auto frame = Frame(kMsgHello);
    return WriteBytes(frame.data(), frame.size(), kPatience);
}

ResultCode Link::SendPingReply() {
    const auto frame = Frame(kMsgPingReplyToDevice);
    return WriteBytes(frame.data(), frame.size(), kPatience);
}

ResultCode Link::SendAcknowledge() {
    const auto frame = Frame(kMsgAcknowledge);
    return WriteBytes(frame.data(), frame.size(), kPatience);
}

ResultCode Link::SendLayoutRequest(uint32_t argument) {
    std::vector<uint8_t> payload;
    PutU32(payload, argument);
    const auto frame = Frame(kMsgLayoutRequest, payload);
    return WriteBytes(frame.data(), frame.size(), kPatience);
}

ResultCode Link::SendPing() {
    if (!m_state->portOpen) {
        return kNoPort;
    }
    if (m_state->pingPending.exchange(false)) {
        return kPingUnanswered;
    }
    m_state->pingPending = true;
    const auto frame = Frame(kMsgPing);
    return WriteBytes(frame.data(), frame.size(), kPatience);
}

// The write lock is taken before the marks are read, so frames leave in the order their
// marks were cleared; the store lock is held only while encoding.
ResultCode Link::SendChangedValues() {
    std::lock_guard<std::mutex> writing(m_state->writeMutex);
    if (!m_state->port) {
        return kNoPort; // the marks stay for a later send
    }
    std::vector<uint8_t> payload;
    ResultCode encoded = kSuccess;
    {
        const StoreLock lock(m_state->store);
        encoded = EncodeChangedValues(lock, m_state->reporter, payload);
    }
    const ResultCode written = m_state->WriteLocked(Frame(kMsgValuesToDevice, payload), kPatience);
    return written != kSuccess ? AtBoundary(written) : encoded;
}

ResultCode Link::SendImmediateByte(uint32_t id, uint32_t value) {
    if (!m_state->store.LockStore().FindControl(id)) {
        return kSuccess;
    }
    std::vector<uint8_t> payload;
    PutU32(payload, 1);
    PutU32(payload, id);
    PutU32(payload, 1);
    payload.push_back(static_cast<uint8_t>(value & 0xFF));
    const auto frame = Frame(kMsgValuesToDevice, payload);
    return WriteBytes(frame.data(), frame.size(), kPatience);
}

ResultCode Link::SendPassword(uint32_t id, const std::u16string& password) {
    return SendPasswordReport(id, password, std::u16string());
}

ResultCode Link::SendPasswordChange(uint32_t id, const std::u16string& currentPassword,
                                    const std::u16string& newPassword) {
    if (newPassword.empty()) {
        return kNotApplicable;
    }
    return SendPasswordReport(id, currentPassword, newPassword);
}

ResultCode Link::SendLogOut(uint32_t id) {
    return SendPasswordReport(id, std::u16string(), std::u16string());
}

// The copies outlive every encoding that can see them: the references are set and cleared
// under the store lock, around a send that does not hold it.
ResultCode Link::SendPasswordReport(uint32_t id, const std::u16string& first,
                                    const std::u16string& second) {
    std::u16string copy1;
    std::u16string copy2;
    {
        const StoreLock lock(m_state->store);
        ControlRecord* record = lock.FindControl(id);
        if (!record) {
            return kSuccess;
        }
        if (record->kind != kRecordPassword) {
            return kNotApplicable;
        }
        copy1 = PasswordCopy(first, record->flags);
        copy2 = PasswordCopy(second, record->flags);
        record->sendText1 = &copy1;
        record->sendText2 = &copy2;
        record->toSend = 1;
    }
    SendChangedValues(); // the caller learns nothing of the write, as with any report
    const StoreLock lock(m_state->store);
    for (ControlRecord& record : lock.Records()) {
        if (record.sendText1 == &copy1) {
            record.sendText1 = nullptr;
            record.sendText2 = nullptr;
        }
    }
    return kSuccess;
}

} // namespace ksv
