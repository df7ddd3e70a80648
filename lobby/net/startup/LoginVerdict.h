// The login step's state word (CNLogin::GetState) and the one reading of it
// that the login dialogs and the main window's reconnection act on. No window
// here.
#pragma once

struct LoginStates {
    enum State {
        kStateLost = 0,     // connection lost or failed, or no version text
        kStateWaiting = 1,  // Login sent, waiting for the verdict
        kStateLoggedIn = 2,
        kStateRefused = 3,  // LoginFailed, or the account is locked
        kStateStopped = 4,  // written by the owner
        kStateConnecting = 5,
        kStateProbing = 6,
        // 7, 8 and 10 are never set by the step; a reader takes 7 for a
        // refusal, 8 for work under way and 10 for a time-out.
        kStateDenied = 7,
        kStateBusy = 8,
        kStateFailed = 9,
        kStateTimedOut = 10,
        kStateNewerClient = 11,
        kStateCreated = 12,
    };
};

enum class LoginVerdict {
    kNotStarted,  // created: the step has not run yet
    kWorking,     // connecting, probing, waiting (also any unknown state)
    kLoggedIn,
    kFailed,       // lost, refused, stopped, denied or failed
    kTimedOut,     // failed, and the player is told of a time-out
    kNewerClient,  // the server wants a newer client
};

LoginVerdict LoginVerdictOf(int state);
