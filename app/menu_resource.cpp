#include "app/menu_resource.h"

#include "resources/resource_ids.h"

namespace {

constexpr MenuItemResource kSeparator{nullptr, 0, false};

} // namespace

const std::vector<MenuPopupResource>& Menu128() {
    static const std::vector<MenuPopupResource> menu{
        {"Navigation",
         {
             {"Previous Page", ID_PAGE_PREVIOUS, false},
             {"Next Page", ID_PAGE_NEXT, false},
             kSeparator,
             {"First Page", ID_PAGE_FIRST, false},
             {"Last Page", ID_PAGE_LAST, false},
             kSeparator,
             {"Close", ID_CLOSE, false},
         }},
        {"Settings",
         {
             {"Layout Controls...", ID_LAYOUT_CONTROLS, false},
             {"Load Recommended Layout", ID_LOAD_RECOMMENDED_LAYOUT, false},
             {"Always Reload Layout on Connect", ID_ALWAYS_RELOAD_LAYOUT, true},
             {"Default Layout", ID_DEFAULT_LAYOUT, false},
             kSeparator,
             {"Pings...", ID_PINGS, false},
             {"Com Ports...", ID_COM_PORTS, false},
             {"Reconnect Automatically", ID_RECONNECT_AUTOMATICALLY, true},
             {"Link Monitor", ID_LINK_MONITOR, false},
             kSeparator,
             // Ctrl+= too: on most layouts "+" needs Shift.
             {"Zoom In", ID_ZOOM_IN, false, "Ctrl++; Ctrl+="},
             {"Zoom Out", ID_ZOOM_OUT, false, "Ctrl+-"},
             {"Actual Size", ID_ZOOM_ACTUAL, false, "Ctrl+0"},
         }},
    };
    return menu;
}
