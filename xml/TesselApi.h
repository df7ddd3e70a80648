// Export/import of the Tessel classes: Tessel.dll on Windows, a static library natively.
#pragma once

#if defined(_WIN32) && !defined(TESSEL_STATIC)
#  ifdef TESSEL_BUILD
#    define TESSEL_API __declspec(dllexport)
#  else
#    define TESSEL_API __declspec(dllimport)
#  endif
#else
#  define TESSEL_API
#endif
