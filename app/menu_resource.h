#pragma once

#include <vector>

// Menu 128: the main frame's "Navigation" and "Settings" pop-ups.
struct MenuItemResource {
    const char* text; // null for a separator
    int commandId;    // 0 for a separator
    bool checkable;
    const char* shortcuts = nullptr; // key sequences in portable text, "; " between them
};

struct MenuPopupResource {
    const char* title;
    std::vector<MenuItemResource> items;
};

const std::vector<MenuPopupResource>& Menu128();
