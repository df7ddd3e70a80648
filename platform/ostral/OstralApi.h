#pragma once

#ifdef OSTRAL_BUILD
#define OSTRAL_API __declspec(dllexport)
#else
#define OSTRAL_API __declspec(dllimport)
#endif
