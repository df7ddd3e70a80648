#include "lobby/net/startup/LoginVerdict.h"

LoginVerdict LoginVerdictOf(int state) {
    switch (state) {
        case LoginStates::kStateCreated:
            return LoginVerdict::kNotStarted;
        case LoginStates::kStateLoggedIn:
            return LoginVerdict::kLoggedIn;
        case LoginStates::kStateLost:
        case LoginStates::kStateRefused:
        case LoginStates::kStateStopped:
        case LoginStates::kStateDenied:
        case LoginStates::kStateFailed:
            return LoginVerdict::kFailed;
        case LoginStates::kStateTimedOut:
            return LoginVerdict::kTimedOut;
        case LoginStates::kStateNewerClient:
            return LoginVerdict::kNewerClient;
        default:
            return LoginVerdict::kWorking;
    }
}
