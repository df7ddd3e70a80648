#include "game/ui/ImageRegion.h"

#include "platform/vantor/CxImage.h"

HRGN CreateRegionFromImage(CxImage* image, COLORREF, int) {
    if (!image) return nullptr;
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (image->AlphaIsValid()) {
        image->SelectionAddAlpha(255, 255);
    } else {
        RGBQUAD key;
        key.rgbBlue = 255;
        key.rgbGreen = 0;
        key.rgbRed = 255;
        key.rgbReserved = 0;
        image->SelectionAddColor(key, 255);
        image->SelectionInvert();
    }
    image->SelectionToHRGN(region);
    return region;
}
