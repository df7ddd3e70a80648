// CGameImages: the table's pictures, loaded once from the files below
// fenlo\image of the current directory and numbered by entry. The table owns
// every picture it loaded; users borrow them and never replace an entry.
// A button set's fourth entry is the window region made from its up face
// (GetRegion); regions live as long as the process.
#pragma once

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <string>

#include "game/core/TableSide.h"

class CxImage;

class CGameImages : public CTablePictures {
public:
    static const int kEntryCount = 376;
    // Entries of the card faces: kFirstFace + deck index (0..53; 52 and 53
    // are the jokers), and of the two card backs.
    static const int kFirstFace = 7;
    static const int kFirstBack = 61;
    // The backs and faces turned a quarter left (64, 65, 66 + k) and right
    // (120, 121, 122 + k).
    static const int kLeftBacks = 64;
    static const int kLeftFaces = 66;
    static const int kRightBacks = 120;
    static const int kRightFaces = 122;

    // Loads every table picture. A missing or unreadable file leaves an empty
    // picture in its entry, which draws nothing.
    CGameImages();
    ~CGameImages() override;

    CGameImages(const CGameImages&) = delete;
    CGameImages& operator=(const CGameImages&) = delete;

    // The picture of an entry; null when the entry is unset, a region entry
    // or out of range.
    CxImage* Get(int entry) const;
    // The window region of a region entry; null for any other entry.
    HRGN GetRegion(int entry) const;
    // Width and height of an entry's picture; 0 when it has none.
    int Width(int entry) const;
    int Height(int entry) const;
    // The path of a card face below the current directory.
    static std::string FacePath(int deckIndex);

protected:
    // Loads the file into the entry (PNG for ".png", BMP for ".bmp", else by
    // its contents); the entry stays null only when no image object could be
    // made.
    CxImage* Load(int entry, const std::string& path);

private:
    // Up, hover and pressed faces "<name>Up<ext>"... from entry first, and
    // the region of the up face into regionEntry (none when negative).
    void LoadButtonSet(int first, const char* name, const char* ext, int regionEntry);
    void Turn(int target, int source, bool left);

    CxImage* images_[kEntryCount] = {};
    HRGN regions_[kEntryCount] = {};
};

// The session's picture table; null until loaded.
CGameImages* GetGameImages();
// Size of an entry of the loaded table; 0 while there is none.
inline int GameImageW(int entry) {
    CGameImages* images = GetGameImages();
    return images ? images->Width(entry) : 0;
}
inline int GameImageH(int entry) {
    CGameImages* images = GetGameImages();
    return images ? images->Height(entry) : 0;
}
