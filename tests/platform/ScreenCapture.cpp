#include "tests/platform/ScreenCapture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/platform/FileBytes.h"
#include "tests/support/Patience.h"

namespace {

// Reads the root window of $DISPLAY with XGetImage and writes it as a binary
// PPM file (the path is its argument).
const char kGrabScript[] = R"PY(import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultScreen.argtypes = [ctypes.c_void_p]
x.XRootWindow.restype = ctypes.c_ulong
x.XRootWindow.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XGetImage.restype = ctypes.c_void_p
x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                        ctypes.c_ulong, ctypes.c_int]
class XImage(ctypes.Structure):
    _fields_ = [(n, ctypes.c_int) for n in ("width", "height", "xoffset", "format")] + [("data", ctypes.c_void_p)] + \
               [(n, ctypes.c_int) for n in ("byte_order", "unit", "bit_order", "pad", "depth", "bpl", "bpp")]
d = x.XOpenDisplay(None)
if not d:
    sys.exit(2)
s = x.XDefaultScreen(d)
w, h = x.XDisplayWidth(d, s), x.XDisplayHeight(d, s)
p = x.XGetImage(d, x.XRootWindow(d, s), 0, 0, w, h, 0xFFFFFFFF, 2)
if not p:
    sys.exit(3)
img = ctypes.cast(p, ctypes.POINTER(XImage)).contents
if img.bpp != 32 or img.byte_order != 0:
    sys.exit(4)
data = ctypes.string_at(img.data, img.bpl * h)
rgb = bytearray(w * h * 3)
for y in range(h):
    line, o = data[y * img.bpl:y * img.bpl + 4 * w], 3 * w * y
    rgb[o:o + 3 * w:3], rgb[o + 1:o + 3 * w:3], rgb[o + 2:o + 3 * w:3] = line[2::4], line[1::4], line[0::4]
with open(sys.argv[1], "wb") as f:
    f.write(b"P6\n%d %d\n255\n" % (w, h) + bytes(rgb))
)PY";

typedef char*(CDECL* UnixNameFn)(const WCHAR*);
typedef WCHAR*(CDECL* DosNameFn)(const char*);

HMODULE Kernel() { return GetModuleHandleA("kernel32.dll"); }

bool UnderWine() { return GetProcAddress(Kernel(), "wine_get_unix_file_name") != nullptr; }

// A fresh name in the temporary folder.
std::string TempName(const char* kind, const char* extension) {
    static int serial = 0;
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%smirabo_%s_%lu_%d%s", temp, kind, GetCurrentProcessId(), ++serial, extension);
    return name;
}

// A path the shell takes as one word.
std::string Quoted(const std::string& path) { return "'" + path + "'"; }

Capture ReadPpm(const std::string& path) {
    Capture c;
    std::string data;
    int w = 0, h = 0, max = 0, at = 0;
    if (!ReadFileBytes(path, data) || std::sscanf(data.c_str(), "P6 %d %d %d%n", &w, &h, &max, &at) != 3 || max != 255)
        return c;
    const size_t start = static_cast<size_t>(at) + 1;
    if (w <= 0 || h <= 0 || data.size() < start + static_cast<size_t>(w) * h * 3) return c;
    c.width = w;
    c.height = h;
    c.pixels.resize(static_cast<size_t>(w) * h);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(data.data()) + start;
    for (size_t i = 0; i < c.pixels.size(); ++i, p += 3) c.pixels[i] = (p[0] << 16) | (p[1] << 8) | p[2];
    return c;
}

}  // namespace

std::string UnixPath(const std::string& path) {
    auto toUnix = reinterpret_cast<UnixNameFn>(GetProcAddress(Kernel(), "wine_get_unix_file_name"));
    if (!toUnix) return "";
    const std::wstring wide(path.begin(), path.end());
    char* unix = toUnix(wide.c_str());
    if (!unix) return "";
    std::string out(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return out;
}

int RunUnixCommand(const std::string& command, int ms) {
    auto toDos = reinterpret_cast<DosNameFn>(GetProcAddress(Kernel(), "wine_get_dos_file_name"));
    if (!toDos || command.find('"') != std::string::npos) return -1;
    WCHAR* shell = toDos("/bin/sh");
    if (!shell) return -1;
    std::string line = "\"";
    for (const WCHAR* c = shell; *c; ++c) line += static_cast<char>(*c);
    HeapFree(GetProcessHeap(), 0, shell);
    // Wine cannot wait for a Unix process: the shell renames its exit status
    // into place once the command has ended.
    const std::string status = TempName("status", ".txt"), unixStatus = UnixPath(status);
    if (unixStatus.empty()) return -1;
    line += "\" -c \"(" + command + ") >/dev/null 2>&1; echo $? >" + Quoted(unixStatus + ".part") + "; mv " +
            Quoted(unixStatus + ".part") + " " + Quoted(unixStatus) + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return -1;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    const DWORD end = GetTickCount() + static_cast<DWORD>(testsupport::Patience(ms));
    std::string text;
    while (!ReadFileBytes(status, text)) {
        if (static_cast<LONG>(end - GetTickCount()) <= 0) return -1;
        Sleep(10);
    }
    DeleteFileA(status.c_str());
    return std::atoi(text.c_str());
}

Capture CaptureScreen() {
    if (!UnderWine()) {
        const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        HDC screen = GetDC(nullptr);
        Capture c = CaptureDC(screen, w, h);
        ReleaseDC(nullptr, screen);
        return c;
    }
    if (!GetEnvironmentVariableA("DISPLAY", nullptr, 0)) return Capture();
    static const std::string script = TempName("screen", ".py");
    static const bool written = WriteFileBytes(script, kGrabScript);
    const std::string picture = TempName("screen", ".ppm");
    Capture c;
    if (written && RunUnixCommand("PATH=/usr/bin:$PATH python3 " + Quoted(UnixPath(script)) + " " + Quoted(UnixPath(picture)), 10000) == 0)
        c = ReadPpm(picture);
    DeleteFileA(picture.c_str());
    return c;
}

Capture Crop(const Capture& picture, const RECT& area) {
    Capture c;
    const int left = std::max<int>(area.left, 0), top = std::max<int>(area.top, 0);
    const int right = std::min<int>(area.right, picture.width), bottom = std::min<int>(area.bottom, picture.height);
    if (right <= left || bottom <= top) return c;
    c.width = right - left;
    c.height = bottom - top;
    for (int y = top; y < bottom; ++y) {
        const auto row = picture.pixels.begin() + static_cast<size_t>(y) * picture.width;
        c.pixels.insert(c.pixels.end(), row + left, row + right);
    }
    return c;
}

Capture Enlarge(const Capture& picture, int factor) {
    Capture c;
    if (factor < 1 || picture.width == 0) return c;
    c.width = picture.width * factor;
    c.height = picture.height * factor;
    c.pixels.resize(static_cast<size_t>(c.width) * c.height);
    const auto at = [&](int x, int y) {
        x = std::min(std::max(x, 0), picture.width - 1);
        y = std::min(std::max(y, 0), picture.height - 1);
        return picture.pixels[static_cast<size_t>(y) * picture.width + x];
    };
    for (int y = 0; y < c.height; ++y) {
        // The source point under the middle of the new pixel, in 1/256ths.
        const int sy = ((2 * y + 1) * 128) / factor - 128, y0 = sy >> 8, fy = sy & 255;
        for (int x = 0; x < c.width; ++x) {
            const int sx = ((2 * x + 1) * 128) / factor - 128, x0 = sx >> 8, fx = sx & 255;
            const uint32_t p[4] = {at(x0, y0), at(x0 + 1, y0), at(x0, y0 + 1), at(x0 + 1, y0 + 1)};
            uint32_t out = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                const auto ch = [&](int i) { return static_cast<int>((p[i] >> shift) & 0xFF); };
                const int top = ch(0) * (256 - fx) + ch(1) * fx, bottom = ch(2) * (256 - fx) + ch(3) * fx;
                out |= static_cast<uint32_t>((top * (256 - fy) + bottom * fy) >> 16) << shift;
            }
            c.pixels[static_cast<size_t>(y) * c.width + x] = out;
        }
    }
    return c;
}

bool TesseractPresent() {
    static const bool present = RunUnixCommand("command -v tesseract", 10000) == 0;
    return present;
}

bool ReadPictureText(const Capture& picture, std::string& text) {
    if (!TesseractPresent()) return false;
    const std::string png = TempName("text", ".png"), base = png.substr(0, png.size() - 4);
    bool ok = !SavePngTo(picture, png).empty() &&
              RunUnixCommand("tesseract " + Quoted(UnixPath(png)) + " " + Quoted(UnixPath(base)) + " -l eng --psm 11",
                             30000) == 0 &&
              ReadFileBytes(base + ".txt", text);
    DeleteFileA(png.c_str());
    DeleteFileA((base + ".txt").c_str());
    return ok;
}
