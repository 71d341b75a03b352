#pragma once
// A small self-contained pseudo-random generator (splitmix64) and a stateless
// hash built on the same mixer. Both give the same numbers on every machine
// and standard library, which keeps simulated pings reproducible from a seed.

#include <cstdint>

namespace velmaris::sim {

// The splitmix64 finaliser: a good 64-bit mixer.
constexpr std::uint64_t Mix64(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// Hash of a seed and up to three integer coordinates (for textures fixed to
// the scene rather than to the ping).
constexpr std::uint64_t HashCoords(std::uint64_t seed, std::int64_t a, std::int64_t b = 0, std::int64_t c = 0)
{
    std::uint64_t h = Mix64(seed + 0x9E3779B97F4A7C15ull);
    h = Mix64(h ^ static_cast<std::uint64_t>(a));
    h = Mix64(h ^ (static_cast<std::uint64_t>(b) * 0x9E3779B97F4A7C15ull));
    h = Mix64(h ^ (static_cast<std::uint64_t>(c) * 0xC2B2AE3D27D4EB4Full));
    return h;
}

// Uniform double in [0, 1) from the top 53 bits of a hash.
constexpr double UnitFromHash(std::uint64_t h)
{
    return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

class SplitMix64 {
public:
    explicit constexpr SplitMix64(std::uint64_t seed)
        : state_(seed)
    { }

    constexpr std::uint64_t Next()
    {
        state_ += 0x9E3779B97F4A7C15ull;
        return Mix64(state_);
    }
    // Uniform in [0, 1).
    constexpr double NextUnit() { return UnitFromHash(Next()); }
    // Uniform integer in [0, bound); bound > 0.
    constexpr std::uint32_t NextBelow(std::uint32_t bound)
    {
        return static_cast<std::uint32_t>((Next() >> 32) * bound >> 32);
    }

private:
    std::uint64_t state_;
};

} // namespace velmaris::sim
