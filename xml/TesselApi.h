// Export/import of the Tessel classes: Tessel.dll on Windows, a static library natively
// and in tessel_static (TESSEL_STATIC).
#pragma once

#if defined(_WIN32) && !defined(TESSEL_STATIC)
#ifdef TESSEL_BUILD
#define TESSEL_API __declspec(dllexport)
#else
#define TESSEL_API __declspec(dllimport)
#define TESSEL_IMPORTED 1
#endif
#else
#define TESSEL_API
#endif
