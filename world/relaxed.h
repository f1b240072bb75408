#pragma once
// A field that the main thread owns but other threads may read (or, for `view_width`, write)
// through the host API at any moment. Every access is a relaxed atomic load or store, so a
// reader on another thread sees some recent value of the field rather than a data race; on
// x86-64 these are the same plain moves a bare float would get. Readers may still see a mix of
// two steps across fields, and nothing relies on more.
#include <atomic>

namespace veldmark {

template <class T>
class Relaxed {
public:
    constexpr Relaxed() noexcept = default;
    Relaxed(const Relaxed&) = delete;
    Relaxed& operator=(const Relaxed&) = delete;

    operator T() const noexcept { return value_.load(std::memory_order_relaxed); }
    T load() const noexcept { return value_.load(std::memory_order_relaxed); }

    Relaxed& operator=(T v) noexcept
    {
        value_.store(v, std::memory_order_relaxed);
        return *this;
    }

    // Read-modify-write without atomicity: only the owning thread ever writes these fields.
    Relaxed& operator+=(T delta) noexcept { return *this = static_cast<T>(load() + delta); }
    Relaxed& operator-=(T delta) noexcept { return *this = static_cast<T>(load() - delta); }

private:
    std::atomic<T> value_{};
    static_assert(std::atomic<T>::is_always_lock_free);
};

static_assert(sizeof(Relaxed<float>) == 4 && alignof(Relaxed<float>) == 4);
static_assert(sizeof(Relaxed<unsigned long long>) == 8);

} // namespace veldmark
