#pragma once

// Command, window and message numbers shared by the menus, the view and its controls.

// Menu 128.
inline constexpr int ID_PAGE_PREVIOUS = 32790;
inline constexpr int ID_PAGE_NEXT = 32789;
inline constexpr int ID_PAGE_FIRST = 32791;
inline constexpr int ID_PAGE_LAST = 32792;
inline constexpr int ID_CLOSE = 32801;
inline constexpr int ID_LAYOUT_CONTROLS = 32785;
inline constexpr int ID_LOAD_RECOMMENDED_LAYOUT = 32802;
inline constexpr int ID_ALWAYS_RELOAD_LAYOUT = 32805;
inline constexpr int ID_DEFAULT_LAYOUT = 32803;
inline constexpr int ID_PINGS = 32780;
inline constexpr int ID_COM_PORTS = 32771;
inline constexpr int ID_ZOOM_IN = 32806;
inline constexpr int ID_ZOOM_OUT = 32807;
inline constexpr int ID_ZOOM_ACTUAL = 32808;
inline constexpr int ID_RECONNECT_AUTOMATICALLY = 32809;
inline constexpr int ID_LINK_MONITOR = 32810;

// The view's own buttons; panel controls' windows start after kFirstControlWindowId.
inline constexpr int IDC_BTN_FIRST = 14992;
inline constexpr int IDC_BTN_CONNECT_INBOUND = 14993;
inline constexpr int IDC_BTN_CONNECT = 14994;
inline constexpr int IDC_BTN_EXIT = 14995;
inline constexpr int IDC_BTN_CLOSE = 14996;
inline constexpr int IDC_BTN_LAST = 14997;
inline constexpr int IDC_BTN_PREV = 14998;
inline constexpr int IDC_BTN_NEXT = 14999;
inline constexpr int kFirstControlWindowId = 15000; // the counter's start; the first id is 15001

// Messages posted to the view from other threads.
inline constexpr int WM_PANEL_ARRIVAL = 0x8000;
inline constexpr int WM_PANEL_ANSWER = 0x8001;
inline constexpr int WM_LINK_LOST = 0x8002;
