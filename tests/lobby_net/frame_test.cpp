// The lobby frame: encoding, and cutting a stream that arrives in any pieces.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "lobby/net/engine/LobbyFrame.h"

namespace {

struct Cut {
    int kind;
    std::string payload;
};

// Feeds the stream to a reader the way the engine does: each read takes at
// most what the reader wants and at most what one "arrival" holds.
std::vector<Cut> CutStream(FrameReader& reader, const std::string& stream, const std::vector<size_t>& arrivals,
                           std::vector<FrameReader::Status>* statuses = nullptr) {
    std::vector<Cut> out;
    size_t at = 0;
    for (size_t piece : arrivals) {
        size_t end = std::min(stream.size(), at + piece);
        while (at < end) {
            size_t n = std::min<size_t>(reader.Wanted(), end - at);
            EXPECT_GT(n, 0u);
            std::copy(stream.begin() + at, stream.begin() + at + n, reader.Space());
            at += n;
            FrameReader::Status s = reader.Commit(static_cast<uint32_t>(n));
            if (statuses) statuses->push_back(s);
            if (s == FrameReader::kFrame) {
                char* body = reader.TakeBody();
                EXPECT_EQ(body[reader.Length()], '\0');
                out.push_back({reader.Kind(), std::string(body, reader.Length())});
                delete[] body;
            } else if (s != FrameReader::kNeedMore) {
                return out;
            }
        }
    }
    return out;
}

std::string Frame(int kind, const std::string& payload) {
    std::vector<char> f = EncodeFrame(kind, payload.data(), static_cast<uint32_t>(payload.size()));
    return std::string(f.begin(), f.end());
}

TEST(FrameEncode, HeaderIsLengthLittleEndianThenKind) {
    EXPECT_EQ(Frame(1, "abc"), std::string("\x03\x00\x00\x00\x01"
                                           "abc",
                                           8));
    EXPECT_EQ(Frame(0, ""), std::string(5, '\0'));
    std::string big(0x010203, 'x');
    std::string f = Frame(0, big);
    EXPECT_EQ(f.substr(0, 5), std::string("\x03\x02\x01\x00\x00", 5));
    EXPECT_EQ(f.size(), big.size() + 5);
}

TEST(FrameReader, ReassemblesHeaderAndBodyFromPieces) {
    FrameReader reader;
    const std::string stream = Frame(1, "hello world");
    std::vector<FrameReader::Status> statuses;
    auto frames = CutStream(reader, stream, {2, 3, 4, 1, 6}, &statuses);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, 1);
    EXPECT_EQ(frames[0].payload, "hello world");
    EXPECT_EQ(statuses.back(), FrameReader::kFrame);
    EXPECT_EQ(reader.Wanted(), kFrameHeaderSize);
}

TEST(FrameReader, NeverAsksForBytesOfTheNextFrame) {
    FrameReader reader;
    const std::string stream = Frame(1, "first") + Frame(0, "2nd");
    EXPECT_EQ(reader.Wanted(), 5u);
    auto frames = CutStream(reader, stream, {stream.size()});  // all in one arrival
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].payload, "first");
    EXPECT_EQ(frames[1].kind, 0);
    EXPECT_EQ(frames[1].payload, "2nd");
}

TEST(FrameReader, EmptyPayloadCompletesWithItsHeader) {
    FrameReader reader;
    std::vector<char> head = EncodeFrame(1, nullptr, 0);
    std::copy(head.begin(), head.end(), reader.Space());
    ASSERT_EQ(reader.Commit(5), FrameReader::kFrame);
    EXPECT_EQ(reader.Length(), 0u);
    char* body = reader.TakeBody();
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body[0], '\0');
    delete[] body;
    EXPECT_EQ(reader.TakeBody(), nullptr);
}

TEST(FrameReader, UnknownKindsKeepTheStreamInStep) {
    FrameReader reader;
    const std::string stream = Frame(2, "skip me") + Frame(1, "next");
    auto frames = CutStream(reader, stream, std::vector<size_t>(stream.size(), 1));
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].kind, 2);
    EXPECT_EQ(frames[1].payload, "next");
}

TEST(FrameReader, RefusesLengthsAboveTheLimit) {
    FrameReader small(10);
    std::vector<FrameReader::Status> statuses;
    auto frames = CutStream(small, Frame(1, std::string(10, 'a')) + Frame(1, std::string(11, 'b')), {100}, &statuses);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(statuses.back(), FrameReader::kTooLong);
    EXPECT_EQ(small.Length(), 11u);

    FrameReader reader;
    const std::string huge("\xff\xff\xff\xff\x01", 5);  // 4 GB announced
    statuses.clear();
    frames = CutStream(reader, huge, {5}, &statuses);
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(statuses.back(), FrameReader::kTooLong);
    EXPECT_EQ(reader.Wanted(), kFrameHeaderSize);
}

TEST(FrameReader, CommitNeverRunsPastTheBuffer) {
    FrameReader reader;
    const std::string head = Frame(1, "xyz").substr(0, 5);
    std::copy(head.begin(), head.end(), reader.Space());
    EXPECT_EQ(reader.Commit(500), FrameReader::kNeedMore);  // only the 5 header bytes count
    EXPECT_EQ(reader.Wanted(), 3u);
    std::copy_n("xyz", 3, reader.Space());
    EXPECT_EQ(reader.Commit(3), FrameReader::kFrame);
    delete[] reader.TakeBody();
}

TEST(FrameReader, ResetDropsAPartFrame) {
    FrameReader reader;
    const std::string stream = Frame(1, "partial");
    CutStream(reader, stream, {8});
    reader.Reset();
    EXPECT_EQ(reader.Wanted(), 5u);
    auto frames = CutStream(reader, Frame(1, "whole"), {100});
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].payload, "whole");
}

TEST(FrameReader, RandomStreamsInRandomPiecesComeOutWhole) {
    std::mt19937 rng(5);
    for (int round = 0; round < 20; ++round) {
        std::vector<Cut> sent;
        std::string stream;
        for (int i = 0; i < 200; ++i) {
            std::string payload(rng() % (i % 10 == 0 ? 5000 : 40), '\0');
            for (char& c : payload) c = static_cast<char>(rng());
            int kind = static_cast<int>(rng() % 2);
            sent.push_back({kind, payload});
            stream += Frame(kind, payload);
        }
        std::vector<size_t> arrivals;
        for (size_t total = 0; total < stream.size();) {
            size_t piece = 1 + rng() % 700;
            arrivals.push_back(piece);
            total += piece;
        }
        FrameReader reader;
        auto got = CutStream(reader, stream, arrivals);
        ASSERT_EQ(got.size(), sent.size());
        for (size_t i = 0; i < sent.size(); ++i) {
            EXPECT_EQ(got[i].kind, sent[i].kind);
            EXPECT_EQ(got[i].payload, sent[i].payload);
        }
    }
}

}  // namespace
