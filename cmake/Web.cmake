# The WebAssembly build (emscripten; scripts/build-web): the four-lane kernels as WebAssembly
# SIMD, chosen at build time (render/simd/simd_build.h), and, for a cross-origin isolated page,
# threads on shared memory. Every object of a build must agree on threads, so it is set here
# for the whole tree.
option(VELDMARK_WEB_THREADS "Build the web program with the render worker threads (needs a cross-origin isolated page)" ON)
add_compile_options(-msimd128)
if(VELDMARK_WEB_THREADS)
  add_compile_options(-pthread)
  add_link_options(-pthread)
endif()
# What FindThreads would give elsewhere: here the flag above is the whole of it.
add_library(Threads::Threads INTERFACE IMPORTED)
