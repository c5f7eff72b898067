#include "link/receive_run.h"

#include "link/frame.h"

#include <algorithm>
#include <array>
#include <cerrno>

namespace ksv {
namespace {

RunOutcome Posted(int32_t code) {
    return RunOutcome{true, code};
}

RunOutcome Silent() {
    return RunOutcome{false, kArrivalNone};
}

RunOutcome Failed(ReceiveContext& context, long line, ResultCode result, ReportReason reason) {
    context.reporter.ReportError(line, kLinkModule, AtBoundary(result), reason);
    return Posted(kArrivalError);
}

// `filesWhy`: the cause ReceiveFiles gave for a file it could not save.
ReportReason DecoderFailureReason(ResultCode result, ReportReason filesWhy) {
    if (result == kPlatformFailure && LastPlatformError() == ETIMEDOUT) {
        return ReportReason::MessageStalled;
    }
    return filesWhy;
}

ResultCode HuntMarker(ByteReader& in) {
    std::array<uint8_t, kSyncMarker.size()> window{};
    while (window != kSyncMarker) {
        std::rotate(window.begin(), window.begin() + 1, window.end());
        const ResultCode result = in.ReadBytes(&window.back(), 1);
        if (result != kSuccess) {
            return result;
        }
    }
    return kSuccess;
}

// Kinds whose payload goes into the store and may ask for an acknowledgement.
ResultCode DecodeStorePayload(ByteReader& in, uint16_t kind, ReceiveContext& context,
                              ReportReason& why) {
    switch (kind) {
    case kMsgPanelDescription:
        return DecodePanelDescription(in, context.store, context.reporter);
    case kMsgValuesFromDevice:
        return ApplyValues(in, context.store, context.reporter);
    case kMsgStyleUpdate:
        return ApplyStyles(in, context.store, context.reporter);
    case kMsgFileTransfer:
        return ReceiveFiles(in, context.store, context.reporter, context.host.FilesFolder(), &why);
    default:
        return ApplyMatrixRows(in, context.store, context.reporter);
    }
}

int32_t StoreArrivalCode(uint16_t kind) {
    switch (kind) {
    case kMsgPanelDescription:
        return kArrivalNewPanel;
    case kMsgStyleUpdate:
        return kArrivalStylesChanged;
    case kMsgFileTransfer:
        return kArrivalFilesArrived;
    default:
        return kArrivalValuesChanged;
    }
}

RunOutcome DispatchStoreKind(ByteReader& in, const FrameHeader& header, ReceiveContext& context) {
    ReportReason why = ReportReason::MessageUnreadable; // a read that failed part way
    const ResultCode result = DecodeStorePayload(in, header.kind, context, why);
    if (result == kLinkClosed) {
        if (header.kind == kMsgFileTransfer) {
            KSV_REPORT(context.reporter, kLinkModule, kLinkClosed, FileCutOff);
        }
        return Silent();
    }
    if (result != kSuccess) {
        return Failed(context, __LINE__, result, DecoderFailureReason(result, why));
    }
    if (header.kind == kMsgPanelDescription) {
        StoreHeldLayoutEntries(context.store, context.settings, context.reporter);
    }
    if ((header.flags & kFlagAckRequested) != 0) {
        context.host.SendAcknowledge();
    }
    return Posted(StoreArrivalCode(header.kind));
}

RunOutcome Dispatch(ByteReader& in, const FrameHeader& header, ReceiveContext& context) {
    switch (header.kind) {
    case kMsgHello:
    case kMsgGoodbyeFromDevice:
        return Posted(kArrivalDeviceEnded);
    case kMsgHelloReply: {
        HelloReply reply;
        const ResultCode result = DecodeHelloReply(in, header.flags, reply);
        context.host.OnHelloReply(reply);
        // A failed read is not reported, but a port that went away tells the view nothing.
        return result == kLinkClosed ? Silent() : Posted(kArrivalDeviceName);
    }
    case kMsgDevicePing:
        context.host.SendPingReply();
        return Posted(kArrivalDevicePing);
    case kMsgPingReply:
        context.host.OnPingReply();
        return Posted(kArrivalPingReply);
    case kMsgNoOperation:
        return Posted(kArrivalNothing);
    case kMsgResetRequest:
        return Posted(kArrivalResetLink);
    case kMsgLayoutEntries: {
        const ResultCode result =
            DecodeLayoutEntries(in, context.store, context.settings, context.reporter);
        return result == kLinkClosed ? Silent() : Posted(kArrivalLayoutWritten);
    }
    default:
        return DispatchStoreKind(in, header, context);
    }
}

RunOutcome ReadFrame(ByteReader& in, ReceiveContext& context) {
    std::array<uint8_t, kHeaderSize> headerBytes{};
    const ResultCode result = in.ReadBytes(headerBytes.data(), kHeaderSize);
    if (result == kLinkClosed) {
        return Silent();
    }
    if (result != kSuccess) {
        return Failed(context, __LINE__, result, ReportReason::PortReadFailed);
    }
    const FrameHeader header = DecodeFrameHeader(headerBytes.data());
    if (!IsReceivedKind(header.kind)) {
        return Failed(context, __LINE__, kWrongKind, ReportReason::UnknownMessageKind);
    }
    return Dispatch(in, header, context);
}

} // namespace

RunOutcome ReceiveOneMessage(ByteReader& in, ReceiveContext& context) {
    const ResultCode result = HuntMarker(in);
    if (result == kLinkClosed) {
        return Silent();
    }
    if (result != kSuccess) {
        return Failed(context, __LINE__, result, ReportReason::PortReadFailed);
    }
    in.SetInFrame(true);
    const RunOutcome outcome = ReadFrame(in, context);
    in.SetInFrame(false);
    return outcome;
}

} // namespace ksv
