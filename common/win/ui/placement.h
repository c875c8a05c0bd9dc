// Where windows go when they open: over their owner, or centred on the screen, and always whole on the
// work area of one monitor (the taskbar and the screen's edges never hide a part of them).
#pragma once
#include <windows.h>

namespace common::ui {

// The work area of the monitor holding most of `hwnd`; the primary monitor's when there is none.
RECT WorkAreaOf(HWND hwnd);
// `r` moved, not resized, so that it lies on `area`; when larger, its top-left corner stays on it.
RECT KeptInside(RECT r, const RECT& area);
// The outer rectangle of a w x h window centred over `owner` (or on the screen without one), kept whole
// on the owner's monitor's work area.
RECT PlacedOver(HWND owner, int w, int h);
// Moves and sizes a window already made to PlacedOver(owner, w, h), not activating it.
void PlaceOver(HWND hwnd, HWND owner, int w, int h);

}  // namespace common::ui
