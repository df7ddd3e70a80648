// CTableSide: what the session needs of the table window's side, which the
// table side implements and installs at start-up (the core includes nothing of
// the table window or the message box). Without one the session builds no
// pictures and shows no box.
#pragma once

// The table's pictures as the session keeps them: created by the table side,
// owned and deleted by the session, used by the table side.
class CTablePictures {
public:
    virtual ~CTablePictures() {}
};

class CTableSide {
public:
    virtual ~CTableSide() {}
    // Loader thread: a new picture table; null when it could not be allocated.
    // Exceptions of the pictures' construction pass on.
    virtual CTablePictures* CreatePictures() = 0;
    // User-interface thread: a message box with the text and a count-down of
    // the given seconds (0: none); the button's answer (IDOK...).
    virtual int ShowBox(const char* text, int seconds) = 0;
};

void SetTableSide(CTableSide* side);
CTableSide* GetTableSide();
