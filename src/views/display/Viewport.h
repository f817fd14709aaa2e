#pragma once
// The visible size of the display area in twips, measured once when the window is laid out.
inline int ViewportWidth = 0;
inline int ViewportHeight = 0;
