#include "controls/device_message_box.h"

#include "controls/ctrl_host.h"
#include "controls/message_box_style.h"
#include "platform/qt/message_box_count.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>

#include <iostream>

namespace {

constexpr int32_t kAnswerBase = 18000;

QMessageBox::Icon IconOf(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Stop:
        break;
    }
    return QMessageBox::Critical;
}

QMessageBox::StandardButton StandardOf(MessageButton button) {
    switch (button) {
    case MessageButton::Ok:
        return QMessageBox::Ok;
    case MessageButton::Cancel:
        return QMessageBox::Cancel;
    case MessageButton::Retry:
        return QMessageBox::Retry;
    case MessageButton::Yes:
        return QMessageBox::Yes;
    case MessageButton::No:
        return QMessageBox::No;
    case MessageButton::Abort:
        return QMessageBox::Abort;
    case MessageButton::Ignore:
        return QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

// One device message on screen; counted from construction until it is answered or destroyed.
class CDeviceMessageBox : public QMessageBox {
public:
    CDeviceMessageBox(QWidget* parent, const DeviceMessage& message, CtrlHost* host)
        : QMessageBox(parent), m_message(message), m_style(MessageStyleFromFlags(message.flags)),
          m_host(host) {
        ++OpenMessageBoxCount();
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowModality(Qt::NonModal);
        setIcon(IconOf(m_style.icon));
        QString text = message.text;
        if (text.size() > kMaxMessageChars) {
            text = text.left(kMaxMessageChars) + QChar(0x2026);
        }
        setText(text);
        for (MessageButton button : m_style.buttons) {
            addButton(StandardOf(button));
        }
        QObject::connect(this, &QMessageBox::buttonClicked, this,
                         [this](QAbstractButton* clicked) { Answer(clicked); });
        QObject::connect(this, &QDialog::finished, this, [this]() { Close(); });
    }

    ~CDeviceMessageBox() override {
        if (!m_closed) {
            --OpenMessageBoxCount();
        }
    }

private:
    void Answer(QAbstractButton* clicked) {
        for (MessageButton candidate : m_style.buttons) {
            if (button(StandardOf(candidate)) == clicked) {
                m_answer = AnswerCode(m_style, candidate);
            }
        }
    }

    void Close() {
        if (m_closed) {
            return;
        }
        m_closed = true;
        const int remaining = --OpenMessageBoxCount();
        if (m_host == nullptr) {
            return;
        }
        if (m_answer != 0) {
            m_host->PostAnswer(kAnswerBase + m_answer, m_message.controlId);
        }
        if (remaining == 0) {
            m_host->MessageBoxesClosed();
        }
    }

    DeviceMessage m_message;
    MessageBoxStyle m_style;
    CtrlHost* m_host;
    int m_answer = 0;
    bool m_closed = false;
};

} // namespace

bool OpenDeviceMessageBox(QWidget* parent, const DeviceMessage& message, CtrlHost* host) {
    if (OpenMessageBoxCount() >= kMaxOpenMessageBoxes) {
        std::cerr << "kestrovane: " << kMaxOpenMessageBoxes
                  << " device messages are open; the message of control " << message.controlId
                  << " is not shown: " << message.text.left(80).toStdString() << "\n";
        return false;
    }
    auto* box = new CDeviceMessageBox(parent, message, host);
    box->setWindowFlag(Qt::Window);
    box->show();
    return true;
}
