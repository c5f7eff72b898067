#include "controls/message_box_style.h"

#include "link/control_flags.h"

#include <algorithm>

MessageBoxStyle MessageStyleFromFlags(uint32_t flags) {
    MessageBoxStyle style;
    switch (flags & ksv::kFlagIconMask) {
    case ksv::kFlagIconExclamation:
        style.icon = MessageIcon::Exclamation;
        break;
    case ksv::kFlagIconQuestion:
        style.icon = MessageIcon::Question;
        break;
    case ksv::kFlagIconInformation:
        style.icon = MessageIcon::Information;
        break;
    default:
        style.icon = MessageIcon::Stop;
        break;
    }
    style.reportsAnswer = true;
    using B = MessageButton;
    switch (flags & ksv::kFlagButtonsMask) {
    case ksv::kFlagButtonsOkCancel:
        style.buttons = {B::Ok, B::Cancel};
        break;
    case ksv::kFlagButtonsRetryCancel:
        style.buttons = {B::Retry, B::Cancel};
        break;
    case ksv::kFlagButtonsYesNo:
        style.buttons = {B::Yes, B::No};
        break;
    case ksv::kFlagButtonsYesNoCancel:
        style.buttons = {B::Yes, B::No, B::Cancel};
        break;
    case ksv::kFlagButtonsAbortRetryIgnore:
        style.buttons = {B::Abort, B::Retry, B::Ignore};
        break;
    case ksv::kFlagButtonsOkSilent:
        style.buttons = {B::Ok};
        style.reportsAnswer = false;
        break;
    default: // kFlagButtonsOk, kFlagButtonsOkToo
        style.buttons = {B::Ok};
        break;
    }
    return style;
}

int AnswerCode(const MessageBoxStyle& style, MessageButton button) {
    if (!style.reportsAnswer) {
        return 0;
    }
    const auto at = std::find(style.buttons.begin(), style.buttons.end(), button);
    return at == style.buttons.end() ? 0 : static_cast<int>(at - style.buttons.begin()) + 1;
}
