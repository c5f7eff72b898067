#include "link/link.h"

#include "link/device_folder.h"
#include "link/device_port.h"
#include "link/frame.h"
#include "link/link_state.h"
#include "link/pending_file.h"
#include "link/write_budget.h"

#include <utility>

namespace ksv {
Link::State::State(Link& owner, SettingsStore& settingsStore, ErrorReporter& reporter,
                   LinkPaths paths, LinkLimits limits)
    : owner(owner), reporter(reporter), paths(std::move(paths)), limits(limits), store(reporter),
      deviceSettings(settingsStore, [this] { return Name().value_or(std::u16string()); }) {}

void Link::State::OnHelloReply(const HelloReply& reply) {
    {
        std::lock_guard<std::mutex> lock(nameMutex);
        deviceName = reply.deviceName;
    }
    pingsEnabled = reply.pingsEnabled;
    keepPanelOnGoodbye = reply.keepPanelOnGoodbye;
}

FilesPlace Link::State::FilesFolder() {
    return FilesPlace{paths.filesRoot, DeviceFolderName(Name()), limits.deviceQuotaBytes,
                      limits.allFilesQuotaBytes};
}

std::optional<std::u16string> Link::State::Name() const {
    std::lock_guard<std::mutex> lock(nameMutex);
    return deviceName;
}

ResultCode Link::State::WriteLocked(const std::vector<uint8_t>& frame, uint32_t patience) {
    if (StoreLock::HeldOnThisThread()) {
        // A write under the store lock would let the device hold the store: a caller's fault.
        KSV_REPORT(reporter, kLinkModule, kNotApplicable, ProgramFault);
    }
    if (!port) {
        return kNoPort;
    }
    if (frame.empty()) {
        return kSuccess;
    }
    return WriteWithinBudget(*port, frame.data(), static_cast<uint32_t>(frame.size()), patience,
                             limits);
}

void Link::State::RunOnce(StreamPort& reader, ArrivalSink* sink) {
    if (!reader.IsEstablished()) {
        ResultCode result = reader.Establish();
        if (result == kSuccess) {
            result = owner.SendHello();
        }
        if (result != kSuccess) {
            arrivals.Park();
            TellLinkLost(reader, sink, result);
            return;
        }
    }
    ReceiveContext context{store, reporter, deviceSettings, *this};
    capture.Begin(reader, tap);
    const RunOutcome outcome = ReceiveOneMessage(capture, context);
    capture.End();
    if (!outcome.post) {
        arrivals.Park();
        TellLinkLost(reader, sink, kLinkClosed);
        return;
    }
    arrivalCode = outcome.arrivalCode;
    if (!sink) {
        return;
    }
    if (!sink->ReceivesAhead()) {
        sink->PostArrival();
        return;
    }
    const ArrivalQueue::Pushed pushed = arrivals.Push(outcome.arrivalCode);
    if (pushed.readOn) {
        worker.Request(sink);
    }
    if (pushed.notify) {
        sink->PostArrival();
    }
}

void Link::State::TellLinkLost(const StreamPort& reader, ArrivalSink* sink, ResultCode reason) {
    if (sink && !reader.WasWoken()) {
        sink->PostLinkLost(AtBoundary(reason));
    }
}

Link::Link(SettingsStore& settings, ErrorReporter& reporter, LinkPaths paths, LinkLimits limits)
    : m_state(std::make_unique<State>(*this, settings, reporter, std::move(paths), limits)) {}

Link::~Link() {
    LinkTerm();
}

ResultCode Link::LinkInit() {
    if (m_state->initialised.exchange(true)) {
        return kSuccess;
    }
    RemoveLeftoverIncoming(m_state->paths.filesRoot);
    std::lock_guard<std::mutex> lock(m_state->nameMutex);
    m_state->deviceName = kGlobalSection;
    return kSuccess;
}

ResultCode Link::LinkTerm() {
    ClosePort();
    {
        std::lock_guard<std::mutex> lock(m_state->nameMutex);
        m_state->deviceName.reset();
    }
    m_state->initialised = false;
    return kSuccess;
}

ResultCode Link::OpenPort(int portNumber, ArrivalSink* notifyWindow) {
    bool established = false;
    {
        std::lock_guard<std::mutex> life(m_state->lifecycleMutex);
        if (m_state->portOpen) {
            return kAlreadyOpen;
        }
        if (!m_state->initialised) {
            return kNotInitialised;
        }
        std::unique_ptr<StreamPort> opened;
        const ResultCode result = OpenDevicePort(
            ResolvePortEntry(portNumber, m_state->paths.portsFolder), m_state->limits, opened);
        if (result != kSuccess) {
            return AtBoundary(result);
        }
        StreamPort& reader = *opened;
        established = reader.IsEstablished();
        if (m_state->tap) {
            m_state->tap->OnPortOpened();
            reader.SetTap(m_state->tap);
        }
        {
            std::lock_guard<std::mutex> writing(m_state->writeMutex);
            m_state->port = std::move(opened);
        }
        m_state->portOpen = true;
        m_state->arrivals.Reset();
        State* state = m_state.get();
        m_state->worker.Start(
            [state, &reader](ArrivalSink* sink) { state->RunOnce(reader, sink); });
    }
    StartReceiver(notifyWindow);
    return established ? SendHello() : kSuccess;
}

void Link::SetTap(LinkTap* tap) {
    m_state->tap = tap;
}

ResultCode Link::StartReceiver(ArrivalSink* notifyWindow) {
    if (!m_state->portOpen) {
        return kNoPort;
    }
    if (notifyWindow == nullptr || !notifyWindow->ReceivesAhead() || m_state->arrivals.Resume()) {
        m_state->worker.Request(notifyWindow);
    }
    return kSuccess;
}

ResultCode Link::Disconnect(bool sendGoodbye) {
    if (!m_state->portOpen) {
        return kNoPort;
    }
    if (sendGoodbye) {
        const ResultCode result = WriteBytes(EncodeFramePrefix(kMsgGoodbyeFromHandheld).data(),
                                             kFramePrefixSize, kGoodbyePatience);
        if (result != kSuccess) {
            return result;
        }
    }
    return ClosePort();
}

ResultCode Link::ClosePort() {
    bool stopping = false;
    {
        std::lock_guard<std::mutex> life(m_state->lifecycleMutex);
        if (m_state->portOpen && !m_state->closing) {
            // First of all: a run or a write waiting on the device ends at once.
            m_state->port->Wake();
            m_state->closing = true;
            stopping = true;
        }
    }
    if (stopping) {
        m_state->worker.Stop(); // the run may itself be closing from its post: no lock held
        std::unique_ptr<StreamPort> closing;
        {
            std::lock_guard<std::mutex> life(m_state->lifecycleMutex);
            std::lock_guard<std::mutex> writing(m_state->writeMutex);
            closing = std::move(m_state->port);
            m_state->portOpen = false;
            m_state->closing = false;
        }
        m_state->arrivals.Reset();
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
        std::lock_guard<std::mutex> writing(m_state->writeMutex);
        if (m_state->port) {
            m_state->port->Purge(true);
        }
    }
    m_state->pingPending = false;
    return SendHello();
}

std::vector<int32_t> Link::TakeArrivals() {
    return m_state->arrivals.Take();
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

int Link::GetLastPlatformError() const {
    return LastPlatformError();
}

uint64_t Link::BytesReceived() const {
    std::lock_guard<std::mutex> life(m_state->lifecycleMutex); // not behind a stalled write
    return m_state->port ? m_state->port->BytesReceived() : 0;
}

ResultCode Link::WriteBytes(const void* buffer, uint32_t length, uint32_t patience) {
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    const std::vector<uint8_t> frame(bytes, bytes + length);
    std::lock_guard<std::mutex> writing(m_state->writeMutex);
    return AtBoundary(m_state->WriteLocked(frame, patience));
}

ResultCode Link::ReadBytes(void* buffer, uint32_t length) {
    if (length == 0) {
        return kSuccess;
    }
    StreamPort* port = m_state->port.get();
    return AtBoundary(port ? port->ReadBytes(buffer, length) : kLinkClosed);
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
