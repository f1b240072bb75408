#pragma once
// std::bit_cast where the standard library has it; the compiler's builtin where it does not
// (the WebAssembly toolchain's libc++ lacks it). Both are constexpr and reinterpret the bytes of
// a trivially copyable value as another type of the same size.
#include <bit>
#include <type_traits>

namespace veldmark {

template <typename To, typename From>
constexpr To BitCast(const From& from) noexcept
{
    static_assert(sizeof(To) == sizeof(From), "BitCast needs types of one size");
    static_assert(std::is_trivially_copyable_v<To> && std::is_trivially_copyable_v<From>);
#if defined(__cpp_lib_bit_cast)
    return std::bit_cast<To>(from);
#else
    return __builtin_bit_cast(To, from);
#endif
}

} // namespace veldmark
