// Four floats processed together: SSE2 on x86 (the target's baseline), plain
// arrays elsewhere. Loads and stores take any address (no alignment needed).
// Every operation is the IEEE single-precision operation lane by lane, so both
// forms give the same bits.
#pragma once

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#else
#include <cmath>
#endif

namespace spectrum::simd {

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)

inline constexpr bool vectorised = true;

struct F4 {
    __m128 v;
};

inline F4 load(const float* p) { return {_mm_loadu_ps(p)}; }
inline void store(float* p, F4 a) { _mm_storeu_ps(p, a.v); }
inline F4 broadcast(float x) { return {_mm_set1_ps(x)}; }
inline F4 operator+(F4 a, F4 b) { return {_mm_add_ps(a.v, b.v)}; }
inline F4 operator-(F4 a, F4 b) { return {_mm_sub_ps(a.v, b.v)}; }
inline F4 operator*(F4 a, F4 b) { return {_mm_mul_ps(a.v, b.v)}; }
inline F4 sqrt(F4 a) { return {_mm_sqrt_ps(a.v)}; }
// Lanes in reverse order: (a3, a2, a1, a0).
inline F4 reverse(F4 a) { return {_mm_shuffle_ps(a.v, a.v, _MM_SHUFFLE(0, 1, 2, 3))}; }
// From x0..x3 and x4..x7: the even samples (x0, x2, x4, x6) and the odd ones.
inline void deinterleave(F4 low, F4 high, F4& even, F4& odd) {
    even.v = _mm_shuffle_ps(low.v, high.v, _MM_SHUFFLE(2, 0, 2, 0));
    odd.v = _mm_shuffle_ps(low.v, high.v, _MM_SHUFFLE(3, 1, 3, 1));
}
// Rows become columns.
inline void transpose(F4& a, F4& b, F4& c, F4& d) { _MM_TRANSPOSE4_PS(a.v, b.v, c.v, d.v); }

#else

inline constexpr bool vectorised = false;

struct F4 {
    float v[4];
};

template <class Op>
inline F4 lanes(F4 a, F4 b, Op op) {
    return {{op(a.v[0], b.v[0]), op(a.v[1], b.v[1]), op(a.v[2], b.v[2]), op(a.v[3], b.v[3])}};
}
inline F4 load(const float* p) { return {{p[0], p[1], p[2], p[3]}}; }
inline void store(float* p, F4 a) {
    for (int i = 0; i < 4; ++i) p[i] = a.v[i];
}
inline F4 broadcast(float x) { return {{x, x, x, x}}; }
inline F4 operator+(F4 a, F4 b) { return lanes(a, b, [](float x, float y) { return x + y; }); }
inline F4 operator-(F4 a, F4 b) { return lanes(a, b, [](float x, float y) { return x - y; }); }
inline F4 operator*(F4 a, F4 b) { return lanes(a, b, [](float x, float y) { return x * y; }); }
inline F4 sqrt(F4 a) { return {{std::sqrt(a.v[0]), std::sqrt(a.v[1]), std::sqrt(a.v[2]), std::sqrt(a.v[3])}}; }
inline F4 reverse(F4 a) { return {{a.v[3], a.v[2], a.v[1], a.v[0]}}; }
inline void deinterleave(F4 low, F4 high, F4& even, F4& odd) {
    even = {{low.v[0], low.v[2], high.v[0], high.v[2]}};
    odd = {{low.v[1], low.v[3], high.v[1], high.v[3]}};
}
inline void transpose(F4& a, F4& b, F4& c, F4& d) {
    const F4 r[4] = {a, b, c, d};
    F4* out[4] = {&a, &b, &c, &d};
    for (int i = 0; i < 4; ++i) *out[i] = {{r[0].v[i], r[1].v[i], r[2].v[i], r[3].v[i]}};
}

#endif

}  // namespace spectrum::simd
