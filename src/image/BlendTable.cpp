#include "image/BlendTable.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmaris {

BlendTable::BlendTable()
{
    for (int s = 0; s < 7; ++s) {
        t7_[s] = {65 - 5 * s, 100, 35 + 5 * s};
    }
    for (int s = 0; s < 11; ++s) {
        t11_[s] = {75 - 5 * s, 100, 25 + 5 * s};
    }
    for (int s = 0; s < 21; ++s) {
        if (s <= 2) {
            t21_[s] = {100, 100, 0};
        } else if (s <= 8) {
            t21_[s] = {100 - 10 * (s - 2), 100 + 10 * (s - 2), 0};
        } else if (s <= 12) {
            t21_[s] = {40 - 10 * (s - 8), 160, 10 * (s - 8)};
        } else if (s <= 17) {
            t21_[s] = {0, 160 - 10 * (s - 12), 40 + 10 * (s - 12)};
        } else {
            t21_[s] = {0, 100, 100};
        }
    }
    for (int s = 0; s < 41; ++s) {
        if (s <= 4) {
            t41_[s] = {100, 100, 0};
        } else if (s <= 16) {
            t41_[s] = {100 - 5 * (s - 4), 100 + 5 * (s - 4), 0};
        } else if (s <= 24) {
            t41_[s] = {40 - 5 * (s - 16), 160, 5 * (s - 16)};
        } else if (s <= 35) {
            t41_[s] = {0, 160 - 5 * (s - 24), 40 + 5 * (s - 24)};
        } else {
            t41_[s] = {0, 100, 100};
        }
    }
}

namespace {

// The blended levels, or with Scaled the pixel values clamp(level >> shift,
// 1, 117) straight from the 16-bit levels, saving a pass over them.
template <bool Scaled>
void Blend(const std::uint8_t* l1, const std::uint8_t* l2, const std::uint8_t* l3, const BlendRow& w,
    int count, int shift, std::uint8_t* out)
{
    int j = 0;
#if defined(__SSE2__)
    // Every product and sum fits 16 unsigned bits (255 x 256 at most).
    // sum / 200 = (sum / 8) / 25, and for (sum / 8) < 8192 the quotient by
    // 25 is (q x 5243) >> 17 exactly.
    const __m128i zero = _mm_setzero_si128();
    const __m128i w1 = _mm_set1_epi16(static_cast<short>(w.w1));
    const __m128i w2 = _mm_set1_epi16(static_cast<short>(w.w2));
    const __m128i w3 = _mm_set1_epi16(static_cast<short>(w.w3));
    const __m128i magic = _mm_set1_epi16(static_cast<short>(5243));
    const __m128i by = _mm_cvtsi32_si128(1 + (Scaled ? shift : 0));
    const __m128i one = _mm_set1_epi8(1);
    const __m128i cap = _mm_set1_epi8(117);
    auto level = [&](__m128i a, __m128i b, __m128i c) {
        const __m128i sum = _mm_add_epi16(
            _mm_add_epi16(_mm_mullo_epi16(a, w1), _mm_mullo_epi16(b, w2)), _mm_mullo_epi16(c, w3));
        return _mm_srl_epi16(_mm_mulhi_epu16(_mm_srli_epi16(sum, 3), magic), by);
    };
    for (; j + 16 <= count; j += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(l1 + j));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(l2 + j));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(l3 + j));
        const __m128i lo
            = level(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), _mm_unpacklo_epi8(c, zero));
        const __m128i hi
            = level(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), _mm_unpackhi_epi8(c, zero));
        __m128i v = _mm_packus_epi16(lo, hi);
        if (Scaled)
            v = _mm_min_epu8(_mm_max_epu8(v, one), cap);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), v);
    }
#endif
    for (; j < count; ++j) {
        const int v = BlendTable::Level(l1[j] * w.w1 + l2[j] * w.w2 + l3[j] * w.w3);
        out[j] = static_cast<std::uint8_t>(Scaled ? std::clamp(v >> shift, 1, 117) : v);
    }
}

} // namespace

void BlendLevels(const std::uint8_t* l1, const std::uint8_t* l2, const std::uint8_t* l3, const BlendRow& w,
    int count, std::uint8_t* out)
{
    Blend<false>(l1, l2, l3, w, count, 0, out);
}

void BlendPixelValues(const std::uint8_t* l1, const std::uint8_t* l2, const std::uint8_t* l3,
    const BlendRow& w, int count, int shift, std::uint8_t* out)
{
    Blend<true>(l1, l2, l3, w, count, shift, out);
}

SubLineSelection BlendTable::ForStep(int step) const
{
    switch (step) {
    case 1:
        return {7, t7_.data()};
    case 2:
        return {11, t11_.data()};
    case 3:
        return {17, t21_.data() + 2};
    case 4:
        return {21, t21_.data()};
    case 5:
    case 8:
        return {41, t41_.data()};
    case 6:
        return {21, t41_.data()};
    default:
        return {};
    }
}

} // namespace velmaris
