// Export of the engine classes from Corvet.dll. The same sources are compiled
// three ways: into Corvet.dll (CORVET_BUILD), against it (CORVET_IMPORT, the
// card-game client), and into the lobby's static libraries (neither).
#pragma once

#if defined(_WIN32) && defined(CORVET_BUILD)
#define CORVET_API __declspec(dllexport)
#elif defined(_WIN32) && defined(CORVET_IMPORT)
#define CORVET_API __declspec(dllimport)
#else
#define CORVET_API
#endif
