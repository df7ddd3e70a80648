// CGameImages: the table's pictures, loaded once from the files below
// fenlo\image of the current directory and numbered by entry. The table owns
// every picture it loaded; users borrow them and never replace an entry.
#pragma once

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

    // Loads every table picture. A missing or unreadable file leaves an empty
    // picture in its entry, which draws nothing.
    CGameImages();
    ~CGameImages() override;

    CGameImages(const CGameImages&) = delete;
    CGameImages& operator=(const CGameImages&) = delete;

    // The picture of an entry; null when the entry is unset or out of range.
    CxImage* Get(int entry) const;
    // The path of a card face below the current directory.
    static std::string FacePath(int deckIndex);

protected:
    // Loads the file into the entry (PNG for ".png", BMP for ".bmp", else by
    // its contents); the entry stays null only when no image object could be
    // made.
    CxImage* Load(int entry, const std::string& path);

private:
    CxImage* images_[kEntryCount] = {};
};

// The session's picture table; null until loaded.
CGameImages* GetGameImages();
