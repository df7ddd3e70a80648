#include "game/ui/GameImages.h"

#include <initializer_list>
#include <new>
#include <sstream>

#include "game/core/GameSession.h"
#include "platform/vantor/CxImage.h"

namespace {

const char kPoker[] = "fenlo\\image\\poker\\";
const char kPrompt[] = "fenlo\\image\\prompt\\";
const char kDesk[] = "fenlo\\image\\desk\\";

bool EndsWith(const std::string& text, const char* tail) {
    const std::string t(tail);
    return text.size() >= t.size() && text.compare(text.size() - t.size(), t.size(), t) == 0;
}

}  // namespace

CGameImages::CGameImages() {
    for (int k = 0; k < 54; ++k) Load(kFirstFace + k, FacePath(k));
    const std::pair<int, const char*> prompts[] = {
        {176, "1point.png"},  {177, "2point.png"},    {178, "3point.png"}, {179, "nopoint.png"},
        {180, "ready.png"},   {181, "pass.png"},      {182, "double.png"}, {183, "nodouble.png"},
        {184, "fdouble.png"}, {185, "nofdouble.png"}, {188, "Banker.png"}, {189, "NoBanker.png"}};
    for (const auto& p : prompts) Load(p.first, std::string(kPrompt) + p.second);
    Load(kFirstBack, std::string(kPoker) + "card_back.png");
    Load(kFirstBack + 1, std::string(kPoker) + "card_back2.png");
    Load(63, std::string(kDesk) + "AutoPlay.png");
    // ---- the result dialog's pictures
    for (const auto& p : std::initializer_list<std::pair<int, const char*>>{
             {190, "BankerResult.png"}, {191, "FarmerResult.png"}, {298, "PromptBg.png"}, {302, "Spring.png"},
             {303, "AntiSpring.png"}})
        Load(p.first, std::string(kDesk) + p.second);
    const char* faces[] = {"Up", "On", "Down"};
    for (int k = 0; k < 3; ++k) {
        Load(320 + k, std::string("fenlo\\image\\button\\GoOnGame") + faces[k] + ".bmp");
        Load(324 + k, std::string("fenlo\\image\\button\\BackToLobby") + faces[k] + ".bmp");
    }
}

CGameImages::~CGameImages() {
    for (CxImage*& image : images_) {
        delete image;
        image = nullptr;
    }
}

CxImage* CGameImages::Get(int entry) const { return entry >= 0 && entry < kEntryCount ? images_[entry] : nullptr; }

std::string CGameImages::FacePath(int deckIndex) {
    std::ostringstream path;
    if (deckIndex < 52)
        path << kPoker << "card" << deckIndex / 4 + 3 << "_" << deckIndex % 4 + 1;
    else
        path << kPoker << "card" << 16 + (deckIndex - 52);
    path << ".png";
    return path.str();
}

CxImage* CGameImages::Load(int entry, const std::string& path) {
    if (entry < 0 || entry >= kEntryCount) return nullptr;
    DWORD format = CXIMAGE_FORMAT_UNKNOWN;
    if (EndsWith(path, ".png"))
        format = CXIMAGE_FORMAT_PNG;
    else if (EndsWith(path, ".bmp"))
        format = CXIMAGE_FORMAT_BMP;
    CxImage* image = new (std::nothrow) CxImage(path.c_str(), format);
    delete images_[entry];
    images_[entry] = image;
    return image;
}

CGameImages* GetGameImages() { return static_cast<CGameImages*>(GetGameSession()->GetImages()); }
