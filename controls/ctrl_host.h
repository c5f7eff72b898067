#pragma once

#include <QString>
#include <QUrl>

#include <cstdint>

// What controls ask of the panel view that holds them. Thread contract: GUI thread only.
class CtrlHost {
public:
    virtual ~CtrlHost() = default;

    // Every Latch of the group goes off (a grouped latch was tapped).
    virtual void ResetLatchGroup(uint32_t group) = 0;
    // A device message was answered: 18000 + the answer code, and the control's id.
    virtual void PostAnswer(int32_t code, uint32_t controlId) = 0;
    // The last device message on screen was closed.
    virtual void MessageBoxesClosed() = 0;
    // A plain message with a fixed text.
    virtual void ShowUserMessage(const QString& text) = 0;
    // Hands a received file or a blob's address to the desktop.
    virtual void OpenUrl(const QUrl& url) = 0;
};
