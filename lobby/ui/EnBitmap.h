// GDI bitmaps made from picture files (BMP, GIF, JPEG through the system
// picture loader), drawn plainly or with a key colour left out, or turned
// into a window region.
#pragma once

#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include "platform/Gdi.h"

class CEnBitmap : public CBitmap {
public:
    // Fails (0) when a bitmap is already held or the file cannot be read.
    BOOL LoadImageFile(LPCSTR path, COLORREF background = static_cast<COLORREF>(-1));
    // A picture of the bytes (system picture loader), or null; the caller releases it.
    static IPicture* LoadFromBuffer(const BYTE* bytes, size_t length);
    // Renders the picture upright into a new bitmap of its pixel size,
    // filled first with background unless it is -1.
    BOOL RenderPicture(IPicture* picture, COLORREF background);
};

class CMyBitmap : public CEnBitmap {
public:
    BOOL LoadFile(LPCSTR path);
    bool IsLoaded() const { return m_bLoaded; }

    // Source rectangle null: the whole bitmap.
    BOOL DrawPlain(CDC* dc, int x, int y, const RECT* source = nullptr);
    BOOL DrawTransparent(CDC* dc, int x, int y, int width, int height, CBitmap* bitmap, int srcX, int srcY,
                         COLORREF key, HPALETTE palette = nullptr);
    BOOL Draw(CDC* dc, int x, int y, const RECT* source, COLORREF key, BOOL transparent);
    // Every pixel not of the key colour; the caller owns the region.
    HRGN CreateRegion(COLORREF key);
    CSize Size() const;

private:
    bool m_bLoaded = false;
};
