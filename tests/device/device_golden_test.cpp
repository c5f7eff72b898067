// Golden frames shared by both sides: what the library writes must be these bytes and must
// decode in the client's receive path into the expected store content; what the client's
// senders write must be these bytes and must land in the firmware's buffers.
#include "device_harness.h"

#include "link/frame.h"
#include "link/value_encoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

namespace ksv::device_testing {
namespace {

// The firmware's values, in wire layout.
struct Values {
    uint8_t latch = 1;
    char text[8] = "Hi";
    int32_t number = -5;
    uint8_t button = 0;
    int32_t list = 2;
    uint8_t date[8] = {1, 2, 3, 4, 5, 6, 0xEA, 0x07};
    uint8_t section = 1;
    uint8_t password = 0;
    char message[6] = "Go?";
    uint8_t blob[4] = {1, 2, 3, 4};
    uint8_t chart[12] = {7, 0, 0, 0, 8, 0, 0, 0, 1, 0, 0, 0}; // 2 rows x 1 column, cursor 1
    uint8_t wideText[6] = {'O', 0, 'k', 0, 0, 0};
};

const uint8_t kImage[] = {'G', 'I', 'F', '8', '9', 'a'};
const ksvd_field kNumberFields[] = {KSVD_TEXT('f', "%% V"), KSVD_U32('x', 99)};
const ksvd_field kListFields[] = {KSVD_U32('n', 3), KSVD_TEXTS('I', "a\0b\0c\0")};
const ksvd_field kDateFields[] = {KSVD_TEXT('f', "%HH%")};
const ksvd_field kChartFields[] = {KSVD_U32('n', 2), KSVD_U32('N', 1)};

ksvd_control Control(uint32_t id, uint32_t flags, char tag, const char* caption, void* value,
                     uint16_t size, const ksvd_field* fields = nullptr, uint8_t nfields = 0) {
    return ksvd_control{id, flags, tag, nfields, caption, fields, value, size};
}

std::vector<ksvd_control> Panel(Values& v) {
    return {
        Control(1, 0, 'G', "LED", &v.latch, 1),
        Control(2, 0, 'T', "Status", v.text, sizeof v.text),
        Control(3, 0, 'N', "Volts", &v.number, 4, kNumberFields, 2),
        Control(4, 0, 'B', "Go", &v.button, 1),
        Control(5, 0, 'L', "Pick", &v.list, 4, kListFields, 2),
        Control(6, 0, 'D', "At", v.date, 8, kDateFields, 1),
        Control(7, 0, 'S', "More", &v.section, 1),
        Control(8, 0, 'P', "Login", &v.password, 1),
        Control(9, 0, 'X', nullptr, v.message, sizeof v.message),
        Control(10, 0, 'O', "Raw", v.blob, sizeof v.blob),
        Control(11, 0, 'M', "Plot", v.chart, sizeof v.chart, kChartFields, 2),
        Control(12, KSVD_EDITABLE, 'I', "Pic", const_cast<uint8_t*>(kImage), sizeof kImage),
        Control(13, 0, 'F', "Log", nullptr, 0),
        Control(14, 0, 'Q', nullptr, nullptr, 0),
        Control(15, KSVD_WIDE, 'T', "W", v.wideText, sizeof v.wideText),
    };
}

std::u16string Text(const std::u16string& held) {
    return held.substr(0, held.find(u'\0'));
}

// What one record of the panel must become in the client's store.
struct RecordCheck {
    uint32_t id;
    std::function<void(const ControlRecord&)> check;
};

const RecordCheck kRecordChecks[] = {
    {1,
     [](const ControlRecord& r) {
         EXPECT_EQ(r.kind, kRecordLatch);
         EXPECT_EQ(r.caption, u"LED");
         EXPECT_EQ(r.latchState, 1);
     }},
    {2,
     [](const ControlRecord& r) {
         EXPECT_EQ(r.kind, kRecordText);
         EXPECT_EQ(r.maxBytes, 8u);
         EXPECT_EQ(Text(r.text), u"Hi");
     }},
    {3,
     [](const ControlRecord& r) {
         EXPECT_EQ(r.number, -5);
         EXPECT_EQ(r.format, u"%% V");
         EXPECT_EQ(r.paramX, 99u);
     }},
    {4, [](const ControlRecord& r) { EXPECT_EQ(r.kind, kRecordButton); }},
    {5,
     [](const ControlRecord& r) {
         EXPECT_EQ(r.selection, 2);
         EXPECT_EQ(r.itemCount, 3u);
         EXPECT_EQ(r.items, std::u16string(u"a\0b\0c\0", 6));
     }},
    {6,
     [](const ControlRecord& r) {
         EXPECT_EQ(r.dateTime[7], 0x07);
         EXPECT_EQ(r.format, u"%HH%");
     }},
    {7, [](const ControlRecord& r) { EXPECT_EQ(r.sectionState, 1); }},
    {8, [](const ControlRecord& r) { EXPECT_EQ(r.kind, kRecordPassword); }},
    {9,
     [](const ControlRecord& r) {
         EXPECT_EQ(r.maxChars, 6u);
         EXPECT_EQ(Text(r.text), u"Go?");
         EXPECT_TRUE(r.caption.empty());
     }},
    {10,
     [](const ControlRecord& r) {
         EXPECT_EQ(r.capacity, 4u);
         EXPECT_EQ(r.data, (std::vector<uint8_t>{1, 2, 3, 4}));
     }},
    {11,
     [](const ControlRecord& r) {
         EXPECT_EQ(r.cellsSize, 8u);
         EXPECT_EQ(r.textSize, 0u);
         EXPECT_EQ(r.cursorWord, 1u);
         EXPECT_EQ(r.cells[4], 8);
     }},
    {12, [](const ControlRecord& r) { EXPECT_EQ(r.data.size(), sizeof kImage); }},
    {13, [](const ControlRecord& r) { EXPECT_EQ(r.kind, kRecordFile); }},
    {14, [](const ControlRecord& r) { EXPECT_EQ(r.kind, kRecordUnknown); }},
    {15,
     [](const ControlRecord& r) {
         EXPECT_EQ(r.caption, u"W");
         EXPECT_EQ(Text(r.text), u"Ok");
     }},
};

// HelloReply "Rig", then the panel above.
// Each frame: marker and header, then the payload; a description one record a line.
const char* const kConnectHex =
    "5AE3F16B77E4E963000100000200010002000000 "
    "0300000052696700000000 "
    "5AE3F16B77E4E963000100000200010006000000 "
    "0F000000 "
    "1B000000470000000000010000000100000001010000005A030000004C4544 "
    "2E00000054000000000002000000080000004869000000000000020000005A6D060000005374617475730400000008"
    "000000 "
    "320000004E00000000000300000004000000FBFFFFFF030000005A667805000000566F6C7473040000002525205604"
    "00000063000000 "
    "1A000000420000000000040000000100000000010000005A02000000476F "
    "330000004C0000000000050000000400000002000000030000005A6E49040000005069636B04000000030000000600"
    "0000610062006300 "
    "2A0000004400000000000600000008000000010203040506EA07020000005A660200000041740400000025484825 "
    "1C000000530000000000070000000100000001010000005A040000004D6F7265 "
    "1D000000500000000000080000000100000000010000005A050000004C6F67696E "
    "210000005800000000000900000006000000476F3F000000010000006D0400000006000000 "
    "270000004F00000000000A0000000400000001020304020000005A6D030000005261770400000004000000 "
    "390000004D00000000000B0000000C000000070000000800000001000000030000005A6E4E04000000506C6F740400"
    "0000020000000400000001000000 "
    "200000004900000001000C00000006000000474946383961010000005A03000000506963 "
    "1A0000004600000000000D00000000000000010000005A030000004C6F67 "
    "0E0000005100000000000E00000000000000 "
    "280000005400040000000F000000060000004F006B000000020000005A6D0200000057000400000006000000 ";

class Golden : public ::testing::Test {
protected:
    Values values;
    Firmware firmware{Panel(values)};
    Client client;

    // Hello to the firmware; its answer through the client.
    std::vector<uint8_t> ConnectBoth() {
        firmware.Feed(HandheldFrame(kMsgHello));
        const std::vector<uint8_t> answer = firmware.Poll();
        EXPECT_EQ(client.Receive(answer),
                  (std::vector<int32_t>{kArrivalDeviceName, kArrivalNewPanel}));
        return answer;
    }
};

TEST_F(Golden, ConnectFramesDecodeIntoTheSameStoreContent) {
    const std::vector<uint8_t> answer = ConnectBoth();
    EXPECT_EQ(ToHex(answer), ToHex(FromHex(kConnectHex)));
    ASSERT_TRUE(client.hello.deviceName.has_value());
    EXPECT_EQ(*client.hello.deviceName, u"Rig");
    EXPECT_TRUE(client.reporter.values.empty()) << "the client reported a fault";
    ASSERT_EQ(client.store.GetControlCount(), std::size(kRecordChecks));
    for (const RecordCheck& row : kRecordChecks) {
        SCOPED_TRACE("control " + std::to_string(row.id));
        const ControlRecord* record = client.Record(row.id);
        ASSERT_NE(record, nullptr);
        row.check(*record);
    }
}

// Frames the firmware sends during a session: bytes, and what they do in the client.
struct DeviceFrameRow {
    const char* name;
    std::function<void(Values&, Firmware&)> send;
    const char* hex;
    std::function<void(Client&)> check;
};

uint16_t ReadFile(void*, uint32_t offset, uint8_t* out, uint16_t n) {
    for (uint16_t i = 0; i < n; ++i) {
        out[i] = static_cast<uint8_t>('a' + offset + i);
    }
    return n;
}

const DeviceFrameRow kDeviceFrames[] = {
    {"values of a latch, a number and a text",
     [](Values& v, Firmware& f) {
         v.latch = 0;
         v.number = 300;
         std::strcpy(v.text, "Bye");
         ksvd_changed(&f.dev, 1);
         ksvd_changed(&f.dev, 3);
         ksvd_changed(&f.dev, 2);
         f.Poll();
     },

     "5AE3F16B77E4E963000100000200010009000000 "
     "030000000100000001000000000200000008000000427965000000000003000000040000002C010000 ",
     [](Client& c) {
         EXPECT_EQ(c.Record(1)->latchState, 0);
         EXPECT_EQ(c.Record(3)->number, 300);
         EXPECT_EQ(Text(c.Record(2)->text), u"Bye");
     }},
    {"style with a colour",
     [](Values&, Firmware& f) { ksvd_send_style(&f.dev, 4, 0x51, 0x0000FF); },
     "5AE3F16B77E4E963000100000200010010000000 "
     "01000000040000000800000051000000FF000000 ",
     [](Client& c) {
         EXPECT_EQ(c.Record(4)->flags & 0x11u, 0x11u);
         EXPECT_EQ(c.Record(4)->colour, 0x0000FFu);
     }},
    {"a chart row at position 1",
     [](Values&, Firmware& f) {
         const uint8_t row[] = {42, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0};
         ksvd_send_row(&f.dev, 11, row, sizeof row);
     },

     "5AE3F16B77E4E963000100000200010015000000 "
     "010000000B0000000C0000002A0000000200000001000000 ",
     [](Client& c) {
         EXPECT_EQ(c.Record(11)->cells[4], 42);
         EXPECT_EQ(c.Record(11)->cursorWord, 2u);
     }},
    {"a file of 40 bytes in two polls",
     [](Values&, Firmware& f) {
         ksvd_send_file(&f.dev, 13, "log.txt", 40, ReadFile, nullptr);
         std::vector<uint8_t> head = f.written;
         f.Poll();
         head.insert(head.end(), f.written.begin(), f.written.end());
         f.Poll();
         head.insert(head.end(), f.written.begin(), f.written.end());
         f.written = head;
     },

     "5AE3F16B77E4E963000100000200010011000000 "
     "0D00000001000000080000006C6F672E74787400280000006162636465666768696A6B6C6D6E6F707172737475767"
     "778797A7B7C7D7E7F808182838485868788 ",
     [](Client& c) { EXPECT_EQ(c.store.GetFileName(13).empty(), false); }},
};

TEST_F(Golden, SessionFramesDecodeIntoTheSameStoreContent) {
    char folder[] = "/tmp/ksvd-golden-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    client.folder = folder;
    ConnectBoth();
    for (const DeviceFrameRow& row : kDeviceFrames) {
        SCOPED_TRACE(row.name);
        firmware.written.clear();
        row.send(values, firmware);
        EXPECT_EQ(ToHex(firmware.written), ToHex(FromHex(row.hex)));
        const std::vector<int32_t> codes = client.Receive(firmware.written);
        ASSERT_EQ(codes.size(), 1u);
        EXPECT_NE(codes[0], kArrivalError);
        row.check(client);
    }
    EXPECT_TRUE(client.reporter.values.empty()) << "the client reported a fault";
    std::filesystem::remove_all(folder);
}

// The client's Values frame for what is marked in its store.
std::vector<uint8_t> ChangedValues(Client& c) {
    std::vector<uint8_t> payload;
    EncodeChangedValues(c.store.LockStore(), c.reporter, payload);
    return HandheldFrame(kMsgValuesToDevice, payload);
}

// The client's Values frame after the user set `id` to `bytes` (host order for texts).
std::vector<uint8_t> UserSets(Client& c, uint32_t id, const std::vector<uint8_t>& bytes) {
    c.store.SetControlValue(id, bytes.data(), static_cast<uint32_t>(bytes.size()));
    return ChangedValues(c);
}

std::vector<uint8_t> UserTypes(Client& c, uint32_t id, const std::u16string& text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    return UserSets(c, id, std::vector<uint8_t>(bytes, bytes + 2 * text.size()));
}

std::vector<uint8_t> Le32(uint32_t value) {
    std::vector<uint8_t> out;
    PutU32(out, value);
    return out;
}

// Frames the client's senders make, and where they land in the firmware.
struct HandheldFrameRow {
    const char* name;
    std::function<std::vector<uint8_t>(Client&)> make;
    const char* hex;
    std::function<void(const Values&, const Firmware&)> check;
};

const Firmware::Value& LastValue(const Firmware& f) {
    static const Firmware::Value none{0, {}};
    return f.values.empty() ? none : f.values.back();
}

const HandheldFrameRow kHandheldFrames[] = {
    {"latch off", [](Client& c) { return UserSets(c, 1, {0}); },
     "5AE3F16B77E4E963000100000200010007000000 "
     "01000000010000000100000000 ",
     [](const Values& v, const Firmware& f) {
         EXPECT_EQ(v.latch, 0);
         EXPECT_EQ(LastValue(f).id, 1u);
         EXPECT_EQ(LastValue(f).bytes, std::vector<uint8_t>{0});
     }},
    {"text typed", [](Client& c) { return UserTypes(c, 2, u"Yo"); },
     "5AE3F16B77E4E963000100000200010007000000 "
     "010000000200000008000000596F000000000000 ",
     [](const Values& v, const Firmware&) { EXPECT_STREQ(v.text, "Yo"); }},
    {"text too long for its field", [](Client& c) { return UserTypes(c, 2, u"abcdefghij"); },
     "5AE3F16B77E4E963000100000200010007000000 "
     "0100000002000000080000006162636465666700 ",
     [](const Values& v, const Firmware&) { EXPECT_STREQ(v.text, "abcdefg"); }},
    {"number", [](Client& c) { return UserSets(c, 3, Le32(1234)); },
     "5AE3F16B77E4E963000100000200010007000000 "
     "010000000300000004000000D2040000 ",
     [](const Values& v, const Firmware&) { EXPECT_EQ(v.number, 1234); }},
    {"button press", [](Client& c) { return UserSets(c, 4, {1}); },
     "5AE3F16B77E4E963000100000200010007000000 "
     "01000000040000000100000001 ",
     [](const Values& v, const Firmware&) { EXPECT_EQ(v.button, 1); }},
    {"list and date in one frame",
     [](Client& c) {
         c.store.SetControlValue(5, Le32(0).data(), 4);
         const uint8_t date[8] = {9, 9, 9, 9, 9, 9, 0xEB, 0x07};
         return UserSets(c, 6, std::vector<uint8_t>(date, date + 8));
     },

     "5AE3F16B77E4E963000100000200010007000000 "
     "020000000500000004000000000000000600000008000000090909090909EB07 ",
     [](const Values& v, const Firmware& f) {
         EXPECT_EQ(v.list, 0);
         EXPECT_EQ(v.date[6], 0xEB);
         EXPECT_EQ(f.values.size(), 2u);
     }},
    {"message box answer", [](Client& c) { return UserSets(c, 9, {6}); },
     "5AE3F16B77E4E963000100000200010007000000 "
     "01000000090000000100000006 ",
     [](const Values& v, const Firmware& f) {
         EXPECT_STREQ(v.message, "Go?") << "the answer must not overwrite the message";
         EXPECT_EQ(LastValue(f).id, 9u);
         EXPECT_EQ(LastValue(f).bytes, std::vector<uint8_t>{6});
     }},
    {"password",
     [](Client& c) {
         static const std::u16string first = u"secret", second = u"";
         {
             const StoreLock lock = c.store.LockStore();
             ControlRecord* record = lock.FindControl(8);
             record->sendText1 = &first;
             record->sendText2 = &second;
             record->toSend = 1;
         }
         return ChangedValues(c);
     },

     "5AE3F16B77E4E963000100000200010007000000 "
     "010000000800000044000000736563726574000000000000000000000000000000000000000000000000000000000"
     "0000000000000000000000000000000000000000000000000000000000000000000 ",
     [](const Values&, const Firmware& f) {
         ASSERT_EQ(f.passwords.size(), 1u);
         EXPECT_EQ(f.passwords[0].first, "secret");
         EXPECT_EQ(f.passwords[0].second, "");
     }},
    {"blob",
     [](Client& c) {
         return UserSets(c, 10, {9, 8});
     },
     "5AE3F16B77E4E963000100000200010007000000 "
     "010000000A000000020000000908 ",
     [](const Values& v, const Firmware&) {
         EXPECT_EQ(v.blob[0], 9);
         EXPECT_EQ(v.blob[1], 8);
     }},
    {"image tap", [](Client& c) { return UserSets(c, 12, {}); },
     "5AE3F16B77E4E963000100000200010007000000 "
     "010000000C00000000000000 ",
     [](const Values&, const Firmware& f) {
         EXPECT_EQ(LastValue(f).id, 12u);
         EXPECT_TRUE(LastValue(f).bytes.empty());
     }},
    {"layout request", [](Client&) { return HandheldFrame(kMsgLayoutRequest, Le32(256)); },

     "5AE3F16B77E4E963000100000200010012000000 "
     "00010000 ",
     [](const Values&, const Firmware& f) {
         EXPECT_EQ(f.layoutRequests, std::vector<uint32_t>{256});
     }},
    {"acknowledge", [](Client&) { return HandheldFrame(kMsgAcknowledge); },
     "5AE3F16B77E4E96300010000020001000E000000 ",
     [](const Values&, const Firmware& f) { EXPECT_EQ(f.acks, 1); }},
    {"goodbye", [](Client&) { return HandheldFrame(kMsgGoodbyeFromHandheld); },
     "5AE3F16B77E4E963000100000200010004000000 ",
     [](const Values&, const Firmware& f) {
         EXPECT_EQ(f.disconnects, std::vector<uint8_t>{KSVD_END_GOODBYE});
     }},
};

TEST_F(Golden, ClientFramesLandInTheFirmwaresBuffers) {
    ConnectBoth();
    for (const HandheldFrameRow& row : kHandheldFrames) {
        SCOPED_TRACE(row.name);
        firmware.values.clear();
        const std::vector<uint8_t> frame = row.make(client);
        EXPECT_EQ(ToHex(frame), ToHex(FromHex(row.hex)));
        firmware.Feed(frame);
        row.check(values, firmware);
    }
}

} // namespace
} // namespace ksv::device_testing
