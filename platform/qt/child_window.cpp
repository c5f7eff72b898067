#include "platform/qt/child_window.h"

#include "platform/qt/eliding_header.h"
#include "platform/qt/fitted_text.h"
#include "platform/qt/panel_windows.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTimeEdit>

namespace ksv::qt {
namespace {

constexpr const char* kIdProperty = "ksvWindowId";
constexpr const char* kStyleProperty = "ksvStyle";
constexpr const char* kFontProperty = "ksvFont";
constexpr const char* kCaptionProperty = "ksvCaption";
constexpr const char* kPlacedProperty = "ksvPlaced";
constexpr int kSmallestFittedPixels = 8;
constexpr int kShortCaption = 3; // characters; shrunk as far as it takes, never elided

QString CaptionOf(const QWidget* window) {
    return window->property(kCaptionProperty).toString();
}

QString WithoutShortcut(QString caption) {
    return caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void ShowWhole(QWidget* window) {
    const QString caption = CaptionOf(window);
    if (auto* button = qobject_cast<QAbstractButton*>(window)) {
        button->setText(WithoutShortcut(caption));
    } else if (auto* label = qobject_cast<QLabel*>(window)) {
        label->setText(caption);
    }
}

int CaptionRoom(QAbstractButton* button) {
    if (const auto* panelButton = qobject_cast<PanelButton*>(button)) {
        return panelButton->CaptionRect().width();
    }
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = CaptionOf(button);
    const bool checkBox = qobject_cast<QCheckBox*>(button) != nullptr;
    return button->style()
        ->subElementRect(checkBox ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents,
                         &option, button)
        .width();
}

// The caption at the largest pixel size, down to two thirds of the font's own, at which it
// fits; elided beyond that, whole in the tooltip. A "&" shows as itself.
void FitButtonText(QAbstractButton* button) {
    const QString caption = CaptionOf(button);
    if (!button->property(kFontProperty).isValid()) {
        button->setProperty(kFontProperty, button->font());
    }
    QFont font = button->property(kFontProperty).value<QFont>();
    const int room = CaptionRoom(button);
    // "OK", "+" and "-" mean nothing elided.
    const int smallest = caption.size() <= kShortCaption
                             ? kSmallestFittedPixels
                             : std::max(kSmallestFittedPixels, font.pixelSize() * 2 / 3);
    while (font.pixelSize() > smallest && QFontMetrics(font).horizontalAdvance(caption) > room) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    if (button->font() != font) {
        button->setFont(font);
    }
    const QString shown = FitLine(caption, font, room);
    const QString escaped = WithoutShortcut(shown);
    if (button->text() != escaped) {
        button->setText(escaped);
    }
    button->setToolTip(shown != caption ? caption : QString());
}

// Where a label draws its text: inside its frame, margin and indent.
QSize LabelRoom(const QLabel& label) {
    const int margin = label.margin();
    QRect room = label.contentsRect().adjusted(margin, margin, -margin, -margin);
    int indent = label.indent();
    if (indent < 0 && label.frameWidth() > 0) {
        indent = label.fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin;
    }
    if (indent > 0 && (label.alignment() & (Qt::AlignLeft | Qt::AlignRight)) != 0) {
        room.setWidth(room.width() - indent);
    }
    return room.size();
}

void FitLabelText(QLabel* label) {
    const QString caption = CaptionOf(label);
    const QString shown = FitWrappedText(caption, label->font(), LabelRoom(*label));
    if (label->text() != shown) {
        label->setText(shown);
    }
    label->setToolTip(shown != caption ? caption : QString());
}

// Shows the window's caption as far as it fits; whole until the window has its place.
void FitText(QWidget* window) {
    if (!window->property(kCaptionProperty).isValid()) {
        return;
    }
    if (!window->property(kPlacedProperty).toBool()) {
        ShowWhole(window);
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(window)) {
        FitButtonText(button);
    } else if (auto* label = qobject_cast<QLabel*>(window)) {
        FitLabelText(label);
    }
}

void SetCaption(QWidget* window, const QString& caption) {
    window->setProperty(kCaptionProperty, caption);
    FitText(window);
}

Qt::Alignment HorizontalAlignment(uint32_t style) {
    if ((style & kStaticCentre) != 0) {
        return Qt::AlignHCenter;
    }
    return (style & kStaticRight) != 0 ? Qt::AlignRight : Qt::AlignLeft;
}

void ApplyStyle(QWidget* window, uint32_t style) {
    window->setProperty(kStyleProperty, QVariant::fromValue(style));
    window->setEnabled((style & kStyleDisabled) == 0);
    if (auto* label = qobject_cast<QLabel*>(window)) {
        label->setFrameShape((style & kStyleBorder) != 0 ? QFrame::Box : QFrame::NoFrame);
        label->setAlignment(HorizontalAlignment(style) | Qt::AlignVCenter);
        FitText(label); // a frame takes room
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(window)) {
        edit->setEchoMode((style & kEditPassword) != 0 ? QLineEdit::Password : QLineEdit::Normal);
        edit->setAlignment(((style & kEditRight) != 0 ? Qt::AlignRight : Qt::AlignLeft) |
                           Qt::AlignVCenter);
    }
}

void Prepare(QWidget* window, uint32_t style, int id) {
    window->setProperty(kIdProperty, id);
    window->setGeometry(10, 10, 10, 10);
    window->hide();
    ApplyStyle(window, style);
}

void Notify(QWidget* window, int code) {
    auto* target = dynamic_cast<CommandTarget*>(window->parentWidget());
    if (target != nullptr) {
        target->OnCommand(WindowId(window), code, window);
    }
}

void NotifyClicks(QAbstractButton* button) {
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [button]() { Notify(button, kNotifyClicked); });
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
    label->setWordWrap(true);
    Prepare(label, style, id);
    SetCaption(label, text);
    return label;
}

QPushButton* CreatePushButton(QWidget* parent, const QString& text, uint32_t style, int id) {
    auto* button = new PanelButton(parent);
    Prepare(button, style, id);
    SetCaption(button, text);
    NotifyClicks(button);
    return button;
}

QCheckBox* CreateCheckBox(QWidget* parent, const QString& text, uint32_t style, int id) {
    auto* box = new QCheckBox(parent);
    box->setFocusPolicy(Qt::TabFocus);
    // A box of its own non-exclusive group: unchecking a button without one searches all its
    // siblings for a checked one, and a panel's view has thousands.
    auto* group = new QButtonGroup(box);
    group->setExclusive(false);
    group->addButton(box);
    Prepare(box, style, id);
    SetCaption(box, text);
    NotifyClicks(box);
    return box;
}

QLineEdit* CreateEdit(QWidget* parent, const QString& text, uint32_t style, int id) {
    auto* edit = new QLineEdit(text, parent);
    Prepare(edit, style, id);
    // textEdited, not textChanged: what the program sets is never taken for typing.
    QObject::connect(edit, &QLineEdit::textEdited, edit,
                     [edit]() { Notify(edit, kNotifyEditChange); });
    QObject::connect(edit, &QLineEdit::returnPressed, edit,
                     [edit]() { Notify(edit, kNotifyEditEnter); });
    return edit;
}

QComboBox* CreateDropDownList(QWidget* parent, const QStringList& items, uint32_t style, int id) {
    auto* combo = new PanelDropDown(parent);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    Prepare(combo, style, id);
    QObject::connect(combo, qOverload<int>(&QComboBox::activated), combo,
                     [combo]() { Notify(combo, kNotifySelChange); });
    return combo;
}

QListWidget* CreateListBox(QWidget* parent, const QStringList& items, uint32_t style, int id) {
    auto* list = new QListWidget(parent);
    list->addItems(items);
    list->setCurrentRow(-1);
    list->setUniformItemSizes(true);
    Prepare(list, style, id);
    QObject::connect(list, &QListWidget::currentRowChanged, list,
                     [list]() { Notify(list, kNotifySelChange); });
    return list;
}

QDateEdit* CreateDatePicker(QWidget* parent, uint32_t style, int id) {
    auto* picker = new QDateEdit(parent);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    Prepare(picker, style, id);
    QObject::connect(picker, &QDateEdit::dateChanged, picker,
                     [picker]() { Notify(picker, kNotifyPickerChange); });
    return picker;
}

QTimeEdit* CreateTimePicker(QWidget* parent, uint32_t style, int id) {
    auto* picker = new QTimeEdit(parent);
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    Prepare(picker, style, id);
    QObject::connect(picker, &QTimeEdit::timeChanged, picker,
                     [picker]() { Notify(picker, kNotifyPickerChange); });
    return picker;
}

QSlider* CreateSlider(QWidget* parent, uint32_t style, int id) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setTickPosition(QSlider::NoTicks);
    Prepare(slider, style, id);
    // Steps by key, page or wheel notify at once; a drag notifies when the thumb is let go.
    QObject::connect(slider, &QSlider::valueChanged, slider, [slider]() {
        if (!slider->isSliderDown()) {
            Notify(slider, kNotifyScrolled);
        }
    });
    QObject::connect(slider, &QSlider::sliderReleased, slider,
                     [slider]() { Notify(slider, kNotifyScrolled); });
    return slider;
}

QTableView* CreateReportView(QWidget* parent, QAbstractItemModel* model, uint32_t style, int id) {
    auto* view = new QTableView(parent);
    UseElidingHeader(view);
    view->setModel(model);
    view->verticalHeader()->hide();
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setWordWrap(false);
    view->horizontalHeader()->setSectionsClickable(false);
    view->horizontalHeader()->setHighlightSections(false);
    Prepare(view, style, id);
    return view;
}

void AdoptWindow(QWidget* window, uint32_t style, int id) {
    Prepare(window, style, id);
    if (auto* button = qobject_cast<QAbstractButton*>(window)) {
        button->setFocusPolicy(Qt::NoFocus);
        SetCaption(button, button->text());
        NotifyClicks(button);
    }
}

void ModifyStyle(QWidget* window, uint32_t remove, uint32_t add) {
    if (window == nullptr) {
        return;
    }
    const uint32_t style = (WindowStyle(window) & ~remove) | add;
    if (style != WindowStyle(window)) {
        ApplyStyle(window, style);
    }
}

void MoveWindow(QWidget* window, int x, int y, int width, int height) {
    if (window == nullptr) {
        return;
    }
    const QRect target(x, y, width < 0 ? 0 : width, height < 0 ? 0 : height);
    if (window->geometry() != target) {
        window->setGeometry(target);
        window->setProperty(kPlacedProperty, true);
        FitText(window);
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
    if (qobject_cast<QLabel*>(window) != nullptr || qobject_cast<QAbstractButton*>(window)) {
        if (CaptionOf(window) != text || !window->property(kCaptionProperty).isValid()) {
            SetCaption(window, text);
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(window); edit && edit->text() != text) {
        const QSignalBlocker quiet(edit);
        edit->setText(text);
    }
}

QString GetWindowText(const QWidget* window) {
    if (qobject_cast<const QLabel*>(window) != nullptr ||
        qobject_cast<const QAbstractButton*>(window) != nullptr) {
        return CaptionOf(window);
    }
    if (auto* edit = qobject_cast<const QLineEdit*>(window)) {
        return edit->text();
    }
    if (auto* combo = qobject_cast<const QComboBox*>(window)) {
        return combo->currentText();
    }
    if (auto* picker = qobject_cast<const QDateTimeEdit*>(window)) {
        return picker->text();
    }
    return QString();
}

void SetWindowFont(QWidget* window, const QFont& font) {
    if (window == nullptr) {
        return;
    }
    if (qobject_cast<QAbstractButton*>(window) != nullptr) {
        window->setProperty(kFontProperty, font);
    } else if (window->font() != font) {
        window->setFont(font);
    }
    FitText(window);
}

void SetWindowColours(QWidget* window, QColor text, QColor background) {
    if (window == nullptr) {
        return;
    }
    // Most calls give a window the colours it has: they cost no new palette.
    const QPalette& current = window->palette();
    if (window->autoFillBackground() && current.color(QPalette::Window) == background &&
        current.color(QPalette::Active, QPalette::WindowText) == text) {
        return;
    }
    QPalette palette = current;
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
    if (palette != window->palette()) {
        window->setPalette(palette);
    }
    window->setAutoFillBackground(true);
}

void SetCheck(QCheckBox* box, bool checked) {
    if (box != nullptr) {
        const QSignalBlocker quiet(box);
        box->setChecked(checked);
    }
}

void SetEditLimit(QLineEdit* edit, int characters) {
    if (edit == nullptr) {
        return;
    }
    // A limit of 0 accepts nothing: the edit stays, but read-only.
    edit->setMaxLength(characters < 1 ? 1 : characters);
    edit->setReadOnly(characters < 1);
    if (characters < 1) {
        SetWindowText(edit, QString());
    }
}

void SetListSelection(QWidget* list, int index) {
    if (auto* combo = qobject_cast<QComboBox*>(list)) {
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    } else if (auto* box = qobject_cast<QListWidget*>(list)) {
        const bool valid = index >= 0 && index < box->count();
        if (box->currentRow() == (valid ? index : -1)) {
            return;
        }
        const QSignalBlocker quiet(box);
        box->setCurrentRow(valid ? index : -1);
        if (!valid) {
            box->clearSelection();
        }
        // A hidden list box is scrolled when it is shown.
        if (box->isVisibleTo(box->parentWidget())) {
            ScrollToSelection(box);
        }
    }
}

void ScrollToSelection(QWidget* list) {
    auto* box = qobject_cast<QListWidget*>(list);
    if (box != nullptr && box->currentItem() != nullptr) {
        box->scrollToItem(box->currentItem(), QAbstractItemView::PositionAtTop);
    }
}

int GetListSelection(const QWidget* list) {
    if (auto* combo = qobject_cast<const QComboBox*>(list)) {
        return combo->currentIndex();
    }
    if (auto* box = qobject_cast<const QListWidget*>(list)) {
        return box->currentRow();
    }
    return -1;
}

void SetPickerDate(QDateEdit* picker, int year, int month, int day) {
    const QDate date(year, month, day);
    if (picker != nullptr && date.isValid() && date != picker->date()) {
        const QSignalBlocker quiet(picker);
        picker->setDate(date);
    }
}

void SetPickerTime(QTimeEdit* picker, int hour, int minute, int second) {
    const QTime time(hour, minute, second);
    if (picker != nullptr && time.isValid() && time != picker->time()) {
        const QSignalBlocker quiet(picker);
        picker->setTime(time);
    }
}

void SetSliderRange(QSlider* slider, int minimum, int maximum, int position) {
    if (slider != nullptr) {
        const QSignalBlocker quiet(slider);
        slider->setRange(minimum, maximum);
        slider->setValue(position);
    }
}

QColor ColourFromRef(uint32_t colourRef) {
    return QColor(static_cast<int>(colourRef & 0xFF), static_cast<int>((colourRef >> 8) & 0xFF),
                  static_cast<int>((colourRef >> 16) & 0xFF));
}

} // namespace ksv::qt
