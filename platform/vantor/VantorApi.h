#pragma once

#ifdef VANTOR_BUILD
#define VANTOR_API __declspec(dllexport)
#else
#define VANTOR_API __declspec(dllimport)
#endif
