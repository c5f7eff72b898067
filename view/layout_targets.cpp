#include "view/layout_targets.h"

#include "platform/layout/layout_ranges.h"

std::vector<ControlListLine> ControlListLines(const CCtrl* ctrls, uint32_t count) {
    std::vector<ControlListLine> lines;
    lines.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const CCtrl& ctrl = ctrls[i];
        if (!ctrl.IsShown() && ctrl.m_kind != ControlKind::MessageBox) {
            continue;
        }
        ControlListLine line;
        line.name = ctrl.ListName();
        line.index = static_cast<int>(i);
        if (ctrl.m_kind == ControlKind::Section || ctrl.m_kind == ControlKind::Password) {
            line.open = ctrl.m_state != 0;
        }
        lines.push_back(line);
    }
    return lines;
}

AppearanceValues AppearanceValuesOf(const CCtrl& target, bool severalSelected) {
    AppearanceValues values;
    const bool open = target.UsesOpenPlacement();
    values.x = open ? target.m_xOpen : target.m_x;
    values.y = open ? target.m_yOpen : target.m_y;
    values.width = open ? target.m_widthOpen : target.m_width;
    values.height = open ? target.m_heightOpen : target.m_height;
    values.page = open ? target.m_pageOpen : target.m_page;
    values.fontHeight = target.m_nFontHeight;
    values.bold = target.m_bFontBold;
    values.appearance = target.m_appearance;
    values.severalSelected = severalSelected;
    return values;
}

QStringList AppearanceNames(const CCtrl& target) {
    QStringList names;
    for (int i = 0; i < target.GetAppearanceCount(); ++i) {
        names.push_back(target.GetKindName(i));
    }
    return names;
}

void ApplyAppearanceValues(CCtrl& target, const AppearanceValues& values) {
    const bool single = !values.severalSelected;
    // The dialog bounds the size and font; place and page may be any number typed.
    const int32_t x = ksv::SanitiseCoordinate(values.x);
    const int32_t y = ksv::SanitiseCoordinate(values.y);
    const int32_t width = ksv::SanitiseExtent(values.width);
    const int32_t height = ksv::SanitiseExtent(values.height);
    const int32_t page = ksv::SanitisePage(values.page);
    const bool open = target.UsesOpenPlacement();
    (open ? target.m_widthOpen : target.m_width) = width;
    (open ? target.m_heightOpen : target.m_height) = height;
    if (single) {
        (open ? target.m_xOpen : target.m_x) = x;
        (open ? target.m_yOpen : target.m_y) = y;
        (open ? target.m_pageOpen : target.m_page) = page;
        target.m_appearance = ksv::SanitiseAppearance(values.appearance, target.LastAppearance());
    }
    target.SetFont(ksv::SanitiseFontHeight(values.fontHeight), values.bold);
    target.m_bAutoPlace = false;
}
