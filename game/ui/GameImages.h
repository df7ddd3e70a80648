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
#include <utility>
#include <vector>

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
    // Every picture file with its entry, in loading order.
    static std::vector<std::pair<int, std::string>> Files();

protected:
    // Loads the file into the entry (PNG for ".png", BMP for ".bmp", else by
    // its contents), decoded ahead when it was (TakeTablePicture); the entry
    // stays null only when no image object could be made.
    CxImage* Load(int entry, const std::string& path);

private:
    void Turn(int target, int source, bool left);

    CxImage* images_[kEntryCount] = {};
    HRGN regions_[kEntryCount] = {};
};

// The table's pictures decoded ahead on worker threads from the program's
// start, so that the window's frame and the loading step find them decoded
// instead of decoding each in turn: the files given first (the frame's), then
// every file of CGameImages. Nothing of the picture table's behaviour
// changes: a file that was not asked for ahead, or that is taken a second
// time, is decoded when taken.
void StartTablePicturePrefetch(const std::vector<std::string>& first, int threads);
// The picture of the file as CxImage(path, format) makes it; the caller owns it.
CxImage* TakeTablePicture(const std::string& path, DWORD format);
// Stops the workers and frees the pictures nobody took.
void EndTablePicturePrefetch();

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
