#pragma once

#include "view_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSlider>
#include <QTableView>
#include <QTimeEdit>

#include <map>
#include <string>

// A panel of controls of any kind, with appearances set by the device's recommended layout.
class KindsFixture : public ViewFixture {
protected:
    static constexpr uint32_t kAppearance = 336;

    // The panel, then layout entries giving each id its appearance; the view rebuilds with them.
    void Connect(const std::vector<ksv::DeviceControl>& controls,
                 const std::map<uint32_t, int>& appearances = {}) {
        std::vector<ksv::LayoutEntry> entries;
        for (const auto& [id, appearance] : appearances) {
            entries.push_back({id, kAppearance, static_cast<uint32_t>(appearance)});
        }
        ConnectWithLayout(controls, entries);
    }

    // The panel, then the device's recommended layout.
    void ConnectWithLayout(const std::vector<ksv::DeviceControl>& controls,
                           const std::vector<ksv::LayoutEntry>& entries) {
        StartView();
        view->SetUrlHook([this](const QUrl& url) { urls.push_back(url); });
        ConnectWithPanel(controls);
        // The rebuilt panel is a new array, made while the old one still stands; it is laid
        // out with the stored appearances in the same arrival.
        const CCtrl* before = view->Control(0);
        Send(ksv::EncodeLayoutEntries(entries));
        ASSERT_TRUE(WaitFor(
            [&] { return view->Control(0) != before && view->ControlCount() == controls.size(); }));
    }

    CCtrl* Ctrl(uint32_t id) const {
        for (uint32_t i = 0; i < view->ControlCount(); ++i) {
            if (view->Control(i)->m_deviceId == id) {
                return const_cast<CCtrl*>(view->Control(i));
            }
        }
        return nullptr;
    }

    // The entries of the next Values frame the handheld sends; empty when none comes.
    std::vector<ValueEntry>
    NextValues(std::chrono::milliseconds deadline = std::chrono::seconds(3)) {
        const HandheldFrame frame = ReadFrame(deadline);
        if (frame.kind != ksv::kMsgValuesToDevice) {
            return {};
        }
        return ValueEntries(frame.payload);
    }
    // The bytes of the one entry of the next Values frame.
    std::vector<uint8_t> NextValue(uint32_t id) {
        const auto entries = NextValues();
        EXPECT_EQ(entries.size(), 1u);
        if (entries.size() != 1) {
            return {0xEE, 0xEE};
        }
        EXPECT_EQ(entries[0].id, id);
        return entries[0].bytes;
    }
    // Nothing more reaches the device within a short while.
    bool NothingSent() { return ReadFrame(std::chrono::milliseconds(150)).kind == 0; }

    static std::vector<uint8_t> I32(int32_t v) {
        std::vector<uint8_t> out;
        ksv::PutU32(out, static_cast<uint32_t>(v));
        return out;
    }

    void TypeInto(QWidget* edit, const QString& text) {
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }

    // Device messages on screen, newest last.
    static std::vector<QMessageBox*> OpenBoxes() {
        std::vector<QMessageBox*> boxes;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                boxes.push_back(box);
            }
        }
        return boxes;
    }

    std::vector<QUrl> urls;
};
