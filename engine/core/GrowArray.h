#pragma once

#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>

// The growable array behind every table, list and queue of the scene and the engine.
//
// It starts with room for 20 elements and grows by a fixed step of 20 when an append finds it
// full. Emptying keeps the storage, so a queue that is filled and emptied every frame stops
// allocating once it has reached its working size. Growing moves the elements: a table whose
// elements are referred to by address must `reserve` its final count before it is filled.
template <typename T> class GrowArray {
public:
    static constexpr int kInitialCapacity = 20;
    static constexpr int kGrowthStep = 20;

    GrowArray() { reallocate(kInitialCapacity); }
    ~GrowArray() {
        clear();
        std::free(m_items);
    }
    GrowArray(const GrowArray&) = delete;
    GrowArray& operator=(const GrowArray&) = delete;

    int count() const { return m_count; }
    int capacity() const { return m_capacity; }
    int growthStep() const { return kGrowthStep; }
    bool empty() const { return m_count == 0; }

    T& operator[](int i) { return m_items[i]; }
    const T& operator[](int i) const { return m_items[i]; }
    T* begin() { return m_items; }
    T* end() { return m_items + m_count; }
    const T* begin() const { return m_items; }
    const T* end() const { return m_items + m_count; }

    // Appends one element; returns a reference to the stored copy.
    T& append(const T& item) { return emplace(item); }
    T& append(T&& item) { return emplace(std::move(item)); }

    template <typename... Args> T& emplace(Args&&... args) {
        if (m_count == m_capacity) {
            reallocate(m_capacity + kGrowthStep);
        }
        T* slot = new (m_items + m_count) T(std::forward<Args>(args)...);
        ++m_count;
        return *slot;
    }

    // Makes room for at least `n` elements at once, so that appends up to n never move them.
    void reserve(int n) {
        if (n > m_capacity) {
            reallocate(n);
        }
    }

    // Sets the count to 0; the storage is kept.
    void clear() {
        for (int i = 0; i < m_count; ++i) {
            m_items[i].~T();
        }
        m_count = 0;
    }

private:
    void reallocate(int capacity) {
        T* items = static_cast<T*>(std::malloc(sizeof(T) * static_cast<size_t>(capacity)));
        if (items == nullptr) {
            std::abort(); // the tables are small; running out of memory here is fatal anyway
        }
        for (int i = 0; i < m_count; ++i) {
            new (items + i) T(std::move(m_items[i]));
            m_items[i].~T();
        }
        std::free(m_items);
        m_items = items;
        m_capacity = capacity;
    }

    T* m_items = nullptr;
    int m_count = 0;
    int m_capacity = 0;
};
