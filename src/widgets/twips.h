#pragma once

// The window layouts are given in twips; 15 twips make one device-independent pixel and
// Qt's high-DPI scaling does the rest.

#include <QRect>

inline constexpr int twipsToPixels(int twips)
{
    return twips / 15;
}

inline constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}
