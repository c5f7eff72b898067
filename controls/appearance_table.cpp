#include "controls/appearance_table.h"

#include "link/control_flags.h"

#include <algorithm>
#include <iterator>

namespace {

// A row belongs to the list of one editability, or to both.
enum class Variant : uint8_t { Both, Editable, ReadOnly };

// What else a control needs for the row's appearance.
enum class Needs : uint8_t { Nothing, Editable, Ungrouped, Range };

struct AppearanceRow {
    ControlKind kind;
    int index;
    const char* name; // null: never listed, shown only from a stored index
    bool offered;     // listed by the dialog
    Variant variant = Variant::Both;
    Needs needs = Needs::Nothing;
};

using K = ControlKind;
constexpr bool kOffered = true;
constexpr bool kStoredOnly = false;

// In index order per kind and variant.
const AppearanceRow kAppearances[] = {
    {K::Unsupported, 0, "???", kOffered},
    {K::Button, 0, "Button", kOffered},
    {K::Text, 0, "Text", kOffered},
    {K::Text, 1, "Text with OK", kOffered, Variant::Both, Needs::Editable},
    {K::Latch, 0, "Latch", kOffered},
    {K::Latch, 1, "Momentary Latch", kOffered, Variant::Both, Needs::Ungrouped},
    {K::Latch, 2, "Check Box", kOffered, Variant::Both, Needs::Ungrouped},
    {K::Section, 0, "Section", kOffered},
    {K::DateTime, 0, "Date/Time (Full screen)", kOffered},
    {K::DateTime, 1, "Date/Time (Inline)", kOffered},
    {K::Number, 0, "Number (Full screen)", kOffered, Variant::Editable},
    {K::Number, 1, "Number with OK", kOffered, Variant::Editable},
    {K::Number, 2, "Number with spin", kOffered, Variant::Editable},
    {K::Number, 4, nullptr, kStoredOnly, Variant::Editable}, // slider
    {K::Number, 0, "Number", kOffered, Variant::ReadOnly},
    {K::Number, 3, nullptr, kStoredOnly, Variant::ReadOnly, Needs::Range}, // bar
    {K::Matrix, 0, "Line Chart", kOffered},
    {K::Matrix, 1, "Column Chart", kOffered},
    {K::Matrix, 2, "Points Chart", kOffered},
    {K::Matrix, 3, "Table", kOffered},
    {K::Matrix, 4, nullptr, kStoredOnly}, // inline line chart
    {K::Matrix, 5, nullptr, kStoredOnly}, // inline column chart
    {K::Matrix, 6, nullptr, kStoredOnly}, // inline points chart
    {K::Matrix, 7, nullptr, kStoredOnly}, // inline table
    {K::Password, 0, "Password", kOffered},
    {K::List, 0, "List (Dropdown)", kOffered},
    {K::List, 1, "List Box", kOffered},
    {K::MessageBox, 0, "Message Box", kOffered},
    {K::Blob, 0, "Blob", kOffered},
    {K::File, 0, "File", kOffered},
    {K::Image, 0, "Image", kStoredOnly}, // named, but the dialog offers no choice
};

bool Editable(const AppearanceContext& c) {
    return (c.flags & ksv::kFlagEditable) != 0;
}

// The row is in the control's list of names.
bool InList(const AppearanceRow& row, const AppearanceContext& c) {
    if (row.kind != c.kind) {
        return false;
    }
    switch (row.variant) {
    case Variant::Editable:
        return Editable(c);
    case Variant::ReadOnly:
        return !Editable(c);
    default:
        return true;
    }
}

// The control has the row's appearance.
bool Available(const AppearanceRow& row, const AppearanceContext& c) {
    if (!InList(row, c)) {
        return false;
    }
    switch (row.needs) {
    case Needs::Editable:
        return Editable(c);
    case Needs::Ungrouped:
        return c.latchGroup == 0;
    case Needs::Range:
        return c.numberHasRange;
    default:
        return true;
    }
}

} // namespace

int OfferedAppearanceCount(const AppearanceContext& context) {
    return static_cast<int>(std::count_if(
        std::begin(kAppearances), std::end(kAppearances),
        [&](const AppearanceRow& row) { return row.offered && Available(row, context); }));
}

const char* AppearanceName(const AppearanceContext& context, int appearance) {
    const char* name = nullptr;
    for (const AppearanceRow& row : kAppearances) {
        if (row.name == nullptr || !InList(row, context)) {
            continue;
        }
        name = row.name;
        if (row.index >= appearance) {
            break;
        }
    }
    return name;
}

bool HasAppearance(const AppearanceContext& context, int appearance) {
    return std::any_of(std::begin(kAppearances), std::end(kAppearances),
                       [&](const AppearanceRow& row) {
                           return row.index == appearance && Available(row, context);
                       });
}

int EffectiveAppearance(const AppearanceContext& context, int appearance) {
    return HasAppearance(context, appearance) ? appearance : 0;
}

int LastAppearance(const AppearanceContext& context) {
    int last = 0;
    for (const AppearanceRow& row : kAppearances) {
        if (Available(row, context)) {
            last = std::max(last, row.index);
        }
    }
    return last;
}
