#include "spectrum_levels.h"

#include <cfloat>
#include <cmath>
#include <cstring>

#include "real_fft.h"
#include "simd4.h"

namespace spectrum {

namespace {
constexpr float levelScale = 10.0f / float(RealFft4096::size);  // exact: 5 / 2048
}

void binMagnitudes(const float* spectrum, float* magnitudes) {
    constexpr int32_t bins = RealFft4096::bins;
    const float* re = spectrum;
    const float* im = spectrum + bins;
    for (int32_t k = 0; k < bins; k += 4) {
        const simd::F4 r = simd::load(re + k), i = simd::load(im + k);
        simd::store(magnitudes + k, simd::sqrt(r * r + i * i));
    }
    magnitudes[0] = std::fabs(re[0]);  // the slot beside it holds the real bin 2048
}

uint8_t levelByte(float magnitude, float offset) {
    float m = magnitude > magnitudeFloor ? magnitude : magnitudeFloor;
    if (m > FLT_MAX) m = FLT_MAX;
    const float level = 10.0f * std::log10(m * levelScale);
    const float v = level + offset;
    return static_cast<uint8_t>(static_cast<int32_t>(-4.0f * v) & 0xFF);
}

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)

namespace {

// -4 (10 log10 p + offset) = -40 / ln 10 * ln p - 4 offset, with ln p from
// p = 2^e f, f in [sqrt(1/2), sqrt(2)]: ln f = 2 atanh(s), s = (f - 1) / (f + 1),
// |s| <= 0.1716, by its series to s^9 (the next term is below 1e-9). Its error
// against the exact single-precision chain of levelByte stays below 1e-3 for
// every magnitude (the float roundings of both chains included); results
// within `margin` of a whole number are handed to levelByte.
constexpr float margin = 1.0f / 256.0f;
constexpr float minusFortyOverLn10 = -17.371779276130073f;
constexpr float ln2High = 0.693145751953125f;  // e * ln2High is exact for every exponent
constexpr float ln2Low = 1.428606765330187e-06f;

// Four level bytes, packed in memory order.
inline void fourLevelBytes(const float* magnitudes, float offset, uint8_t* bytes) {
    __m128 m = _mm_loadu_ps(magnitudes);
    m = _mm_max_ps(m, _mm_set1_ps(magnitudeFloor));  // NaN lanes take the second operand: the floor
    m = _mm_min_ps(m, _mm_set1_ps(FLT_MAX));
    const __m128 p = _mm_mul_ps(m, _mm_set1_ps(levelScale));  // positive and normal

    const __m128i bits = _mm_castps_si128(p);
    __m128i exponent = _mm_sub_epi32(_mm_srli_epi32(bits, 23), _mm_set1_epi32(127));
    __m128 f = _mm_castsi128_ps(
        _mm_or_si128(_mm_and_si128(bits, _mm_set1_epi32(0x007FFFFF)), _mm_set1_epi32(0x3F800000)));
    const __m128 large = _mm_cmpgt_ps(f, _mm_set1_ps(1.41421356f));
    f = _mm_or_ps(_mm_and_ps(large, _mm_mul_ps(f, _mm_set1_ps(0.5f))), _mm_andnot_ps(large, f));
    exponent = _mm_sub_epi32(exponent, _mm_castps_si128(large));  // the mask is -1 where f was halved

    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 s = _mm_div_ps(_mm_sub_ps(f, one), _mm_add_ps(f, one));
    const __m128 s2 = _mm_mul_ps(s, s);
    __m128 series = _mm_add_ps(_mm_set1_ps(1.0f / 7), _mm_mul_ps(s2, _mm_set1_ps(1.0f / 9)));
    series = _mm_add_ps(_mm_set1_ps(1.0f / 5), _mm_mul_ps(s2, series));
    series = _mm_add_ps(_mm_set1_ps(1.0f / 3), _mm_mul_ps(s2, series));
    series = _mm_add_ps(one, _mm_mul_ps(s2, series));
    const __m128 lnF = _mm_mul_ps(_mm_add_ps(s, s), series);

    const __m128 e = _mm_cvtepi32_ps(exponent);
    const __m128 lnP =
        _mm_add_ps(_mm_mul_ps(e, _mm_set1_ps(ln2High)), _mm_add_ps(_mm_mul_ps(e, _mm_set1_ps(ln2Low)), lnF));
    const __m128 y = _mm_add_ps(_mm_mul_ps(lnP, _mm_set1_ps(minusFortyOverLn10)), _mm_set1_ps(-4.0f * offset));

    const __m128 nearest = _mm_cvtepi32_ps(_mm_cvtps_epi32(y));
    const __m128 distance = _mm_andnot_ps(_mm_set1_ps(-0.0f), _mm_sub_ps(y, nearest));
    const int close = _mm_movemask_ps(_mm_cmplt_ps(distance, _mm_set1_ps(margin)));

    __m128i t = _mm_and_si128(_mm_cvttps_epi32(y), _mm_set1_epi32(0xFF));
    t = _mm_packs_epi32(t, t);   // 0..255 fit without saturation
    t = _mm_packus_epi16(t, t);
    const int32_t packed = _mm_cvtsi128_si32(t);
    std::memcpy(bytes, &packed, 4);

    if (close != 0)
        for (int lane = 0; lane < 4; ++lane)
            if (close & (1 << lane)) bytes[lane] = levelByte(magnitudes[lane], offset);
}

}  // namespace

void levelBytes(const float* magnitudes, int32_t count, float offset, uint8_t* bytes) {
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) fourLevelBytes(magnitudes + i, offset, bytes + i);
    for (; i < count; ++i) bytes[i] = levelByte(magnitudes[i], offset);
}

#else

void levelBytes(const float* magnitudes, int32_t count, float offset, uint8_t* bytes) {
    for (int32_t i = 0; i < count; ++i) bytes[i] = levelByte(magnitudes[i], offset);
}

#endif

}  // namespace spectrum
