#include "platform/TextFont.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

namespace {

using FontKey = std::tuple<std::string, int, int, bool, BYTE, BYTE>;

std::mutex& CacheLock() {
    static std::mutex lock;
    return lock;
}

std::map<FontKey, HFONT>& Cache() {
    static auto* fonts = new std::map<FontKey, HFONT>;  // lives as long as the fonts
    return *fonts;
}

}  // namespace

LOGFONTA AfxTextLogFont(LPCSTR face, int height, int weight, BOOL underline, BYTE quality, BYTE pitchAndFamily) {
    LOGFONTA lf{};
    lf.lfHeight = height > 0 ? -height : height;
    lf.lfWeight = weight;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    if (face) {
        std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
        lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    }
    return lf;
}

HFONT AfxTextFont(LPCSTR face, int height, int weight, BOOL underline, BYTE quality, BYTE pitchAndFamily) {
    const LOGFONTA lf = AfxTextLogFont(face, height, weight, underline, quality, pitchAndFamily);
    const FontKey key{lf.lfFaceName, lf.lfHeight, weight, lf.lfUnderline != 0, quality, pitchAndFamily};
    std::lock_guard<std::mutex> guard(CacheLock());
    HFONT& font = Cache()[key];
    if (!font) font = ::CreateFontIndirectA(&lf);
    return font;
}

SIZE AfxTextExtent(HDC dc, HFONT font, LPCSTR text, int length) {
    SIZE size = {0, 0};
    if (!dc || !text) return size;
    if (length < 0) length = static_cast<int>(std::strlen(text));
    HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    ::GetTextExtentPoint32A(dc, text, length, &size);
    if (old) ::SelectObject(dc, old);
    return size;
}
