#pragma once
// Single-precision maths functions that are correctly rounded (to nearest, ties to even) for
// every input, with the special values of C's Annex F. A correctly rounded function has exactly
// one right answer, so these give the same bits with every compiler, library and platform,
// unlike the C library's sinf and friends. They use IEEE double arithmetic only (no library
// maths, no fused multiply-add): a fast evaluation with a proven error bound, and, when that
// lies too close to a rounding boundary to decide, a slower double-double one. Every NaN
// result is the same positive quiet NaN.
namespace veldmark {

float Sin(float x);             // correctly rounded sinf
float Cos(float x);             // correctly rounded cosf
float Tan(float x);             // correctly rounded tanf
float Atan(float x);            // correctly rounded atanf
float Atan2(float y, float x);  // correctly rounded atan2f
float Exp(float x);             // correctly rounded expf
float Pow(float x, float y);    // correctly rounded powf

} // namespace veldmark
