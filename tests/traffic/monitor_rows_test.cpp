#include "traffic/frame_ring.h"
#include "traffic/frame_summary.h"
#include "traffic/monitor_rows.h"

#include "link/frame.h"

#include <gtest/gtest.h>

namespace ksv {
namespace {

void PushBare(FrameRing& ring, uint16_t kind) {
    const auto prefix = EncodeFramePrefix(kind);
    ring.OnFrame(TapDirection::kReceived, prefix.data(), prefix.size(), prefix.size());
}

std::vector<std::string> Kinds(const MonitorRows& rows) {
    std::vector<std::string> names;
    for (size_t i = 0; i < rows.Count(); ++i) {
        names.push_back(FrameKindName(rows.At(i)));
    }
    return names;
}

TEST(FrameRing, KeepsTheNewestAndTellsWhatAReaderMissed) {
    FrameRing ring(3);
    for (uint16_t kind : {kMsgDevicePing, kMsgPingReply, kMsgNoOperation, kMsgResetRequest}) {
        PushBare(ring, kind);
    }
    FrameRing::Batch batch = ring.Since(0);
    ASSERT_EQ(batch.frames.size(), 3u);
    EXPECT_EQ(batch.lost, 1u);
    EXPECT_EQ(batch.frames.front()->Kind(), kMsgPingReply);
    EXPECT_EQ(batch.last, 4u);

    EXPECT_TRUE(ring.Since(batch.last).frames.empty());
    ring.OnSkipped(5);
    batch = ring.Since(batch.last);
    ASSERT_EQ(batch.frames.size(), 1u);
    EXPECT_TRUE(batch.frames[0]->skipped);
    EXPECT_EQ(batch.lost, 0u);

    ring.Clear();
    EXPECT_TRUE(ring.Since(0).frames.empty());
    EXPECT_EQ(ring.Since(0).lost, 0u);
}

TEST(MonitorRows, DropsTheOldestAndFiltersByKind) {
    FrameRing ring;
    for (uint16_t kind :
         {kMsgDevicePing, kMsgNoOperation, kMsgDevicePing, kMsgNoOperation, kMsgDevicePing}) {
        PushBare(ring, kind);
    }
    const std::vector<FramePtr> frames = ring.Since(0).frames;
    MonitorRows rows(4);
    rows.SetFilter("DevicePing");
    const std::vector<FramePtr> first(frames.begin(), frames.begin() + 3);
    MonitorRows::Change change = rows.Append(first);
    EXPECT_EQ(change.appended, 2u);
    EXPECT_EQ(rows.Count(), 2u);

    // Two more: the oldest (a DevicePing) goes to make room.
    const std::vector<FramePtr> rest(frames.begin() + 3, frames.end());
    change = rows.Plan(rest);
    EXPECT_EQ(change.dropped, 1u);
    EXPECT_EQ(change.removedFront, 1u);
    EXPECT_EQ(change.appended, 1u);
    rows.DropOldest(change);
    rows.AppendNewest(rest, change);
    EXPECT_EQ(rows.Count(), 2u);

    rows.SetFilter("");
    EXPECT_EQ(Kinds(rows),
              (std::vector<std::string>{"NoOperation", "DevicePing", "NoOperation", "DevicePing"}));
    EXPECT_EQ(rows.KindNames(), (std::vector<std::string>{"DevicePing", "NoOperation"}));

    // A batch larger than the window keeps only its newest.
    MonitorRows small(2);
    change = small.Append(frames);
    EXPECT_EQ(change.appended, 2u);
    EXPECT_EQ(small.At(1).sequence, frames.back()->sequence);
}

} // namespace
} // namespace ksv
