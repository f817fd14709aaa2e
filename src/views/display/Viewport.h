#pragma once
// The visible size of a window's display area in twips, measured once when the window is laid out.
struct Viewport {
    int width = 0;
    int height = 0;
};
