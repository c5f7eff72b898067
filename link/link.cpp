#include "link/link.h"

#include "link/device_folder.h"
#include "link/frame.h"
#include "link/receive_run.h"
#include "link/serial_port.h"
#include "link/value_encoder.h"

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace ksv {
namespace {

constexpr uint32_t kPatience = 5;
constexpr uint32_t kGoodbyePatience = 6;
constexpr int kAttemptWaitMs = 10;
constexpr uint32_t kFlagWideText = 0x00000004;
constexpr size_t kWidePasswordChars = 16;
constexpr size_t kNarrowPasswordChars = 33;

} // namespace

struct Link::State : ReceiveHost {
    State(Link& owner, SettingsStore& settingsStore, ErrorReporter& reporter, LinkPaths paths)
        : owner(owner), reporter(reporter), paths(std::move(paths)), store(reporter),
          deviceSettings(settingsStore, [this] { return DeviceNameOrEmpty(); }) {}

    // ReceiveHost: the receive thread's side of the link.
    void SendPingReply() override { owner.SendPingReply(); }
    void SendAcknowledge() override { owner.SendAcknowledge(); }
    void OnPingReply() override { pingPending = false; }
    void OnHelloReply(const HelloReply& reply) override {
        {
            std::lock_guard<std::mutex> lock(nameMutex);
            deviceName = reply.deviceName;
        }
        pingsEnabled = reply.pingsEnabled;
        keepPanelOnGoodbye = reply.keepPanelOnGoodbye;
    }
    std::string FilesFolder() override { return DeviceFilesFolder(paths.filesRoot, Name()); }

    std::optional<std::u16string> Name() const {
        std::lock_guard<std::mutex> lock(nameMutex);
        return deviceName;
    }
    std::u16string DeviceNameOrEmpty() const { return Name().value_or(std::u16string()); }

    void StartWorker() {
        uint64_t generation = 0;
        {
            std::lock_guard<std::mutex> lock(workerMutex);
            generation = ++workerGeneration;
            runRequested = false;
        }
        worker = std::thread([this, generation] { WorkerLoop(generation); });
    }

    // Ends the run in progress (the port has been woken) and the worker itself.
    void StopWorker() {
        {
            std::lock_guard<std::mutex> lock(workerMutex);
            ++workerGeneration;
        }
        workerWake.notify_all();
        if (worker.get_id() == std::this_thread::get_id()) {
            // Closed from inside a post: the worker leaves at its next wait, touching nothing.
            worker.detach();
            return;
        }
        if (worker.joinable()) {
            worker.join();
        }
    }

    // A worker serves one open port; a newer generation means its port has been closed.
    void WorkerLoop(uint64_t generation) {
        ReceiveContext context{store, reporter, deviceSettings, *this};
        SerialPort& reader = *port;
        std::unique_lock<std::mutex> lock(workerMutex);
        for (;;) {
            workerWake.wait(lock, [&] { return workerGeneration != generation || runRequested; });
            if (workerGeneration != generation) {
                return;
            }
            runRequested = false;
            ArrivalSink* target = sink;
            lock.unlock();

            const RunOutcome outcome = ReceiveOneMessage(reader, context);
            if (outcome.post) {
                arrivalCode = outcome.arrivalCode;
            }
            if (outcome.post && target) {
                target->PostArrival();
            }
            lock.lock();
        }
    }

    Link& owner;
    ErrorReporter& reporter;
    LinkPaths paths;
    PanelStore store;
    DeviceSettings deviceSettings;

    std::atomic<bool> initialised{false};
    std::atomic<bool> portOpen{false};
    // Set and reset only with the worker stopped and the store lock held.
    std::unique_ptr<SerialPort> port;

    mutable std::mutex nameMutex;
    std::optional<std::u16string> deviceName;
    std::atomic<bool> pingPending{false};
    std::atomic<bool> pingsEnabled{false};
    std::atomic<bool> keepPanelOnGoodbye{false};
    std::atomic<int32_t> arrivalCode{kArrivalNone};

    std::mutex workerMutex;
    std::condition_variable workerWake;
    bool runRequested = false;
    uint64_t workerGeneration = 0;
    ArrivalSink* sink = nullptr;
    std::thread worker;
};

Link::Link(SettingsStore& settings, ErrorReporter& reporter, LinkPaths paths)
    : m_state(std::make_unique<State>(*this, settings, reporter, std::move(paths))) {}

Link::~Link() {
    LinkTerm();
}

ResultCode Link::LinkInit() {
    if (m_state->initialised.exchange(true)) {
        return kSuccess;
    }
    std::lock_guard<std::mutex> lock(m_state->nameMutex);
    m_state->deviceName = kGlobalSection;
    return kSuccess;
}

ResultCode Link::LinkTerm() {
    if (m_state->portOpen) {
        ClosePort();
    }
    {
        std::lock_guard<std::mutex> lock(m_state->nameMutex);
        m_state->deviceName.reset();
    }
    m_state->initialised = false;
    return kSuccess;
}

ResultCode Link::OpenPort(int portNumber, ArrivalSink* notifyWindow) {
    if (m_state->portOpen) {
        return kAlreadyOpen;
    }
    if (!m_state->initialised) {
        return kNotInitialised;
    }
    std::unique_ptr<SerialPort> opened;
    const ResultCode result =
        SerialPort::Open(ResolvePortPath(portNumber, m_state->paths.portsFolder), opened);
    if (result != kSuccess) {
        return result;
    }
    {
        const StoreLock lock(m_state->store);
        m_state->port = std::move(opened);
    }
    m_state->portOpen = true;
    m_state->StartWorker();
    StartReceiver(notifyWindow);
    return SendHello();
}

ResultCode Link::StartReceiver(ArrivalSink* notifyWindow) {
    if (!m_state->portOpen) {
        return kNoPort;
    }
    {
        std::lock_guard<std::mutex> lock(m_state->workerMutex);
        m_state->sink = notifyWindow;
        m_state->runRequested = true;
    }
    m_state->workerWake.notify_all();
    return kSuccess;
}

ResultCode Link::Disconnect(bool sendGoodbye) {
    if (!m_state->portOpen) {
        return kNoPort;
    }
    if (sendGoodbye) {
        const StoreLock lock(m_state->store);
        const auto frame = EncodeFramePrefix(kMsgGoodbyeFromHandheld);
        const ResultCode result = WriteBytes(frame.data(), frame.size(), kGoodbyePatience);
        if (result != kSuccess) {
            return result;
        }
    }
    return ClosePort();
}

ResultCode Link::ClosePort() {
    if (m_state->portOpen) {
        // Wake first: a decoder may block in a read while holding the store lock.
        m_state->port->Wake();
        m_state->StopWorker();
        const StoreLock lock(m_state->store);
        m_state->port.reset();
        m_state->portOpen = false;
    }
    if (m_state->store.GetControlCount() > 0) {
        m_state->store.DiscardControls();
    }
    m_state->pingPending = false;
    m_state->pingsEnabled = false;
    return kSuccess;
}

ResultCode Link::ResetLink() {
    {
        const StoreLock lock(m_state->store);
        if (m_state->port) {
            m_state->port->Purge(true);
        }
    }
    m_state->pingPending = false;
    return SendHello();
}

int32_t Link::GetArrivalCode() const {
    return m_state->arrivalCode;
}

std::optional<std::u16string> Link::GetDeviceName() const {
    return m_state->Name();
}

bool Link::IsPingEnabled() const {
    return m_state->pingsEnabled;
}

bool Link::IsKeepPanelOnGoodbye() const {
    return m_state->keepPanelOnGoodbye;
}

bool Link::IsPortOpen() const {
    return m_state->portOpen;
}

ResultCode Link::WriteBytes(const void* buffer, uint32_t length, uint32_t patience) {
    const StoreLock lock(m_state->store);
    SerialPort* port = m_state->port.get();
    if (!port) {
        return kNoPort;
    }
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    uint64_t budget = uint64_t{length} * patience + 10;
    uint32_t done = 0;
    while (done < length) {
        size_t written = 0;
        ResultCode result = port->WriteSome(bytes + done, length - done, &written);
        if (result != kSuccess) {
            return result;
        }
        done += static_cast<uint32_t>(written);
        if (done == length) {
            break;
        }
        if (--budget == 0) {
            port->Purge(false);
            return kWriteGaveUp;
        }
        result = port->WaitWritable(kAttemptWaitMs);
        if (result != kSuccess) {
            return result;
        }
    }
    return kSuccess;
}

ResultCode Link::ReadBytes(void* buffer, uint32_t length) {
    if (length == 0) {
        return kSuccess;
    }
    SerialPort* port = m_state->port.get();
    return port ? port->ReadBytes(buffer, length) : kLinkClosed;
}

namespace {

// A whole frame in one write: it cannot interleave and costs one system call.
std::vector<uint8_t> Frame(uint16_t kind, const std::vector<uint8_t>& payload = {}) {
    const auto prefix = EncodeFramePrefix(kind);
    std::vector<uint8_t> frame(prefix.size() + payload.size());
    std::memcpy(frame.data(), prefix.data(), prefix.size());
    if (!payload.empty()) {
        std::memcpy(frame.data() + prefix.size(), payload.data(), payload.size());
    }
    return frame;
}

} // namespace

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
    const StoreLock lock(m_state->store);
    if (!m_state->port) {
        return kNoPort;
    }
    if (m_state->pingPending.exchange(false)) {
        return kPingUnanswered;
    }
    m_state->pingPending = true;
    const auto frame = Frame(kMsgPing);
    return WriteBytes(frame.data(), frame.size(), kPatience);
}

ResultCode Link::SendChangedValues() {
    const StoreLock lock(m_state->store);
    if (!m_state->port) {
        return kNoPort; // the marks stay for a later send
    }
    std::vector<uint8_t> payload;
    const ResultCode encoded = EncodeChangedValues(lock, m_state->reporter, payload);
    const auto frame = Frame(kMsgValuesToDevice, payload);
    const ResultCode written = WriteBytes(frame.data(), frame.size(), kPatience);
    return written != kSuccess ? written : encoded;
}

ResultCode Link::SendImmediateByte(uint32_t id, uint32_t value) {
    const StoreLock lock(m_state->store);
    if (!lock.FindControl(id)) {
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

namespace {

std::u16string PasswordCopy(const std::u16string& text, uint32_t flags) {
    const size_t limit = (flags & kFlagWideText) ? kWidePasswordChars : kNarrowPasswordChars;
    return text.substr(0, limit);
}

} // namespace

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

ResultCode Link::SendPasswordReport(uint32_t id, const std::u16string& first,
                                    const std::u16string& second) {
    const StoreLock lock(m_state->store);
    ControlRecord* record = lock.FindControl(id);
    if (!record) {
        return kSuccess;
    }
    if (record->kind != kRecordPassword) {
        return kNotApplicable;
    }
    const std::u16string copy1 = PasswordCopy(first, record->flags);
    const std::u16string copy2 = PasswordCopy(second, record->flags);
    record->sendText1 = &copy1;
    record->sendText2 = &copy2;
    record->toSend = 1;
    SendChangedValues(); // the caller learns nothing of the write, as with any report
    record->sendText1 = nullptr;
    record->sendText2 = nullptr;
    return kSuccess;
}

PanelStore& Link::Store() {
    return m_state->store;
}

DeviceSettings& Link::Settings() {
    return m_state->deviceSettings;
}

const LinkPaths& Link::Paths() const {
    return m_state->paths;
}

} // namespace ksv
