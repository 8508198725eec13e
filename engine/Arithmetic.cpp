#include "engine/Arithmetic.h"

#include "engine/ArithmeticSteps.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace vostrel {

namespace steps {

namespace {

// The integer nearest to the cube root of m (0 <= m <= 2^31). An estimate from the exponent
// bits, refined by Newton steps, lands within one of it; integers then settle it exactly: r is
// nearest when (2r - 1)^3 < 8m < (2r + 1)^3 (no cube of an odd number equals 8m).
int64_t NearestCubeRoot(int64_t m) {
    if (m < 2) {
        return m;
    }
    const double x = static_cast<double>(m);
    double y = std::bit_cast<double>(std::bit_cast<uint64_t>(x) / 3 + 0x2A9F7893782DA1CEull);
    for (int i = 0; i < 2; ++i) {
        y -= (y * y * y - x) / (3 * y * y);
    }
    int64_t r = static_cast<int64_t>(y + 0.5);
    const auto oddCube = [](int64_t c) { return c * c * c; };
    while (r > 0 && oddCube(2 * r - 1) > 8 * m) {
        --r;
    }
    while (oddCube(2 * r + 1) < 8 * m) {
        ++r;
    }
    return r;
}

} // namespace

int32_t RaiseStep(int32_t v, int32_t kind, const ScoreSwitches& sw, int32_t& out, int32_t& points) {
    switch (kind) {
    case PowSqrt: {
        if (v < 0) {
            return EvalInexactRoot;
        }
        // Adding 0.5 lands exact roots on their integer despite rounding in the root.
        const int64_t r = static_cast<int64_t>(std::sqrt(static_cast<double>(v)) + 0.5);
        if (r * r != v) {
            return Inexact(r, sw.scoreInexactRoot, EvalInexactRoot, out, points);
        }
        out = static_cast<int32_t>(r);
        points += points::PowerPoints(v, PowSqrt);
        return EvalOk;
    }
    case PowCbrt: {
        const int64_t m = v < 0 ? -static_cast<int64_t>(v) : v;
        const int64_t r = NearestCubeRoot(m);
        const int64_t root = v < 0 ? -r : r;
        if (r * r * r != m) {
            return Inexact(root, sw.scoreInexactRoot, EvalInexactRoot, out, points);
        }
        out = static_cast<int32_t>(root);
        points += points::PowerPoints(v, PowCbrt);
        return EvalOk;
    }
    case PowSquare:
    case PowCube: {
        const int64_t sq = static_cast<int64_t>(v) * v;
        // Past the 32-bit range the square already rules the cube out, and the cube below
        // stays within 64 bits.
        if (sq > kMax) {
            return EvalOverflow;
        }
        const int64_t r = kind == PowSquare ? sq : sq * v;
        if (!Fits(r)) {
            return EvalOverflow;
        }
        out = static_cast<int32_t>(r);
        points += points::PowerPoints(v, kind);
        return EvalOk;
    }
    default:
        return EvalBadInput;
    }
}

} // namespace steps

namespace {

EvalResult Outcome(int32_t status, int32_t value, int32_t points) {
    if (status != EvalOk) {
        return {status, 0, 0};
    }
    return {EvalOk, value, points};
}

} // namespace

EvalResult ApplyPower(int32_t value, int32_t kind, const ScoreSwitches& sw) {
    int32_t out = 0;
    int32_t points = 0;
    const int32_t status = steps::PowerStep(value, kind, sw, out, points);
    return Outcome(status, out, points);
}

EvalResult ApplyOp(int32_t left, int32_t right, int32_t kind, const ScoreSwitches& sw) {
    int32_t out = 0;
    int32_t points = 0;
    const int32_t status = steps::OpStep(left, right, kind, sw, out, points);
    return Outcome(status, out, points);
}

} // namespace vostrel
