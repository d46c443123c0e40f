// Compiled only into the browser's SIMD modules, which start only where the
// browser has WebAssembly's 128-bit vectors.
//
// No vector library here has a cosine within one ulp out to the phases a
// press reaches (1.6 N rad, over 1e8) that beats the C library: SLEEF's
// 1-ulp cosine, through the SSE2 headers and without the fused multiply-adds
// WebAssembly lacks, came out slower than musl's, and Highway's strays by
// 3 ulp. So the polynomials are the C library's own (fdlibm's kernels, as
// musl and so emscripten use them), two lanes at a time. Past 2^20 pi/2 musl
// reduces exactly through a table, slowly; the pieces of pi/2 below stay
// exact up to 2^28, and past that each lane goes to the C library after all.
//
// The polynomials' coefficients:
// Copyright (C) 1993 by Sun Microsystems, Inc. All rights reserved.
// Developed at SunSoft, a Sun Microsystems, Inc. business.
// Permission to use, copy, modify, and distribute this software is freely
// granted, provided that this notice is preserved.
#if defined(TRELVANO_HAVE_SIMD128)
#include <wasm_simd128.h>

#include <algorithm>
#include <cmath>

#include "engine/signal/VectorCosineKernels.h"

namespace trelvano::kernels {

namespace {

// Beyond this the products of the quotient with the pieces of pi/2 below
// would no longer be exact.
constexpr double kReducible = 0x1p28;

v128_t Splat(double v)
{
    return wasm_f64x2_splat(v);
}
v128_t Mul(v128_t a, v128_t b)
{
    return wasm_f64x2_mul(a, b);
}
v128_t Add(v128_t a, v128_t b)
{
    return wasm_f64x2_add(a, b);
}
v128_t Sub(v128_t a, v128_t b)
{
    return wasm_f64x2_sub(a, b);
}

// a - b as a sum of two doubles whatever their sizes, so the digits that
// cancel in the reduction leave the remainder's tail behind rather than lose it.
void TwoDiff(v128_t a, v128_t b, v128_t& sum, v128_t& tail)
{
    sum = Sub(a, b);
    const v128_t bb = Sub(sum, a);
    tail = Sub(Sub(a, Sub(sum, bb)), Add(b, bb));
}

// cos(y0 + y1) over |y0| <= pi/4, z = y0 * y0.
v128_t CosKernel(v128_t y0, v128_t y1, v128_t z)
{
    const v128_t w = Mul(z, z);
    const v128_t rc =
        Add(Mul(z, Add(Splat(4.16666666666666019037e-02),
                       Mul(z, Add(Splat(-1.38888888888741095749e-03), Mul(z, Splat(2.48015872894767294178e-05)))))),
            Mul(Mul(w, w),
                Add(Splat(-2.75573143513906633035e-07),
                    Mul(z, Add(Splat(2.08757232129817482790e-09), Mul(z, Splat(-1.13596475577881948265e-11)))))));
    const v128_t hz = Mul(Splat(0.5), z);
    const v128_t wc = Sub(Splat(1.0), hz);
    return Add(wc, Add(Sub(Sub(Splat(1.0), wc), hz), Sub(Mul(z, rc), Mul(y0, y1))));
}

// sin(y0 + y1), likewise.
v128_t SinKernel(v128_t y0, v128_t y1, v128_t z)
{
    const v128_t w = Mul(z, z);
    const v128_t rs =
        Add(Add(Splat(8.33333333332248946124e-03),
                Mul(z, Add(Splat(-1.98412698298579493134e-04), Mul(z, Splat(2.75573137070700676789e-06))))),
            Mul(Mul(z, w), Add(Splat(-2.50507602534068634195e-08), Mul(z, Splat(1.58969099521155010221e-10)))));
    const v128_t v = Mul(z, y0);
    return Sub(y0,
               Sub(Sub(Mul(z, Sub(Mul(Splat(0.5), y1), Mul(v, rs))), y1), Mul(v, Splat(-1.66666666666666324348e-01))));
}

// cos(x) for |x| below kReducible, every lane; NaN in, NaN out.
v128_t Cosine(v128_t x)
{
    const v128_t a = wasm_f64x2_abs(x);
    // q = round(a 2/pi), held in the low bits of qm's mantissa.
    const v128_t magic = Splat(0x1.8p52);
    const v128_t qm = Add(Mul(a, Splat(0x1.45f306dc9c883p-1)), magic);
    const v128_t q = Sub(qm, magic);
    // Phases below 2^19 pi/2, a press's as a rule: pi/2 as a piece of 33
    // bits, whose product with q is exact, and its tail, as fdlibm takes
    // them. Near a multiple of pi/2 the difference cancels to a few bits,
    // and for larger q the tail's product strays, so those lanes alone are
    // reduced again (a lane's cosine must not depend on the phase beside it):
    // pi/2 in pieces of 25 bits, whose products with q < 2^28 are exact, and
    // a last one that carries on to 2^-134.
    const v128_t r = Sub(a, Mul(q, Splat(0x1.921fb544p+0)));
    const v128_t w = Mul(q, Splat(0x1.0b4611a626331p-34));
    v128_t y0 = Sub(r, w);
    v128_t y1 = Sub(Sub(r, y0), w);
    const v128_t again =
        wasm_v128_or(wasm_f64x2_ge(q, Splat(0x1p19)), wasm_f64x2_lt(wasm_f64x2_abs(y0), Splat(0x1p-8)));
    if (wasm_v128_any_true(again)) {
        const v128_t r1 = Sub(a, Mul(q, Splat(0x1.921fb5p+0)));
        v128_t r2, e2, r3, e3;
        TwoDiff(r1, Mul(q, Splat(0x1.110b46p-26)), r2, e2);
        TwoDiff(r2, Mul(q, Splat(0x1.1a6263p-54)), r3, e3);
        const v128_t tail = Sub(Add(e2, e3), Mul(q, Splat(0x1.8a2e03707344ap-81)));
        const v128_t exact0 = Add(r3, tail);
        y1 = wasm_v128_bitselect(Add(Sub(r3, exact0), tail), y1, again);
        y0 = wasm_v128_bitselect(exact0, y0, again);
    }

    // Which kernel a lane needs goes by the quadrant q mod 4: cos, -sin,
    // -cos, sin. Neighbouring samples' phases mostly share a quadrant, so a
    // pair is as a rule served by one kernel, not both.
    const v128_t parity = wasm_i64x2_shl(qm, 63);
    const v128_t sign = wasm_i64x2_shl(wasm_v128_and(wasm_i64x2_add(qm, wasm_i64x2_splat(1)), wasm_i64x2_splat(2)), 62);
    const v128_t z = Mul(y0, y0);
    v128_t value;
    switch (wasm_i64x2_bitmask(parity)) {
    case 0:
        value = CosKernel(y0, y1, z);
        break;
    case 3:
        value = SinKernel(y0, y1, z);
        break;
    default:
        value = wasm_v128_bitselect(SinKernel(y0, y1, z), CosKernel(y0, y1, z), wasm_i64x2_shr(parity, 63));
        break;
    }
    return wasm_v128_xor(value, sign);
}

}  // namespace

void CosinesSimd128(const double* phases, double* out, std::size_t count) noexcept
{
    // A phase out of reach is rare: the loop only notes one, and a second
    // pass mends it, so the common case never branches on it.
    const v128_t reducible = Splat(kReducible);
    v128_t beyond = wasm_i64x2_splat(0);
    std::size_t i = 0;
    for (; i + 2 <= count; i += 2) {
        const v128_t x = wasm_v128_load(phases + i);
        beyond = wasm_v128_or(beyond, wasm_v128_not(wasm_f64x2_lt(wasm_f64x2_abs(x), reducible)));
        wasm_v128_store(out + i, Cosine(x));
    }
    if (i < count) {
        double lanes[2] = {phases[i], 0.0};
        wasm_v128_store(lanes, Cosine(wasm_v128_load(lanes)));
        out[i] = lanes[0];
        if (!(std::fabs(phases[i]) < kReducible)) out[i] = std::cos(phases[i]);
    }
    if (!wasm_v128_any_true(beyond)) return;
        // Vectorised, this loop would take the C library's cosine of every phase
        // and keep the few it needs.
#pragma clang loop vectorize(disable)
    for (std::size_t j = 0; j < count; ++j) {
        if (!(std::fabs(phases[j]) < kReducible)) out[j] = std::cos(phases[j]);
    }
}

}  // namespace trelvano::kernels
#endif
