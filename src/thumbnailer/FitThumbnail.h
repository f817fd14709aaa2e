#pragma once
// A thumbnail's pixels from the icon's: smooth down-scaling without Qt Gui.
#include "imaging/Pixels.h"

// `icon` scaled down smoothly to fit `size` x `size`, its proportions kept; never scaled up. Each
// pixel is the average of the area it covers, weighted by alpha, so that transparent pixels give
// their colour to none.
Pixels FitThumbnail(const Pixels &icon, int size);
