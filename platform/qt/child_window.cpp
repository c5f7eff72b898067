#include "platform/qt/child_window.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

namespace ksv::qt {
namespace {

constexpr const char* kIdProperty = "ksvWindowId";
constexpr const char* kStyleProperty = "ksvStyle";

void ApplyStyle(QWidget* window, uint32_t style) {
    window->setProperty(kStyleProperty, QVariant::fromValue(style));
    window->setEnabled((style & kStyleDisabled) == 0);
    auto* label = qobject_cast<QLabel*>(window);
    if (label == nullptr) {
        return;
    }
    label->setFrameShape((style & kStyleBorder) != 0 ? QFrame::Box : QFrame::NoFrame);
    Qt::Alignment horizontal = Qt::AlignLeft;
    if ((style & kStaticCentre) != 0) {
        horizontal = Qt::AlignHCenter;
    } else if ((style & kStaticRight) != 0) {
        horizontal = Qt::AlignRight;
    }
    label->setAlignment(horizontal | Qt::AlignVCenter);
}

void Prepare(QWidget* window, uint32_t style, int id) {
    window->setProperty(kIdProperty, id);
    window->setGeometry(10, 10, 10, 10);
    window->hide();
    ApplyStyle(window, style);
}

} // namespace

int WindowId(const QWidget* window) {
    return window == nullptr ? 0 : window->property(kIdProperty).toInt();
}

uint32_t WindowStyle(const QWidget* window) {
    return window == nullptr ? 0 : window->property(kStyleProperty).value<uint32_t>();
}

QLabel* CreateStatic(QWidget* parent, const QString& text, uint32_t style, int id) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setWordWrap(true);
    Prepare(label, style, id);
    return label;
}

QPushButton* CreatePushButton(QWidget* parent, const QString& text, uint32_t style, int id) {
    auto* button = new QPushButton(text, parent);
    button->setFocusPolicy(Qt::NoFocus);
    Prepare(button, style, id);
    QObject::connect(button, &QAbstractButton::clicked, button, [button]() {
        auto* target = dynamic_cast<CommandTarget*>(button->parentWidget());
        if (target != nullptr) {
            target->OnCommand(WindowId(button), kNotifyClicked, button);
        }
    });
    return button;
}

void ModifyStyle(QWidget* window, uint32_t remove, uint32_t add) {
    if (window == nullptr) {
        return;
    }
    ApplyStyle(window, (WindowStyle(window) & ~remove) | add);
}

void MoveWindow(QWidget* window, int x, int y, int width, int height) {
    if (window == nullptr) {
        return;
    }
    const QRect target(x, y, width < 0 ? 0 : width, height < 0 ? 0 : height);
    if (window->geometry() != target) {
        window->setGeometry(target);
    }
}

void ShowWindow(QWidget* window, bool visible) {
    if (window != nullptr && window->isVisibleTo(window->parentWidget()) != visible) {
        window->setVisible(visible);
    }
}

void EnableWindow(QWidget* window, bool enabled) {
    if (window == nullptr) {
        return;
    }
    const uint32_t style = WindowStyle(window);
    ApplyStyle(window, enabled ? style & ~kStyleDisabled : style | kStyleDisabled);
}

void SetWindowText(QWidget* window, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(window)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(window)) {
        button->setText(text);
    }
}

QString GetWindowText(const QWidget* window) {
    if (auto* label = qobject_cast<const QLabel*>(window)) {
        return label->text();
    }
    if (auto* button = qobject_cast<const QAbstractButton*>(window)) {
        return button->text();
    }
    return QString();
}

void SetWindowColours(QWidget* window, QColor text, QColor background) {
    if (window == nullptr) {
        return;
    }
    QPalette palette = window->palette();
    // A disabled window keeps its background and shows its text halfway to it, so that a
    // disabled page button still looks disabled.
    const QColor faded((text.red() + background.red()) / 2, (text.green() + background.green()) / 2,
                       (text.blue() + background.blue()) / 2);
    for (auto role : {QPalette::Window, QPalette::Button, QPalette::Base}) {
        palette.setColor(role, background);
    }
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        palette.setColor(QPalette::Active, role, text);
        palette.setColor(QPalette::Inactive, role, text);
        palette.setColor(QPalette::Disabled, role, faded);
    }
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

QColor ColourFromRef(uint32_t colourRef) {
    return QColor(static_cast<int>(colourRef & 0xFF), static_cast<int>((colourRef >> 8) & 0xFF),
                  static_cast<int>((colourRef >> 16) & 0xFF));
}

} // namespace ksv::qt
