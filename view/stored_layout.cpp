#include "view/stored_layout.h"

namespace {

ksv::Placement PlacementOf(int32_t x, int32_t y, int32_t width, int32_t height, int32_t page) {
    return ksv::Placement{x, y, width, height, page};
}

void TakePlacement(const ksv::Placement& p, int32_t& x, int32_t& y, int32_t& width, int32_t& height,
                   int32_t& page) {
    x = p.x;
    y = p.y;
    width = p.width;
    height = p.height;
    page = p.page;
}

} // namespace

ksv::LayoutTraits LayoutTraitsOf(const CCtrl& ctrl) {
    ksv::LayoutTraits traits;
    traits.openPlacement =
        ctrl.m_kind == ControlKind::Section || ctrl.m_kind == ControlKind::Password;
    traits.image = ctrl.m_kind == ControlKind::Image;
    traits.lastAppearance = ctrl.LastAppearance();
    return traits;
}

ksv::ControlLayout CurrentLayout(const CCtrl& ctrl) {
    ksv::ControlLayout layout;
    layout.autoPlace = ctrl.m_bAutoPlace;
    layout.placement = PlacementOf(ctrl.m_x, ctrl.m_y, ctrl.m_width, ctrl.m_height, ctrl.m_page);
    layout.open = PlacementOf(ctrl.m_xOpen, ctrl.m_yOpen, ctrl.m_widthOpen, ctrl.m_heightOpen,
                              ctrl.m_pageOpen);
    layout.appearance = ctrl.m_appearance;
    layout.fontHeight = ctrl.m_nFontHeight;
    layout.fontBold = ctrl.m_bFontBold;
    layout.border = ctrl.m_bBorder;
    layout.showLabel = ctrl.m_bShowLabel;
    layout.labelFontHeight = ctrl.m_nLabelFontHeight;
    layout.labelBold = ctrl.m_bLabelBold;
    layout.align = ctrl.m_nAlign;
    layout.imageHAlign = ctrl.m_image.m_nImageHAlign;
    layout.imageVAlign = ctrl.m_image.m_nImageVAlign;
    return layout;
}

void ApplyStoredLayout(CCtrl& ctrl, const ksv::LayoutTraits& traits,
                       const ksv::ControlLayout& layout) {
    ctrl.m_appearance = layout.appearance;
    ctrl.m_bAutoPlace = layout.autoPlace;
    if (layout.autoPlace) {
        return;
    }
    TakePlacement(layout.placement, ctrl.m_x, ctrl.m_y, ctrl.m_width, ctrl.m_height, ctrl.m_page);
    ctrl.SetFont(layout.fontHeight, layout.fontBold);
    ctrl.SetLabelFont(layout.labelFontHeight, layout.labelBold);
    ctrl.m_bBorder = layout.border;
    ctrl.m_bShowLabel = layout.showLabel;
    ctrl.m_nAlign = layout.align;
    if (traits.openPlacement) {
        TakePlacement(layout.open, ctrl.m_xOpen, ctrl.m_yOpen, ctrl.m_widthOpen, ctrl.m_heightOpen,
                      ctrl.m_pageOpen);
    }
    if (traits.image) {
        ctrl.m_image.m_nImageHAlign = layout.imageHAlign;
        ctrl.m_image.m_nImageVAlign = layout.imageVAlign;
    }
}

void ApplyStoredPageBarLayout(CCtrl& button, const ksv::ControlLayout& layout) {
    button.m_bAutoPlace = layout.autoPlace;
    if (layout.autoPlace) {
        return;
    }
    TakePlacement(layout.placement, button.m_x, button.m_y, button.m_width, button.m_height,
                  button.m_page);
    button.m_appearance = layout.appearance;
    button.SetFont(layout.fontHeight, layout.fontBold);
}
