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

// A face's em and cell (its ascent and descent for Windows, usWinAscent +
// usWinDescent) in its design units. Windows reads a positive lfHeight as
// the cell and draws the em that cell holds.
struct FaceCell {
    const char* face;
    int em;
    int cell;
};

const FaceCell kFaceCells[] = {
    {"Arial", 2048, 1854 + 434},
    // The cell is the em.
    {"宋体", 1, 1},
    {"新宋体", 1, 1},
    {"黑体", 1, 1},
    {"SimSun", 1, 1},
    {"NSimSun", 1, 1},
    {"SimHei", 1, 1},
};

// The lfHeight of a height in a face: a cell height becomes the character
// height Windows gives it, rounded as MulDiv rounds.
int CharacterHeight(LPCSTR face, int height) {
    if (height <= 0) return height;
    for (const FaceCell& f : kFaceCells)
        if (face && ::lstrcmpiA(face, f.face) == 0) return -::MulDiv(height, f.em, f.cell);
    return -height;
}

}  // namespace

LOGFONTA AfxTextLogFont(LPCSTR face, int height, int weight, BOOL underline, BYTE quality, BYTE pitchAndFamily) {
    LOGFONTA lf{};
    lf.lfHeight = CharacterHeight(face, height);
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
