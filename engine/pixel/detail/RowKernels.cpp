#include "engine/pixel/detail/RowKernels.h"

#include <opencv2/core/hal/intrin.hpp>

#include <algorithm>
#include <cstring>

namespace zephrin::detail {

namespace {

constexpr int kLanes = 16; // bytes per 128-bit vector

template <class VectorOp, class ScalarOp>
inline void combineInto(uchar* acc, const uchar* a, int length, VectorOp vectorOp, ScalarOp scalarOp)
{
    int i = 0;
    for (; i + kLanes <= length; i += kLanes)
        cv::v_store(acc + i, vectorOp(cv::v_load(acc + i), cv::v_load(a + i)));
    for (; i < length; ++i)
        acc[i] = scalarOp(acc[i], a[i]);
}

template <class VectorOp, class ScalarOp>
inline void combineInto(uchar* acc, const uchar* a, const uchar* b, int length, VectorOp vectorOp, ScalarOp scalarOp)
{
    int i = 0;
    for (; i + kLanes <= length; i += kLanes)
        cv::v_store(acc + i, vectorOp(cv::v_load(acc + i), vectorOp(cv::v_load(a + i), cv::v_load(b + i))));
    for (; i < length; ++i)
        acc[i] = scalarOp(acc[i], scalarOp(a[i], b[i]));
}

const auto vectorMax = [](const cv::v_uint8x16& x, const cv::v_uint8x16& y) { return cv::v_max(x, y); };
const auto vectorMin = [](const cv::v_uint8x16& x, const cv::v_uint8x16& y) { return cv::v_min(x, y); };
const auto scalarMax = [](uchar x, uchar y) { return std::max(x, y); };
const auto scalarMin = [](uchar x, uchar y) { return std::min(x, y); };

inline uchar roundToByte(float value)
{
    return cv::saturate_cast<uchar>(value); // rounds to nearest and clamps
}

} // namespace

void maxInto(uchar* acc, const uchar* a, int length) { combineInto(acc, a, length, vectorMax, scalarMax); }
void minInto(uchar* acc, const uchar* a, int length) { combineInto(acc, a, length, vectorMin, scalarMin); }
void maxInto(uchar* acc, const uchar* a, const uchar* b, int length) { combineInto(acc, a, b, length, vectorMax, scalarMax); }
void minInto(uchar* acc, const uchar* a, const uchar* b, int length) { combineInto(acc, a, b, length, vectorMin, scalarMin); }

void weightedRowSum(const uchar* const* rows, const float* weights, int taps, uchar* dst, int length)
{
    int i = 0;
    for (; i + kLanes <= length; i += kLanes) {
        cv::v_float32x4 sum0 = cv::v_setzero_f32(), sum1 = sum0, sum2 = sum0, sum3 = sum0;
        for (int k = 0; k < taps; ++k) {
            const cv::v_float32x4 weight = cv::v_setall_f32(weights[k]);
            cv::v_uint16x8 low, high;
            cv::v_expand(cv::v_load(rows[k] + i), low, high);
            cv::v_uint32x4 q0, q1, q2, q3;
            cv::v_expand(low, q0, q1);
            cv::v_expand(high, q2, q3);
            sum0 = cv::v_fma(cv::v_cvt_f32(cv::v_reinterpret_as_s32(q0)), weight, sum0);
            sum1 = cv::v_fma(cv::v_cvt_f32(cv::v_reinterpret_as_s32(q1)), weight, sum1);
            sum2 = cv::v_fma(cv::v_cvt_f32(cv::v_reinterpret_as_s32(q2)), weight, sum2);
            sum3 = cv::v_fma(cv::v_cvt_f32(cv::v_reinterpret_as_s32(q3)), weight, sum3);
        }
        const cv::v_int16x8 words0 = cv::v_pack(cv::v_round(sum0), cv::v_round(sum1));
        const cv::v_int16x8 words1 = cv::v_pack(cv::v_round(sum2), cv::v_round(sum3));
        cv::v_store(dst + i, cv::v_pack_u(words0, words1));
    }
    for (; i < length; ++i) {
        float sum = 0;
        for (int k = 0; k < taps; ++k)
            sum += weights[k] * float(rows[k][i]);
        dst[i] = roundToByte(sum);
    }
}

void weightedPixelSum4(const uchar* src, const float* weights, int taps, uchar* dst)
{
    cv::v_float32x4 sum = cv::v_setzero_f32();
    for (int k = 0; k < taps; ++k) {
        const cv::v_uint32x4 pixel = cv::v_load_expand_q(src + 4 * k);
        sum = cv::v_fma(cv::v_cvt_f32(cv::v_reinterpret_as_s32(pixel)), cv::v_setall_f32(weights[k]), sum);
    }
    const cv::v_int32x4 rounded = cv::v_round(sum);
    const cv::v_int16x8 words = cv::v_pack(rounded, rounded);
    const cv::v_uint8x16 bytes = cv::v_pack_u(words, words);
    const unsigned packed = cv::v_extract_n<0>(cv::v_reinterpret_as_u32(bytes));
    std::memcpy(dst, &packed, 4);
}

void limitColourToAlpha(uchar* rgba, int pixels)
{
    for (int i = 0; i < pixels; ++i, rgba += 4) {
        const uchar alpha = rgba[3];
        rgba[0] = std::min(rgba[0], alpha);
        rgba[1] = std::min(rgba[1], alpha);
        rgba[2] = std::min(rgba[2], alpha);
    }
}

} // namespace zephrin::detail
