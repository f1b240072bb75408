// Opens the region in which everything is compiled for AVX2: the eight-lane vocabulary and the
// kernels' templates as kernels_vec8.cpp instantiates them. Close it with vec8_end.h. No include
// guard: it is meant to be included once per region.
//
// Only two kinds of code may be defined inside: the vec8 namespace, and templates whose
// instances take vec8's types. Anything else compiled here (a plain inline function, a
// template instance over other types) could be merged by the linker with the same function
// compiled for every processor, and run on one without AVX2. So every other header a kernel
// needs is included before the region; vec4.h refuses to be included inside it.
#if defined(VELDMARK_INSIDE_VEC8_TARGET)
#error "the eight-lane target region is already open"
#endif
#define VELDMARK_INSIDE_VEC8_TARGET 1
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#elif defined(__GNUC__)
#pragma GCC push_options
#pragma GCC target("avx2")
#endif
