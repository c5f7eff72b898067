#pragma once

#include <cstdint>
#include <vector>

// How a device message is put up: its icon and buttons from the control's flags, and the answer
// code each button gives back to the device.

enum class MessageIcon { Stop, Exclamation, Question, Information };
enum class MessageButton { Ok, Cancel, Retry, Yes, No, Abort, Ignore };

struct MessageBoxStyle {
    MessageIcon icon = MessageIcon::Stop;
    std::vector<MessageButton> buttons; // in the order shown
    bool reportsAnswer = false;         // false: the device is not told which button was chosen
};

MessageBoxStyle MessageStyleFromFlags(uint32_t flags);

// 1, 2 or 3 for a button of the style's set (its position), 0 when no answer is reported.
int AnswerCode(const MessageBoxStyle& style, MessageButton button);
