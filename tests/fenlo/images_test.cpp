// The table's picture table, from a tree of files that each have their own
// size, so that every entry shows which file it was loaded from.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "game/ui/GameImages.h"
#include "tests/fenlo/FenloTestKit.h"
#include "tests/fenlo/PictureFiles.h"

using namespace fenlo_test;

namespace {

// Entry -> file below fenlo\image (or the lobby folder for the avatars).
std::map<int, std::string> ExpectedFiles() {
    std::map<int, std::string> files;
    for (int k = 0; k < 52; ++k)
        files[7 + k] = "poker\\card" + std::to_string(k / 4 + 3) + "_" + std::to_string(k % 4 + 1) + ".png";
    files[59] = "poker\\card16.png", files[60] = "poker\\card17.png";
    files[61] = "poker\\card_back.png", files[62] = "poker\\card_back2.png", files[63] = "desk\\AutoPlay.png";
    const char* prompts[] = {"1point", "2point", "3point", "nopoint", "ready", "pass", "double", "nodouble",
                             "fdouble", "nofdouble"};
    for (int i = 0; i < 10; ++i) files[176 + i] = std::string("prompt\\") + prompts[i] + ".png";
    files[188] = "prompt\\Banker.png", files[189] = "prompt\\NoBanker.png";
    const std::vector<std::pair<int, const char*>> desk = {
        {190, "BankerResult"}, {191, "FarmerResult"}, {206, "countbg"},     {207, "countlogo"},
        {208, "drop"},         {298, "PromptBg"},     {302, "Spring"},      {303, "AntiSpring"},
        {306, "face1"},        {307, "face2"},        {308, "PartnerIcon"}, {309, "FarmerIcon"},
        {310, "BankerIcon"},   {311, "TimeBg"},       {312, "ClockNumber"}, {314, "Bomb"},
        {315, "Plane"},        {316, "BombFlim"},     {317, "SpringFlim"},  {318, "AntiSpringFlim"},
        {319, "StraightFilm"}, {328, "Report1"},      {329, "Report2"},     {347, "GameOverFarmer"},
        {348, "DoubleInfo"},   {349, "CardNum"},      {350, "CardNumIcon"}, {351, "DoubleIcon"},
        {353, "facebg"}};
    for (const auto& d : desk) files[d.first] = std::string("desk\\") + d.second + ".png";
    for (int i = 0; i < 6; ++i) files[200 + i] = "desk\\Ping" + std::to_string(i + 1) + ".png";
    for (int i = 0; i < 4; ++i) files[343 + i] = "desk\\GameOverIcon" + std::to_string(i + 1) + ".png";
    files[304] = "..\\..\\Skin\\Style1\\png\\gg.png", files[305] = "..\\..\\Skin\\Style1\\png\\mm.png";
    const std::vector<std::pair<int, const char*>> bmpSets = {
        {209, "Pass"},     {213, "Outcard"},  {217, "Prompt"},   {221, "OnePoint"},   {225, "TwoPoint"},
        {229, "ThreePoint"}, {233, "NoPoint"}, {237, "Ready"},   {241, "Double"},     {245, "NDouble"},
        {249, "fDouble"},  {253, "NfDouble"}, {257, "Banker"},   {261, "NoBanker"},   {265, "TwoCard"},
        {269, "ThreeCard"}, {282, "Exit"},    {320, "GoOnGame"}, {324, "BackToLobby"}, {370, "ChatSay"},
        {373, "ChatExtent"}};
    const char* states[] = {"Up", "On", "Down"};
    for (const auto& s : bmpSets)
        for (int i = 0; i < 3; ++i) files[s.first + i] = std::string("button\\") + s.second + states[i] + ".bmp";
    for (const auto& s : std::vector<std::pair<int, const char*>>{{273, "AutoPlay"}, {278, "CancelAutoPlay"},
                                                                  {294, "Sort"}})
        for (int i = 0; i < 3; ++i) files[s.first + i] = std::string("button\\") + s.second + states[i] + ".png";
    files[276] = "button\\AutoPlayDisable.png";
    files[368] = "button\\MoreSortUp.png", files[369] = "button\\MoreSortOn.png";
    const char* skins[] = {"ColumnHeaderSpan", "ColumnHeaderStart", "ColumnHeaderEnd", "VerticleScrollbarTop",
                           "VerticleScrollBarUpArrow", "VerticleScrollBarSpan", "VerticleScrollBarDownArrow",
                           "VerticleScrollbarBottom", "VerticleScrollBarThumb", "HorizontalScrollBarLeftArrow",
                           "HorizontalScrollBarSpan", "HorizontalScrollBarRightArrow", "HorizontalScrollBarThumb"};
    for (int i = 0; i < 13; ++i) files[355 + i] = std::string("desk\\") + skins[i] + ".bmp";
    return files;
}

const int kRegions[] = {212, 216, 220, 224, 228, 232, 236, 240, 244, 248, 252,
                        256, 260, 264, 268, 272, 277, 281, 285, 297, 323, 327};

struct Tree {
    ScratchFolder folder{"images"};
    char previous[MAX_PATH] = "";
    Tree() {
        GetCurrentDirectoryA(MAX_PATH, previous);
        for (const char* dir : {"fenlo\\image", "fenlo\\image\\poker", "fenlo\\image\\prompt", "fenlo\\image\\desk",
                                "fenlo\\image\\button", "Skin", "Skin\\Style1", "Skin\\Style1\\png"})
            CreateDirectoryA((folder / dir).c_str(), nullptr);
        SetCurrentDirectoryA(folder.Path().c_str());
    }
    ~Tree() {
        SetCurrentDirectoryA(previous);
        // The scratch folder removes only its first two levels.
        for (auto& f : ExpectedFiles()) DeleteFileA((folder / ("fenlo\\image\\" + f.second)).c_str());
        for (const char* dir : {"Skin\\Style1\\png", "Skin\\Style1", "Skin", "fenlo\\image\\poker",
                                "fenlo\\image\\prompt", "fenlo\\image\\desk", "fenlo\\image\\button", "fenlo\\image"})
            RemoveDirectoryA((folder / dir).c_str());
    }
};

// Every expected file, 10 + n pixels wide for the n-th; button up faces have
// a magenta column; the second joker is missing.
void WriteFiles(const Tree& tree) {
    int n = 0;
    for (const auto& f : ExpectedFiles()) {
        const bool up = f.second.find("Up.bmp") != std::string::npos;
        WriteFlatBmp(tree.folder / ("fenlo\\image\\" + f.second), 10 + n++, 7 + f.first % 5, RGB(20, 40, 60), up);
    }
    DeleteFileA((tree.folder / "fenlo\\image\\poker\\card17.png").c_str());
}

TEST(GameImages, EveryEntryComesFromItsOwnFile) {
    Tree tree;
    const auto files = ExpectedFiles();
    WriteFiles(tree);
    int n = 0;

    std::vector<HRGN> regions;
    RECT box;
    {
        CGameImages images;
        n = 0;
        for (const auto& f : files) {
            const int entry = f.first, width = 10 + n++;
            ASSERT_NE(images.Get(entry), nullptr) << entry;
            if (entry == 60) continue;
            EXPECT_EQ(images.Width(entry), width) << entry << " " << f.second;
        }
        EXPECT_EQ(images.Width(60), 0) << "a missing file leaves an empty picture";
        EXPECT_EQ(images.Height(60), 0);
        for (int entry = 0; entry < CGameImages::kEntryCount; ++entry) {
            const bool turned = (entry >= 64 && entry < 120) || (entry >= 120 && entry < 176);
            if (!files.count(entry) && !turned) EXPECT_EQ(images.Get(entry), nullptr) << entry;
        }
        EXPECT_EQ(images.Get(CGameImages::kEntryCount), nullptr);
        EXPECT_EQ(images.Get(-1), nullptr);

        // Turned copies: left at 64/65/66 + k, right at 120/121/122 + k.
        for (int k = 0; k < 56; ++k) {
            const int source = k < 2 ? 61 + k : 7 + (k - 2);
            const int left = k < 2 ? 64 + k : 66 + (k - 2), right = k < 2 ? 120 + k : 122 + (k - 2);
            EXPECT_EQ(images.Width(left), images.Height(source)) << left;
            EXPECT_EQ(images.Height(right), images.Width(source)) << right;
            if (source == 60) continue;
            CxImage l, r;
            images.Get(source)->RotateLeft(&l);
            images.Get(source)->RotateRight(&r);
            EXPECT_EQ(images.Height(left), static_cast<int>(l.GetHeight()));
            EXPECT_EQ(PixelOf(images.Get(right), 0, 0), PixelOf(&r, 0, 0));
        }

        // Regions: only the 22 listed entries, cut from the up face.
        for (int entry = 0; entry < CGameImages::kEntryCount; ++entry) {
            const bool listed = std::find(std::begin(kRegions), std::end(kRegions), entry) != std::end(kRegions);
            EXPECT_EQ(images.GetRegion(entry) != nullptr, listed) << entry;
        }
        ASSERT_NE(GetRgnBox(images.GetRegion(277), &box), ERROR);
        EXPECT_EQ(box.right - box.left, images.Width(273)) << "AutoPlay's region is its up face's shape";
        ASSERT_NE(GetRgnBox(images.GetRegion(212), &box), ERROR);
        EXPECT_EQ(box.left, 1) << "the magenta column is outside the region";
        EXPECT_EQ(box.right, images.Width(209));
        EXPECT_EQ(images.GetRegion(276), nullptr) << "276 is AutoPlay's disabled face";
        EXPECT_NE(images.Width(276), 0);
        for (int entry : kRegions) regions.push_back(images.GetRegion(entry));
    }
    for (HRGN region : regions) EXPECT_NE(GetRgnBox(region, &box), ERROR) << "regions outlive the table";
}

// Decoded ahead by workers while the table takes them, the pictures are the
// ones it would decode itself, each in its own entry; a file taken a second
// time is decoded again.
TEST(GameImages, PicturesDecodedAheadAreTheTablesOwn) {
    Tree tree;
    WriteFiles(tree);
    StartTablePicturePrefetch({"fenlo\\image\\desk\\bg.jpg"}, 3);  // a frame file that is not there
    {
        CGameImages images;
        int n = 0;
        for (const auto& f : ExpectedFiles()) {
            const int width = 10 + n++;
            if (f.first != 60) EXPECT_EQ(images.Width(f.first), width) << f.first << " " << f.second;
        }
        EXPECT_EQ(images.Width(60), 0);
    }
    std::unique_ptr<CxImage> again(TakeTablePicture("fenlo\\image\\poker\\card3_1.png", CXIMAGE_FORMAT_PNG));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(static_cast<int>(again->GetWidth()), 10);
    std::unique_ptr<CxImage> frame(TakeTablePicture("fenlo\\image\\desk\\bg.jpg", CXIMAGE_FORMAT_JPG));
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->IsValid());
    EndTablePicturePrefetch();
}

}  // namespace
