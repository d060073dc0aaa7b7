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
    std::vector<uint32_t> backVector(static_cast<size_t>(n) + 1);
    Bytes out(static_cast<size_t>(n));
    TBWTBase::InverseTransform(full.data(), n, t.sentinel, t.start, vector.data(),
                               backVector.data(), out.data());
    return out;
}

// The inverse walk step by step: counts, the vector T, then output L[idx], idx = T[idx].
Bytes SlowInverse(const Bytes& full, int sentinel, int start) {
    const int n = static_cast<int>(full.size()) - 1;
    std::vector<int> below(257, 0);
    for (int q = 0; q <= n; ++q) {
        if (q != sentinel) ++below[full[static_cast<size_t>(q)] + 1];
    }
    std::vector<int> first(256);
    int sum = 1;
    for (int b = 0; b < 256; ++b) {
        first[static_cast<size_t>(b)] = sum;
        sum += below[static_cast<size_t>(b) + 1];
    }
    std::vector<int> t(static_cast<size_t>(n) + 1);
    t[0] = sentinel;
    for (int q = 0; q <= n; ++q) {
        if (q != sentinel) t[static_cast<size_t>(first[full[static_cast<size_t>(q)]]++)] = q;
    }
    Bytes out;
    for (int j = 0, idx = start; j < n; ++j) {
        out.push_back(full[static_cast<size_t>(idx)]);
        idx = t[static_cast<size_t>(idx)];
    }
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

TEST(Bwt, DamagedBlocksGiveExactlyTheForwardWalk) {
    // Any L, start and sentinel: the two-chain walk must give the bytes of the plain walk.
    std::mt19937 rng(19);
    for (int round = 0; round < 2000; ++round) {
        const int n = static_cast<int>(rng() % 30);
        Bytes full(static_cast<size_t>(n) + 1);
        const uint32_t alphabet = 1 + rng() % 4;
        for (auto& b : full) b = static_cast<uint8_t>(rng() % alphabet);
        const int sentinel = static_cast<int>(rng() % static_cast<uint32_t>(n + 1));
        const int start = static_cast<int>(rng() % static_cast<uint32_t>(n + 1));
        full[static_cast<size_t>(sentinel)] = 0;
        Transformed t;
        t.last = full;
        t.last.erase(t.last.begin() + sentinel);
        t.sentinel = sentinel;
        t.start = start;
        ASSERT_EQ(Inverse(t), SlowInverse(full, sentinel, start))
            << "n " << n << " sentinel " << sentinel << " start " << start;
    }
}

TEST(Bwt, LargeInputsRoundTrip) {
    for (const Bytes& s :
         {RandomBytes(kMaxBlockBytes, 3), GedcomLikeText(300000, 4), Bytes(kMaxBlockBytes, 'a')}) {
        EXPECT_EQ(Inverse(FastTransform(s)), s);
    }
}

}  // namespace
}  // namespace kindrel::test
