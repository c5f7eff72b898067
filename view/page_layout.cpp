#include "view/page_layout.h"

#include <algorithm>

namespace {

// Hidden controls and message boxes take no room in a row.
bool TakesNoRoom(const CCtrl& ctrl) {
    return !ctrl.IsShown() || ctrl.m_kind == ControlKind::MessageBox;
}

} // namespace

void SetDefaultSize(CCtrl& ctrl) {
    const bool editable = (ctrl.m_flags & kFlagEditable) != 0;
    int width = kStandardWidth;
    int height = kStandardHeight;
    switch (ctrl.m_kind) {
    case ControlKind::Text:
        height = editable ? 26 : kStandardHeight;
        break;
    case ControlKind::Number:
        height =
            editable && (ctrl.m_appearance == 1 || ctrl.m_appearance == 2) ? 26 : kStandardHeight;
        break;
    case ControlKind::Password:
        width = 236;
        height = 26;
        break;
    case ControlKind::List:
        height = ctrl.m_appearance == 1 ? kStandardHeight : 26;
        break;
    case ControlKind::Image:
        return;
    default:
        break;
    }
    ctrl.m_width = width;
    ctrl.m_height = height;
}

int FirstFreePage(const std::set<int>& storedPages, int from) {
    int page = from;
    while (storedPages.count(page) != 0) {
        ++page;
    }
    return page;
}

void FlowRow(CCtrl* ctrls, uint32_t count, uint32_t& index, int& y, int& page, const FlowArea& area,
             const FlowSpacing& spacing, const std::set<int>& storedPages) {
    if (index >= count) {
        return;
    }
    const uint32_t start = index;
    int x = spacing.gap;
    int rowHeight = 0;
    uint32_t skipped = 0;
    for (;;) {
        CCtrl& ctrl = ctrls[index];
        if (TakesNoRoom(ctrl)) {
            ++skipped;
        } else {
            ctrl.m_x = x;
            rowHeight = std::max(rowHeight, ctrl.m_height);
            x += ctrl.m_width + spacing.gap;
        }
        ++index;
        while (index < count && TakesNoRoom(ctrls[index])) {
            ++skipped;
            ++index;
        }
        if (index >= count || x + ctrls[index].m_width + spacing.gap > area.right ||
            (ctrls[index].m_flags & kFlagNewRow) != 0) {
            break;
        }
    }

    // The first row of a page is always placed, however tall.
    if (y != 0 && y + 2 * spacing.gap + rowHeight > area.bottom) {
        y = 0;
        page = FirstFreePage(storedPages, page + 1);
    }

    const uint32_t shown = index - skipped - start;
    if (spacing.justify && shown > 1) {
        const auto freeSpace = static_cast<uint32_t>(area.right - x);
        const uint32_t q = freeSpace / (shown - 1);
        const uint32_t r = freeSpace % (shown - 1);
        if (q <= static_cast<uint32_t>(spacing.maxSpread)) {
            // Only the gaps between controls that take room are widened, the first r of
            // them by one pixel more; a control passed over keeps the offset so far.
            uint32_t acc = 0;
            uint32_t gap = 0;
            bool first = true;
            for (uint32_t k = start; k < index; ++k) {
                if (!TakesNoRoom(ctrls[k])) {
                    if (!first) {
                        ++gap;
                        acc += q + (gap <= r ? 1 : 0);
                    }
                    first = false;
                }
                ctrls[k].m_x += static_cast<int>(acc);
            }
        }
    }

    for (uint32_t k = start; k < index; ++k) {
        ctrls[k].m_y = spacing.gap + y;
        ctrls[k].m_page = page;
    }
    y += spacing.gap + rowHeight;
}

void FlowControls(CCtrl* ctrls, uint32_t count, const std::set<int>& storedPages,
                  const FlowArea& area, const FlowSpacing& spacing) {
    uint32_t index = 0;
    int y = 0;
    int page = FirstFreePage(storedPages);
    while (index < count) {
        FlowRow(ctrls, count, index, y, page, area, spacing, storedPages);
    }
}

QPoint StartScreenPosition(const QRect& area, int quarter, int width, int height) {
    const int l = area.left();
    const int t = area.top();
    const int w = area.width();
    const int h = area.height();
    return QPoint(l + w / 2 - width / 2, t + (quarter * h) / 4 - height / 2);
}
