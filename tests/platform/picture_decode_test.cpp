// The PNG and BMP reader Vantor uses before GDI+: the forms it takes, the
// forms it leaves to GDI+, and damaged files.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "platform/vantor/PictureDecode.h"

namespace {

using Bytes = std::vector<uint8_t>;
using vantor::DecodedPicture;

void Put32(Bytes& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(uint8_t(v >> s));
}

void Chunk(Bytes& png, const char* type, const Bytes& body) {
    Put32(png, uint32_t(body.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    png.insert(png.end(), typed.begin(), typed.end());
    Put32(png, uint32_t(crc32(0, typed.data(), uInt(typed.size()))));
}

struct PngShape {
    uint32_t w = 3, h = 5;
    uint8_t colour = 6, depth = 8, interlace = 0;
    std::vector<const char*> extra;  // empty ancillary chunks before the data
    size_t idatPieces = 1;
};

// Pixel (x, y) channel c of the test picture.
uint8_t Sample(uint32_t x, uint32_t y, int c) { return uint8_t(x * 50 + y * 31 + c * 70 + (x * y * 13)); }

// Row y filtered with filter y % 5, so that every filter type appears.
Bytes Png(const PngShape& shape) {
    const int n = shape.colour == 6 ? 4 : 3;
    const size_t stride = size_t(shape.w) * n;
    Bytes raw, prior(stride, 0);
    for (uint32_t y = 0; y < shape.h; ++y) {
        Bytes row(stride);
        for (uint32_t x = 0; x < shape.w; ++x)
            for (int c = 0; c < n; ++c) row[x * n + c] = Sample(x, y, c);
        const uint8_t filter = uint8_t(y % 5);
        raw.push_back(filter);
        for (size_t i = 0; i < stride; ++i) {
            const int a = i >= size_t(n) ? row[i - n] : 0, b = prior[i], c = i >= size_t(n) ? prior[i - n] : 0;
            int predictor = 0;
            if (filter == 1) predictor = a;
            if (filter == 2) predictor = b;
            if (filter == 3) predictor = (a + b) / 2;
            if (filter == 4) {
                const int p = a + b - c, pa = abs(p - a), pb = abs(p - b), pc = abs(p - c);
                predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            }
            raw.push_back(uint8_t(row[i] - predictor));
        }
        prior = row;
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    Bytes packed(packedSize);
    compress(packed.data(), &packedSize, raw.data(), uLong(raw.size()));
    packed.resize(packedSize);

    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    Put32(header, shape.w);
    Put32(header, shape.h);
    header.insert(header.end(), {shape.depth, shape.colour, 0, 0, shape.interlace});
    Chunk(png, "IHDR", header);
    for (const char* type : shape.extra) Chunk(png, type, Bytes(4, 0));
    const size_t piece = (packed.size() + shape.idatPieces - 1) / shape.idatPieces;
    for (size_t at = 0; at < packed.size(); at += piece)
        Chunk(png, "IDAT", Bytes(packed.begin() + at, packed.begin() + std::min(packed.size(), at + piece)));
    Chunk(png, "IEND", {});
    return png;
}

bool Decode(const Bytes& b, DecodedPicture& out) { return vantor::DecodeSimplePicture(b.data(), b.size(), out); }

TEST(PictureDecode, PngOfEveryFilterAndSplitDataGivesTheSamplesInArgb) {
    for (uint8_t colour : {uint8_t(6), uint8_t(2)}) {
        PngShape shape;
        shape.colour = colour;
        shape.w = 7;
        shape.h = 10;
        shape.idatPieces = 3;
        shape.extra = {"tEXt", "pHYs"};
        DecodedPicture p;
        ASSERT_TRUE(Decode(Png(shape), p)) << int(colour);
        ASSERT_EQ(p.width, 7u);
        ASSERT_EQ(p.height, 10u);
        EXPECT_EQ(p.alpha, colour == 6);
        for (uint32_t y = 0; y < p.height; ++y)
            for (uint32_t x = 0; x < p.width; ++x) {
                const uint32_t a = colour == 6 ? Sample(x, y, 3) : 0xFF;
                const uint32_t want =
                    a << 24 | uint32_t(Sample(x, y, 0)) << 16 | uint32_t(Sample(x, y, 1)) << 8 | Sample(x, y, 2);
                ASSERT_EQ(p.pixels[y * p.width + x], want) << int(colour) << " at " << x << "," << y;
            }
    }
}

TEST(PictureDecode, FormsThatGdiplusReadsDifferentlyAreLeftToIt) {
    PngShape interlaced, deep, palette, keyed, gamma;
    interlaced.interlace = 1;
    deep.depth = 16;
    palette.colour = 3;
    keyed.extra = {"tRNS"};
    gamma.extra = {"gAMA"};
    for (const PngShape& shape : {interlaced, deep, palette, keyed, gamma}) {
        DecodedPicture p;
        EXPECT_FALSE(Decode(Png(shape), p));
        EXPECT_TRUE(p.pixels.empty());
    }
}

TEST(PictureDecode, DamagedPngIsRefusedWhereverItBreaks) {
    const Bytes good = Png(PngShape());
    DecodedPicture p;
    ASSERT_TRUE(Decode(good, p));
    for (size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_FALSE(Decode(Bytes(good.begin(), good.begin() + cut), p)) << "cut at " << cut;
    for (size_t at = 8; at < good.size(); ++at) {
        Bytes bad = good;
        bad[at] ^= 0x40;  // every chunk carries a CRC
        EXPECT_FALSE(Decode(bad, p)) << "flipped at " << at;
    }
    // A header far larger than what its data can fill.
    Bytes big = Png(PngShape());
    Bytes header;
    Put32(header, 30000);
    Put32(header, 30000);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    Bytes png(big.begin(), big.begin() + 8);
    Chunk(png, "IHDR", header);
    png.insert(png.end(), big.begin() + 33, big.end());
    EXPECT_FALSE(Decode(png, p));
}

Bytes Bmp(int32_t w, int32_t h, uint16_t bits = 24) {
    const uint32_t rows = uint32_t(h < 0 ? -h : h), stride = (uint32_t(w) * 3 + 3) & ~3u;
    Bytes b = {'B', 'M'};
    auto le = [&](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b.push_back(uint8_t(v >> (8 * i)));
    };
    le(54 + stride * rows, 4);
    le(0, 4);
    le(54, 4);
    le(40, 4);
    le(uint32_t(w), 4);
    le(uint32_t(h), 4);
    le(1, 2);
    le(bits, 2);
    le(0, 4);
    le(stride * rows, 4);
    for (int i = 0; i < 4; ++i) le(0, 4);
    for (uint32_t r = 0; r < rows; ++r)
        for (uint32_t i = 0; i < stride; ++i) b.push_back(i < uint32_t(w) * 3 ? uint8_t(r * 40 + i) : 0xEE);
    return b;
}

TEST(PictureDecode, BmpRowsComeOutTopFirstWithoutTheirPadding) {
    for (int32_t h : {3, -3}) {
        DecodedPicture p;
        ASSERT_TRUE(Decode(Bmp(5, h), p));
        EXPECT_FALSE(p.alpha);
        // File row r holds bytes r*40 + i; bottom-up files store the top row last.
        const uint32_t fileRowOfTop = h > 0 ? 2 : 0;
        EXPECT_EQ(p.pixels[0], 0xFF000000u | uint32_t(fileRowOfTop * 40 + 2) << 16 |
                                   uint32_t(fileRowOfTop * 40 + 1) << 8 | fileRowOfTop * 40);
        EXPECT_EQ(p.pixels[4] & 0xFFu, uint32_t(fileRowOfTop * 40 + 12));
    }
    DecodedPicture p;
    Bytes cut = Bmp(5, 3);
    cut.resize(cut.size() - 1);
    EXPECT_FALSE(Decode(cut, p));
    EXPECT_FALSE(Decode(Bmp(5, 3, 32), p));
    EXPECT_FALSE(Decode(Bmp(0, 3), p));
}

}  // namespace
