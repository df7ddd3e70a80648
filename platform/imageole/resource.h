// Resource ids of ImageOle.dll.
#pragma once

#define IDR_IMAGEOLE_MODULE 101  // REGISTRY: the ProgID
#define IDR_IMAGEOLE_CLASS 102   // REGISTRY: the class
