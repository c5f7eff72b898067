#pragma once

#include "link/device_encoder.h"
#include "link/frame.h"
#include "link/link.h"
#include "platform/device_settings.h"
#include "platform/memory_settings_store.h"
#include "recording_reporter.h"
#include "resources/resource_ids.h"
#include "tests/support/pty_device.h"
#include "tests/support/tcp_device.h"
#include "view/kestrovane_view.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

// A frame the handheld sent, as the device reads it.
struct HandheldFrame {
    uint16_t kind = 0;
    uint16_t flags = 0;
    std::vector<uint8_t> payload;
};

// One entry of a Values frame the handheld sent.
struct ValueEntry {
    uint32_t id = 0;
    std::vector<uint8_t> bytes;
};

// Runs the GUI's event loop until the condition holds or the deadline passes.
inline bool WaitFor(const std::function<bool()>& condition,
                    std::chrono::milliseconds deadline = std::chrono::seconds(5)) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        QTest::qWait(5);
    }
    return true;
}

// The real view and link, with the device on the far end of a pseudo-terminal (or a TCP
// connection) registered as the outbound port. Message boxes and dialogs are captured instead
// of shown.
template <class Device> class ViewFixtureOn : public testing::Test {
protected:
    static constexpr int kPort = 7;
    static constexpr const char16_t* kDeviceName = u"TestDevice";

    // Presets both ports so that start-up opens no dialog; tests may add settings first.
    void SetUp() override {
        settings.WriteProfileInt(ksv::kGlobalSection, "m_iComOutGoing", kPort);
        settings.WriteProfileInt(ksv::kGlobalSection, "m_iComIncoming", 9);
    }

    void TearDown() override {
        view.reset();
        if (link) {
            link->LinkTerm();
        }
    }

    void StartView(int width = CKestrovaneView::kReferenceWidth) {
        link = std::make_unique<ksv::Link>(settings, reporter, device.Paths());
        link->LinkInit();
        view = std::make_unique<CKestrovaneView>(*link, settings, reporter,
                                                 QStringLiteral("kestrovane"));
        view->SetMessageBoxHook([this](const QString& text, bool stop) {
            messages.push_back(text);
            stopIcons.push_back(stop);
        });
        view->SetComPortDialogHook([this](ComPortValues& values) {
            comPortDialogs.push_back(values);
            values = comPortAnswer;
            return comPortAccepted;
        });
        QObject::connect(view.get(), &CKestrovaneView::TitleChanged,
                         [this](const QString& text) { title = text; });
        QObject::connect(view.get(), &CKestrovaneView::QuitRequested, [this]() { ++quits; });
        view->resize(width, CKestrovaneView::kLayoutHeight);
        view->show();
        view->OnInitialUpdate();
    }

    // The device's section of the settings, before the device has connected.
    void PresetDeviceInt(uint32_t id, uint32_t attribute, int32_t value) {
        settings.WriteProfileInt(kDeviceName, ksv::DeviceKey(id, attribute), value);
    }

    QPushButton* ViewButton(int id) const {
        const CCtrl* button = view->ViewButton(id);
        return button == nullptr ? nullptr : button->m_pButton.get();
    }
    bool IsVisible(const QWidget* window) const {
        return window != nullptr && window->isVisibleTo(view.get());
    }
    QPushButton* ControlButton(uint32_t index) const {
        const CCtrl* ctrl = view->Control(index);
        return ctrl == nullptr ? nullptr : ctrl->m_pButton.get();
    }
    void Click(QWidget* window) {
        ASSERT_NE(window, nullptr);
        QTest::mouseClick(window, Qt::LeftButton);
    }

    // Reads one frame of the handheld; an empty kind when none came in time.
    HandheldFrame ReadFrame(std::chrono::milliseconds deadline = std::chrono::seconds(5)) {
        HandheldFrame frame;
        // The GUI keeps running while the device waits for the first byte (timers, arrivals);
        // the rest of a frame follows at once, written whole under the store lock.
        const auto end = std::chrono::steady_clock::now() + deadline;
        std::optional<std::vector<uint8_t>> first;
        while (!(first = device.Read(1, std::chrono::milliseconds(1)))) {
            if (std::chrono::steady_clock::now() >= end) {
                return frame;
            }
            QTest::qWait(5);
        }
        auto prefix = device.Read(ksv::kFramePrefixSize - 1);
        if (!prefix) {
            return frame;
        }
        prefix->insert(prefix->begin(), first->front());
        EXPECT_TRUE(std::equal(ksv::kSyncMarker.begin(), ksv::kSyncMarker.end(), prefix->begin()));
        frame.kind = ksv::GetU16(prefix->data() + 16);
        frame.flags = ksv::GetU16(prefix->data() + 18);
        if (frame.kind == ksv::kMsgLayoutRequest) {
            frame.payload = device.Read(4).value_or(std::vector<uint8_t>{});
        } else if (frame.kind == ksv::kMsgValuesToDevice) {
            frame.payload = ReadValuesPayload();
        }
        return frame;
    }

    // Parses a Values payload: count, then id, length and bytes per entry.
    static std::vector<ValueEntry> ValueEntries(const std::vector<uint8_t>& payload) {
        std::vector<ValueEntry> entries;
        if (payload.size() < 4) {
            return entries;
        }
        size_t at = 4;
        while (at + 8 <= payload.size()) {
            ValueEntry entry;
            entry.id = ksv::GetU32(payload.data() + at);
            const uint32_t length = ksv::GetU32(payload.data() + at + 4);
            at += 8;
            if (at + length > payload.size()) {
                break;
            }
            entry.bytes.assign(payload.begin() + at, payload.begin() + at + length);
            at += length;
            entries.push_back(entry);
        }
        return entries;
    }

    void Send(const ksv::DeviceMessage& message) { device.Write(message.Frame()); }

    // Connect -> Hello, HelloReply -> title, PanelDescription -> controls on screen.
    void ConnectWithPanel(const std::vector<ksv::DeviceControl>& controls,
                          uint16_t helloFlags = ksv::kHelloPingsOff) {
        Click(ViewButton(IDC_BTN_CONNECT));
        ASSERT_EQ(ReadFrame().kind, ksv::kMsgHello);
        Send(ksv::EncodeHelloReply(kDeviceName, false, helloFlags));
        ASSERT_TRUE(WaitFor([this] { return title == QString::fromStdU16String(kDeviceName); }));
        Send(ksv::EncodePanelDescription(controls));
        ASSERT_TRUE(WaitFor([this, &controls] {
            return view->ControlCount() == controls.size() && controls.size() > 0;
        }));
        // The recommended layout is asked for on every arrival (always reload is on).
        const HandheldFrame request = ReadFrame();
        ASSERT_EQ(request.kind, ksv::kMsgLayoutRequest);
        ASSERT_EQ(ksv::GetU32(request.payload.data()), 256u);
    }

public:
    static ksv::DeviceControl Button(uint32_t id, const std::u16string& caption,
                                     uint32_t flags = 0) {
        ksv::DeviceControl control('B', flags, id);
        control.ValueByte(0).Caption(caption);
        return control;
    }

protected:
    Device device{kPort};
    ksv::MemorySettingsStore settings;
    RecordingReporter reporter;
    std::unique_ptr<ksv::Link> link;
    std::unique_ptr<CKestrovaneView> view;

    std::vector<QString> messages;
    std::vector<bool> stopIcons;
    std::vector<ComPortValues> comPortDialogs;
    ComPortValues comPortAnswer;
    bool comPortAccepted = false;
    QString title;
    int quits = 0;

private:
    std::vector<uint8_t> ReadValuesPayload() {
        std::vector<uint8_t> payload = device.Read(4).value_or(std::vector<uint8_t>{});
        if (payload.size() != 4) {
            return payload;
        }
        const uint32_t count = ksv::GetU32(payload.data());
        for (uint32_t i = 0; i < count; ++i) {
            const auto head = device.Read(8);
            if (!head) {
                break;
            }
            payload.insert(payload.end(), head->begin(), head->end());
            const uint32_t length = ksv::GetU32(head->data() + 4);
            const auto bytes = device.Read(length);
            if (!bytes) {
                break;
            }
            payload.insert(payload.end(), bytes->begin(), bytes->end());
        }
        return payload;
    }
};

using ViewFixture = ViewFixtureOn<ksv::testing::PtyDevice>;
