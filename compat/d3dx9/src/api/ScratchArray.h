#pragma once

#include <cstddef>
#include <memory>

namespace tarnelix::d3dx {

// A zero-filled array of n elements that lives on the stack up to N elements and on the heap
// beyond: the constant-table setters run for every draw, and the common sizes must not
// allocate.
template <typename T, size_t N> class ScratchArray {
public:
    explicit ScratchArray(size_t n) : m_size(n) {
        if (n > N) {
            m_heap.reset(new T[n]());
        } else {
            for (size_t i = 0; i < n; ++i) {
                m_local[i] = T();
            }
        }
    }
    ScratchArray(const ScratchArray&) = delete;
    ScratchArray& operator=(const ScratchArray&) = delete;

    T* data() { return m_heap ? m_heap.get() : m_local; }
    size_t size() const { return m_size; }
    T& operator[](size_t i) { return data()[i]; }

private:
    T m_local[N];
    std::unique_ptr<T[]> m_heap;
    size_t m_size;
};

} // namespace tarnelix::d3dx
