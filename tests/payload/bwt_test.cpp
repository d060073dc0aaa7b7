// The Burrows-Wheeler transform against a plain sort of all rotations, and its inverse.
#include "payload/bwt.h"

#include "payload_test_util.h"

#include <algorithm>
#include <numeric>

namespace kindrel::test {
namespace {

struct Transformed {
    Bytes last;  // without the sentinel
    int32_t start = 0;
    int32_t sentinel = 0;
};

// Sorts the rotations of s + sentinel one by one (the sentinel is -1, below every byte).
Transformed SlowTransform(const Bytes& s) {
    std::vector<int> t(s.begin(), s.end());
    t.push_back(-1);
    const int m = static_cast<int>(t.size());
    std::vector<int> rows(static_cast<size_t>(m));
    std::iota(rows.begin(), rows.end(), 0);
    std::sort(rows.begin(), rows.end(), [&](int a, int b) {
        for (int k = 0; k < m; ++k) {
            const int ca = t[static_cast<size_t>((a + k) % m)];
            const int cb = t[static_cast<size_t>((b + k) % m)];
            if (ca != cb) return ca < cb;
        }
        return false;
    });
    Transformed out;
    for (int r = 0; r < m; ++r) {
        const int rotation = rows[static_cast<size_t>(r)];
        if (rotation == 0) {
            out.sentinel = r;
        } else {
            out.last.push_back(static_cast<uint8_t>(t[static_cast<size_t>(rotation - 1)]));
        }
        if (rotation == 1 % m) out.start = r;
    }
    return out;
}

Transformed FastTransform(const Bytes& s) {
    Transformed out;
    out.last.resize(s.size());
    std::vector<int32_t> suffixArray(s.size() + 1);
    TBWTBase::ForwardTransform(s.data(), static_cast<int>(s.size()), suffixArray.data(),
                               out.last.data(), out.start, out.sentinel);
    return out;
}

Bytes Inverse(const Transformed& t) {
    const int n = static_cast<int>(t.last.size());
    Bytes full(t.last.begin(), t.last.end());
    full.insert(full.begin() + t.sentinel, 0);
    std::vector<uint32_t> vector(static_cast<size_t>(n) + 1);
    Bytes out(static_cast<size_t>(n));
    TBWTBase::InverseTransform(full.data(), n, t.sentinel, t.start, vector.data(), out.data());
    return out;
}

void ExpectSameAsSlow(const Bytes& s) {
    const Transformed slow = SlowTransform(s);
    const Transformed fast = FastTransform(s);
    EXPECT_EQ(fast.last, slow.last);
    EXPECT_EQ(fast.start, slow.start);
    EXPECT_EQ(fast.sentinel, slow.sentinel);
    EXPECT_EQ(Inverse(fast), s);
}

TEST(Bwt, EmptyBlockHasStartAndSentinelZero) {
    const Transformed t = FastTransform({});
    EXPECT_EQ(t.start, 0);
    EXPECT_EQ(t.sentinel, 0);
    EXPECT_TRUE(Inverse(t).empty());
}

TEST(Bwt, OneByteStartsAtTheSentinelRow) {
    const Transformed t = FastTransform({'x'});
    EXPECT_EQ(t.start, 0);     // the rotation at s[1] is the sentinel's own
    EXPECT_EQ(t.sentinel, 1);  // "x$" sorts after "$x"
    EXPECT_EQ(t.last, Bytes{'x'});
    EXPECT_EQ(Inverse(t), Bytes{'x'});
}

TEST(Bwt, BananaMatchesTheRotationSort) {
    const Transformed t = FastTransform(FromText("banana"));
    // Rows: $banana, a$banan, ana$ban, anana$b, banana$, na$bana, nana$ba.
    EXPECT_EQ(std::string(t.last.begin(), t.last.end()), "annbaa");
    EXPECT_EQ(t.sentinel, 4);
    EXPECT_EQ(t.start, 3);
    ExpectSameAsSlow(FromText("banana"));
}

TEST(Bwt, SmallInputsMatchTheRotationSort) {
    std::mt19937 rng(17);
    for (int round = 0; round < 300; ++round) {
        const size_t n = rng() % 40;
        const uint32_t alphabet = 1 + rng() % (round % 3 == 0 ? 255 : 3);
        Bytes s(n);
        for (auto& b : s) b = static_cast<uint8_t>(rng() % alphabet);
        ExpectSameAsSlow(s);
    }
    ExpectSameAsSlow(Bytes(50, 0));
    ExpectSameAsSlow(Bytes(50, 255));
}

TEST(Bwt, LargeInputsRoundTrip) {
    for (const Bytes& s :
         {RandomBytes(kMaxBlockBytes, 3), GedcomLikeText(300000, 4), Bytes(kMaxBlockBytes, 'a')}) {
        EXPECT_EQ(Inverse(FastTransform(s)), s);
    }
}

}  // namespace
}  // namespace kindrel::test
