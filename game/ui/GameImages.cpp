#include "game/ui/GameImages.h"

#include <new>
#include <sstream>

#include "game/core/GameSession.h"
#include "game/ui/ImageRegion.h"
#include "platform/vantor/CxImage.h"

namespace {

const char kPoker[] = "fenlo\\image\\poker\\";
const char kPrompt[] = "fenlo\\image\\prompt\\";
const char kDesk[] = "fenlo\\image\\desk\\";
const char kButton[] = "fenlo\\image\\button\\";

bool EndsWith(const std::string& text, const char* tail) {
    const std::string t(tail);
    return text.size() >= t.size() && text.compare(text.size() - t.size(), t.size(), t) == 0;
}

struct Named {
    int entry;
    const char* file;
};

}  // namespace

CGameImages::CGameImages() {
    for (int k = 0; k < 54; ++k) Load(kFirstFace + k, FacePath(k));

    const Named prompts[] = {{176, "1point.png"},  {177, "2point.png"},    {178, "3point.png"}, {179, "nopoint.png"},
                             {180, "ready.png"},   {181, "pass.png"},      {182, "double.png"}, {183, "nodouble.png"},
                             {184, "fdouble.png"}, {185, "nofdouble.png"}, {188, "Banker.png"}, {189, "NoBanker.png"}};
    for (const Named& p : prompts) Load(p.entry, std::string(kPrompt) + p.file);
    Load(kFirstBack, std::string(kPoker) + "card_back.png");
    Load(kFirstBack + 1, std::string(kPoker) + "card_back2.png");
    Load(63, std::string(kDesk) + "AutoPlay.png");

    const struct {
        int first;
        const char* name;
        const char* ext;
    } sets[] = {{209, "Pass", ".bmp"},       {213, "Outcard", ".bmp"},  {217, "Prompt", ".bmp"},
                {221, "OnePoint", ".bmp"},   {225, "TwoPoint", ".bmp"}, {229, "ThreePoint", ".bmp"},
                {233, "NoPoint", ".bmp"},    {237, "Ready", ".bmp"},    {241, "Double", ".bmp"},
                {245, "NDouble", ".bmp"},    {249, "fDouble", ".bmp"},  {253, "NfDouble", ".bmp"},
                {257, "Banker", ".bmp"},     {261, "NoBanker", ".bmp"}, {265, "TwoCard", ".bmp"},
                {269, "ThreeCard", ".bmp"}};
    for (const auto& set : sets) LoadButtonSet(set.first, set.name, set.ext, set.first + 3);
    LoadButtonSet(273, "AutoPlay", ".png", 277);
    Load(276, std::string(kButton) + "AutoPlayDisable.png");
    LoadButtonSet(278, "CancelAutoPlay", ".png", 281);
    LoadButtonSet(282, "Exit", ".bmp", 285);
    LoadButtonSet(294, "Sort", ".png", 297);

    const Named desk1[] = {{190, "BankerResult.png"}, {191, "FarmerResult.png"}, {314, "Bomb.png"},
                           {315, "Plane.png"},        {316, "BombFlim.png"},     {317, "SpringFlim.png"},
                           {318, "AntiSpringFlim.png"}, {319, "StraightFilm.png"}, {200, "Ping1.png"},
                           {201, "Ping2.png"},        {202, "Ping3.png"},        {203, "Ping4.png"},
                           {204, "Ping5.png"},        {205, "Ping6.png"}};
    for (const Named& d : desk1) Load(d.entry, std::string(kDesk) + d.file);
    Load(304, "Skin\\Style1\\png\\gg.png");
    Load(305, "Skin\\Style1\\png\\mm.png");
    const Named desk2[] = {{306, "face1.png"},   {307, "face2.png"},     {309, "FarmerIcon.png"},
                           {308, "PartnerIcon.png"}, {310, "BankerIcon.png"}, {311, "TimeBg.png"},
                           {312, "ClockNumber.png"}, {298, "PromptBg.png"},  {206, "countbg.png"},
                           {207, "countlogo.png"},   {208, "drop.png"}};
    for (const Named& d : desk2) Load(d.entry, std::string(kDesk) + d.file);
    LoadButtonSet(320, "GoOnGame", ".bmp", 323);
    LoadButtonSet(324, "BackToLobby", ".bmp", 327);
    const Named desk3[] = {{328, "Report1.png"},       {329, "Report2.png"},       {343, "GameOverIcon1.png"},
                           {344, "GameOverIcon2.png"}, {345, "GameOverIcon3.png"}, {346, "GameOverIcon4.png"},
                           {347, "GameOverFarmer.png"}, {302, "Spring.png"},       {303, "AntiSpring.png"}};
    for (const Named& d : desk3) Load(d.entry, std::string(kDesk) + d.file);

    Turn(kLeftBacks, kFirstBack, true);
    Turn(kRightBacks, kFirstBack, false);
    Turn(kLeftBacks + 1, kFirstBack + 1, true);
    Turn(kRightBacks + 1, kFirstBack + 1, false);
    for (int k = 0; k < 54; ++k) {
        Turn(kLeftFaces + k, kFirstFace + k, true);
        Turn(kRightFaces + k, kFirstFace + k, false);
    }

    const Named desk4[] = {{349, "CardNum.png"},
                           {350, "CardNumIcon.png"},
                           {348, "DoubleInfo.png"},
                           {351, "DoubleIcon.png"},
                           {353, "facebg.png"},
                           {358, "VerticleScrollbarTop.bmp"},
                           {359, "VerticleScrollBarUpArrow.bmp"},
                           {360, "VerticleScrollBarSpan.bmp"},
                           {361, "VerticleScrollBarDownArrow.bmp"},
                           {362, "VerticleScrollbarBottom.bmp"},
                           {363, "VerticleScrollBarThumb.bmp"},
                           {364, "HorizontalScrollBarLeftArrow.bmp"},
                           {365, "HorizontalScrollBarSpan.bmp"},
                           {366, "HorizontalScrollBarRightArrow.bmp"},
                           {367, "HorizontalScrollBarThumb.bmp"},
                           {355, "ColumnHeaderSpan.bmp"},
                           {356, "ColumnHeaderStart.bmp"},
                           {357, "ColumnHeaderEnd.bmp"}};
    for (const Named& d : desk4) Load(d.entry, std::string(kDesk) + d.file);
    Load(368, std::string(kButton) + "MoreSortUp.png");
    Load(369, std::string(kButton) + "MoreSortOn.png");
    LoadButtonSet(370, "ChatSay", ".bmp", -1);
    LoadButtonSet(373, "ChatExtent", ".bmp", -1);
}

CGameImages::~CGameImages() {
    for (CxImage*& image : images_) {
        delete image;
        image = nullptr;
    }
}

CxImage* CGameImages::Get(int entry) const { return entry >= 0 && entry < kEntryCount ? images_[entry] : nullptr; }

HRGN CGameImages::GetRegion(int entry) const {
    return entry >= 0 && entry < kEntryCount ? regions_[entry] : nullptr;
}

int CGameImages::Width(int entry) const {
    const CxImage* image = Get(entry);
    return image ? static_cast<int>(image->GetWidth()) : 0;
}

int CGameImages::Height(int entry) const {
    const CxImage* image = Get(entry);
    return image ? static_cast<int>(image->GetHeight()) : 0;
}

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

void CGameImages::LoadButtonSet(int first, const char* name, const char* ext, int regionEntry) {
    const char* states[] = {"Up", "On", "Down"};
    for (int i = 0; i < 3; ++i) Load(first + i, std::string(kButton) + name + states[i] + ext);
    if (regionEntry >= 0 && regionEntry < kEntryCount) regions_[regionEntry] = CreateRegionFromImage(images_[first]);
}

void CGameImages::Turn(int target, int source, bool left) {
    CxImage* image = new (std::nothrow) CxImage;
    if (!image) return;
    if (images_[source]) left ? images_[source]->RotateLeft(image) : images_[source]->RotateRight(image);
    delete images_[target];
    images_[target] = image;
}

CGameImages* GetGameImages() { return static_cast<CGameImages*>(GetGameSession()->GetImages()); }
