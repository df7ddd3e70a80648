// CTableView: the table game's screen, which the table window implements:
// the button groups and their enabled faces, boxes, sounds, the side panel's
// chat, the turn prompt, repaints, effect frames, the movies and the result
// dialog, and the lobby link. The game decides; the view only shows. Tests
// give the game a recording one.
#pragma once

#include <string>

class CMessage;

class CTableView {
public:
    // The table's buttons.
    enum Button {
        kReady,
        kPlay,
        kPass,
        kHint,
        kBid1,
        kBid2,
        kBid3,
        kNoBid,
        kDouble,
        kNoDouble,
        kRedouble,
        kNoRedouble,
        kContestYes,
        kContestNo,
        kNextPair,
        kNextTriple,
        kAutoPlay,
        kCancelAuto,
        kSort,
        kLeave,
        kContinue,
        kBackToLobby,
        kSoundOn,   // shown while the sound is on: switches it off
        kSoundOff,  // shown while the sound is off: switches it on
        kButtons
    };
    // A box's answers.
    enum Answer { kOk = 1, kCancel = 2, kYes = 6, kNo = 7 };

    virtual ~CTableView() {}

    // ---- buttons: shown with their enabled face or the disabled one; a
    // hidden button is disabled too.
    virtual void ShowButton(Button button, bool enabled) = 0;
    virtual void HideButton(Button button) = 0;
    virtual void EnableButton(Button button, bool enabled) = 0;
    virtual bool ButtonEnabled(Button button) const = 0;

    // ---- the player
    // A box's owner: the table window, or none (the box stands alone).
    enum BoxOwner { kTableOwns, kNoOwner };
    // A box (the message box's type bits and a count-down of seconds, 0
    // none); its answer.
    virtual int Box(const char* text, const char* caption, unsigned type, int seconds, BoxOwner owner) = 0;
    // A box owned by the table.
    int Box(const char* text, const char* caption, unsigned type, int seconds) {
        return Box(text, caption, type, seconds, kTableOwns);
    }
    virtual void BringToFront() = 0;
    // Called every tick while the player is to act: the window flashes its
    // caption now and then while it is in the background.
    virtual void CallAttention() = 0;
    // Plays a sound file (the game checks that the sound is on).
    virtual void Sound(const char* path) = 0;
    // A line in the side panel's chat, in the notice colour.
    virtual void ChatLine(const std::string& line) = 0;
    // Chat, notices, ranking and match time go to the side panel; false for
    // any other message.
    virtual bool PanelMessage(const CMessage& message) = 0;

    // ---- the screen
    virtual void ClientSize(int* width, int* height) const = 0;
    // The turn clock moves beside the seat of that name.
    virtual void PlacePrompt(const std::string& name) = 0;
    // Marks the clock's area.
    virtual void DrawClock() = 0;
    // The head effect stepped (not finished): marks its frame, or the plane
    // before (at planeBefore) and after its move.
    virtual void MarkEffect(int code, int planeBefore) = 0;
    // The whole window repaints through its paint message.
    virtual void InvalidateWindow() = 0;
    // The dirty list onto the screen now; the dirty parts repainted now.
    virtual void RenderNow() = 0;
    virtual void RepaintNow() = 0;

    // ---- the group movie and the result dialog
    virtual bool GroupMovieShown() const = 0;
    virtual void ShowGroupMovie() = 0;
    virtual void CloseGroupMovie() = 0;
    virtual void ShowMovieCount(int players) = 0;
    virtual void DestroyResultDialog() = 0;

    // ---- the lobby link and the programs around the table
    // The own money to every lobby window.
    virtual void NotifyLobby() = 0;
    // Reports no money to the lobby and ends the table.
    virtual void QuitTable() = 0;
    // Runs the updater and waits for it.
    virtual void RunUpdater() = 0;
    // Opens a web address with the shell.
    virtual void OpenAddress(const std::string& address) = 0;
};
