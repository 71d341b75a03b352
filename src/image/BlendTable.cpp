#include "image/BlendTable.h"

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

void BlendLevels(const std::uint8_t* l1, const std::uint8_t* l2, const std::uint8_t* l3, const BlendRow& w,
    int count, std::uint8_t* out)
{
    int j = 0;
#if defined(__SSE2__)
    // Every product and sum fits 16 unsigned bits (255 x 256 at most).
    // sum / 200 = (sum / 8) / 25, and for (sum / 8) < 8192 the quotient by
    // 25 is (q x 5243) >> 17 exactly.
    const __m128i zero = _mm_setzero_si128();
    const __m128i w1 = _mm_set1_epi16(short(w.w1));
    const __m128i w2 = _mm_set1_epi16(short(w.w2));
    const __m128i w3 = _mm_set1_epi16(short(w.w3));
    const __m128i magic = _mm_set1_epi16(short(5243));
    auto level = [&](__m128i a, __m128i b, __m128i c) {
        const __m128i sum = _mm_add_epi16(
            _mm_add_epi16(_mm_mullo_epi16(a, w1), _mm_mullo_epi16(b, w2)), _mm_mullo_epi16(c, w3));
        return _mm_srli_epi16(_mm_mulhi_epu16(_mm_srli_epi16(sum, 3), magic), 1);
    };
    for (; j + 16 <= count; j += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(l1 + j));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(l2 + j));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(l3 + j));
        const __m128i lo
            = level(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), _mm_unpacklo_epi8(c, zero));
        const __m128i hi
            = level(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), _mm_unpackhi_epi8(c, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; j < count; ++j) {
        out[j] = std::uint8_t(BlendTable::Level(l1[j] * w.w1 + l2[j] * w.w2 + l3[j] * w.w3));
    }
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
