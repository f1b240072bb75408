// Closes the region vec8_begin.h opened.
#if !defined(VELDMARK_INSIDE_VEC8_TARGET)
#error "no eight-lane target region is open"
#endif
#undef VELDMARK_INSIDE_VEC8_TARGET
#if defined(__clang__)
#pragma clang attribute pop
#elif defined(__GNUC__)
#pragma GCC pop_options
#endif
