#pragma once

#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>

// The growable array behind every table, list and queue of the scene and the engine.
//
// It starts with room for 20 elements and grows by a fixed step of 20 when an append finds it
// full. Emptying keeps the storage, and keeps the emptied elements constructed too: the next
// appends reuse them by assignment, so a list of lists (a draw list whose entries carry light
// lists) that is refilled every frame stops allocating once it has reached its working size.
// Growing moves the elements: a table whose elements are referred to by address must `reserve`
// its final count before it is filled.
template <typename T> class GrowArray {
public:
    static constexpr int kInitialCapacity = 20;
    static constexpr int kGrowthStep = 20;

    GrowArray() { reallocate(kInitialCapacity); }
    ~GrowArray() {
        destroyAll();
        std::free(m_items);
    }
    GrowArray(const GrowArray&) = delete;
    GrowArray& operator=(const GrowArray&) = delete;
    GrowArray(GrowArray&& o) noexcept { swap(o); }
    GrowArray& operator=(GrowArray&& o) noexcept {
        swap(o);
        return *this;
    }

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
    T& append(const T& item) {
        T& slot = appendSlot();
        slot = item;
        return slot;
    }
    T& append(T&& item) {
        T& slot = appendSlot();
        slot = std::move(item);
        return slot;
    }

    // Appends an element and returns it for the caller to fill: a default-constructed one, or
    // one left behind by an earlier `clear`, holding whatever it held.
    T& appendSlot() {
        if (m_count == m_constructed) {
            if (m_constructed == m_capacity) {
                reallocate(m_capacity + kGrowthStep);
            }
            new (m_items + m_constructed) T();
            ++m_constructed;
        }
        return m_items[m_count++];
    }

    // Makes room for at least `n` elements at once, so that appends up to n never move them.
    void reserve(int n) {
        if (n > m_capacity) {
            reallocate(n);
        }
    }

    // Removes element i, moving the later ones down by one.
    void removeAt(int i) {
        for (int j = i; j + 1 < m_count; ++j) {
            m_items[j] = std::move(m_items[j + 1]);
        }
        --m_count;
    }

    // Sets the count to 0; the storage and the elements are kept for reuse.
    void clear() { m_count = 0; }

    // Sets the count to 0 and destroys every element; the storage is kept.
    void destroyAll() {
        for (int i = 0; i < m_constructed; ++i) {
            m_items[i].~T();
        }
        m_count = 0;
        m_constructed = 0;
    }

private:
    void reallocate(int capacity) {
        T* items = static_cast<T*>(std::malloc(sizeof(T) * static_cast<size_t>(capacity)));
        if (items == nullptr) {
            std::abort(); // the tables are small; running out of memory here is fatal anyway
        }
        for (int i = 0; i < m_constructed; ++i) {
            new (items + i) T(std::move(m_items[i]));
            m_items[i].~T();
        }
        std::free(m_items);
        m_items = items;
        m_capacity = capacity;
    }

    void swap(GrowArray& o) noexcept {
        std::swap(m_items, o.m_items);
        std::swap(m_count, o.m_count);
        std::swap(m_constructed, o.m_constructed);
        std::swap(m_capacity, o.m_capacity);
    }

    T* m_items = nullptr;
    int m_count = 0;
    int m_constructed = 0; // elements alive in storage: count plus those kept by clear
    int m_capacity = 0;
};
