#include "game/ui/GameImages.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <new>
#include <sstream>
#include <thread>
#include <vector>

#include "game/core/GameSession.h"
#include "game/core/TableStep.h"
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

// PNG for ".png", BMP for ".bmp", JPEG for ".jpg", else by the contents.
DWORD FormatOf(const std::string& path) {
    if (EndsWith(path, ".png")) return CXIMAGE_FORMAT_PNG;
    if (EndsWith(path, ".bmp")) return CXIMAGE_FORMAT_BMP;
    if (EndsWith(path, ".jpg")) return CXIMAGE_FORMAT_JPG;
    return CXIMAGE_FORMAT_UNKNOWN;
}

struct Named {
    int entry;
    const char* file;
};

// Up, hover and pressed faces "<name>Up<ext>"... from entry first, and the
// region of the up face into entry region (none when negative).
struct ButtonSet {
    int first;
    const char* name;
    const char* ext;
    int region;
};

const ButtonSet kButtonSets[] = {
    {209, "Pass", ".bmp", 212},        {213, "Outcard", ".bmp", 216},    {217, "Prompt", ".bmp", 220},
    {221, "OnePoint", ".bmp", 224},    {225, "TwoPoint", ".bmp", 228},   {229, "ThreePoint", ".bmp", 232},
    {233, "NoPoint", ".bmp", 236},     {237, "Ready", ".bmp", 240},      {241, "Double", ".bmp", 244},
    {245, "NDouble", ".bmp", 248},     {249, "fDouble", ".bmp", 252},    {253, "NfDouble", ".bmp", 256},
    {257, "Banker", ".bmp", 260},      {261, "NoBanker", ".bmp", 264},   {265, "TwoCard", ".bmp", 268},
    {269, "ThreeCard", ".bmp", 272},   {273, "AutoPlay", ".png", 277},   {278, "CancelAutoPlay", ".png", 281},
    {282, "Exit", ".bmp", 285},        {294, "Sort", ".png", 297},       {320, "GoOnGame", ".bmp", 323},
    {324, "BackToLobby", ".bmp", 327}, {370, "ChatSay", ".bmp", -1},     {373, "ChatExtent", ".bmp", -1}};

// The picture files decoded ahead (StartTablePicturePrefetch): a few worker
// threads take them in order; a file is handed out once, decoded.
class Prefetch {
public:
    void Start(const std::vector<std::string>& paths, int threads) {
        std::lock_guard<std::mutex> guard(lock_);
        if (!slots_.empty() || stop_) return;
        for (const std::string& path : paths)
            if (index_.emplace(path, slots_.size()).second) slots_.push_back(Slot{path});
        for (int i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
    }

    // The decoded picture, or null when the file was not asked for ahead or
    // has been handed out already, or no worker could decode it.
    CxImage* Take(const std::string& path) {
        std::unique_lock<std::mutex> guard(lock_);
        auto at = index_.find(path);
        if (at == index_.end()) return nullptr;
        Slot& slot = slots_[at->second];
        if (slot.state == Slot::kWaiting) slot.state = Slot::kTaken;  // the caller decodes it
        done_.wait(guard, [&] { return slot.state != Slot::kDecoding; });
        if (slot.state != Slot::kDone) return nullptr;
        slot.state = Slot::kTaken;
        CxImage* image = slot.image;
        slot.image = nullptr;
        return image;
    }

    void End() {
        {
            std::lock_guard<std::mutex> guard(lock_);
            stop_ = true;
        }
        for (std::thread& t : threads_) t.join();
        threads_.clear();
        std::lock_guard<std::mutex> guard(lock_);
        for (Slot& slot : slots_) delete slot.image;
        slots_.clear();
        index_.clear();
    }

    ~Prefetch() { End(); }

private:
    struct Slot {
        std::string path;
        enum { kWaiting, kDecoding, kDone, kTaken } state = kWaiting;
        CxImage* image = nullptr;
    };

    void Work() {
        for (;;) {
            Slot* slot = nullptr;
            {
                std::lock_guard<std::mutex> guard(lock_);
                while (next_ < slots_.size() && slots_[next_].state != Slot::kWaiting) ++next_;
                if (stop_ || next_ == slots_.size()) return;
                slot = &slots_[next_++];
                slot->state = Slot::kDecoding;
            }
            CxImage* image = nullptr;
            try {
                image = new CxImage(slot->path.c_str(), FormatOf(slot->path));
            } catch (...) {
                image = nullptr;  // the taker decodes it again and meets the failure itself
            }
            std::lock_guard<std::mutex> guard(lock_);
            slot->image = image;
            slot->state = Slot::kDone;
            done_.notify_all();
        }
    }

    std::mutex lock_;
    std::condition_variable done_;
    std::vector<Slot> slots_;
    std::map<std::string, size_t> index_;
    size_t next_ = 0;
    bool stop_ = false;
    std::vector<std::thread> threads_;
};

Prefetch& ThePrefetch() {
    static Prefetch prefetch;
    return prefetch;
}

}  // namespace

std::vector<std::pair<int, std::string>> CGameImages::Files() {
    std::vector<std::pair<int, std::string>> files;
    auto add = [&](int entry, const std::string& path) { files.emplace_back(entry, path); };
    for (int k = 0; k < 54; ++k) add(kFirstFace + k, FacePath(k));

    const Named prompts[] = {{176, "1point.png"},  {177, "2point.png"},    {178, "3point.png"}, {179, "nopoint.png"},
                             {180, "ready.png"},   {181, "pass.png"},      {182, "double.png"}, {183, "nodouble.png"},
                             {184, "fdouble.png"}, {185, "nofdouble.png"}, {188, "Banker.png"}, {189, "NoBanker.png"}};
    for (const Named& p : prompts) add(p.entry, std::string(kPrompt) + p.file);
    add(kFirstBack, std::string(kPoker) + "card_back.png");
    add(kFirstBack + 1, std::string(kPoker) + "card_back2.png");
    add(63, std::string(kDesk) + "AutoPlay.png");

    const char* states[] = {"Up", "On", "Down"};
    for (const ButtonSet& set : kButtonSets)
        for (int i = 0; i < 3; ++i) add(set.first + i, std::string(kButton) + set.name + states[i] + set.ext);
    add(276, std::string(kButton) + "AutoPlayDisable.png");

    const Named desk1[] = {{190, "BankerResult.png"}, {191, "FarmerResult.png"}, {314, "Bomb.png"},
                           {315, "Plane.png"},        {316, "BombFlim.png"},     {317, "SpringFlim.png"},
                           {318, "AntiSpringFlim.png"}, {319, "StraightFilm.png"}, {200, "Ping1.png"},
                           {201, "Ping2.png"},        {202, "Ping3.png"},        {203, "Ping4.png"},
                           {204, "Ping5.png"},        {205, "Ping6.png"}};
    for (const Named& d : desk1) add(d.entry, std::string(kDesk) + d.file);
    add(304, "Skin\\Style1\\png\\gg.png");
    add(305, "Skin\\Style1\\png\\mm.png");
    const Named desk2[] = {{306, "face1.png"},   {307, "face2.png"},     {309, "FarmerIcon.png"},
                           {308, "PartnerIcon.png"}, {310, "BankerIcon.png"}, {311, "TimeBg.png"},
                           {312, "ClockNumber.png"}, {298, "PromptBg.png"},  {206, "countbg.png"},
                           {207, "countlogo.png"},   {208, "drop.png"}};
    for (const Named& d : desk2) add(d.entry, std::string(kDesk) + d.file);
    const Named desk3[] = {{328, "Report1.png"},       {329, "Report2.png"},       {343, "GameOverIcon1.png"},
                           {344, "GameOverIcon2.png"}, {345, "GameOverIcon3.png"}, {346, "GameOverIcon4.png"},
                           {347, "GameOverFarmer.png"}, {302, "Spring.png"},       {303, "AntiSpring.png"}};
    for (const Named& d : desk3) add(d.entry, std::string(kDesk) + d.file);
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
    for (const Named& d : desk4) add(d.entry, std::string(kDesk) + d.file);
    add(368, std::string(kButton) + "MoreSortUp.png");
    add(369, std::string(kButton) + "MoreSortOn.png");
    return files;
}

CGameImages::CGameImages() {
    TableStep("loader start");
    // The card faces come first; a helper turns them while the rest load.
    class Turner {
    public:
        explicit Turner(CGameImages* images) : images_(images) {}
        void Start() {
            if (started_) return;
            started_ = true;
            try {
                thread_ = std::thread([this] { TurnFaces(); });
            } catch (...) {
                TurnFaces();  // no thread to be had: turned here instead
            }
        }
        ~Turner() {
            if (thread_.joinable()) thread_.join();
        }

    private:
        void TurnFaces() {
            try {
                for (int k = 0; k < 54; ++k) {
                    images_->Turn(kLeftFaces + k, kFirstFace + k, true);
                    images_->Turn(kRightFaces + k, kFirstFace + k, false);
                }
            } catch (...) {
                // Out of memory: the faces left unturned draw nothing.
            }
        }

        CGameImages* images_;
        bool started_ = false;
        std::thread thread_;
    } turner(this);
    for (const auto& file : Files()) {
        Load(file.first, file.second);
        if (file.first == kFirstFace + 53) turner.Start();
    }
    turner.Start();
    TableStep("pictures taken");
    for (const ButtonSet& set : kButtonSets)
        if (set.region >= 0) regions_[set.region] = CreateRegionFromImage(images_[set.first]);
    TableStep("button regions");

    Turn(kLeftBacks, kFirstBack, true);
    Turn(kRightBacks, kFirstBack, false);
    Turn(kLeftBacks + 1, kFirstBack + 1, true);
    Turn(kRightBacks + 1, kFirstBack + 1, false);
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
    CxImage* image = TakeTablePicture(path, FormatOf(path));
    delete images_[entry];
    images_[entry] = image;
    return image;
}

void CGameImages::Turn(int target, int source, bool left) {
    CxImage* image = new (std::nothrow) CxImage;
    if (!image) return;
    if (images_[source]) left ? images_[source]->RotateLeft(image) : images_[source]->RotateRight(image);
    delete images_[target];
    images_[target] = image;
}

CGameImages* GetGameImages() { return static_cast<CGameImages*>(GetGameSession()->GetImages()); }

void StartTablePicturePrefetch(const std::vector<std::string>& first, int threads) {
    std::vector<std::string> paths(first);
    for (const auto& file : CGameImages::Files()) paths.push_back(file.second);
    ThePrefetch().Start(paths, threads);
}

CxImage* TakeTablePicture(const std::string& path, DWORD format) {
    CxImage* image = ThePrefetch().Take(path);
    if (image && image->GetType() == format) return image;
    delete image;
    return new (std::nothrow) CxImage(path.c_str(), format);
}

void EndTablePicturePrefetch() { ThePrefetch().End(); }
