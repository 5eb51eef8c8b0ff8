#include "CountingAllocator.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <dlfcn.h>
#include <new>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void __libc_free(void* pointer);
// Linker-provided bounds of the executable's code.
extern char __executable_start;
extern char etext;
}

namespace {

std::atomic<bool> g_counting{false};
std::atomic<size_t> g_allocations{0};

// Where the counted allocations came from, kept without allocating: the benchmark is single
// threaded while it counts.
struct Caller {
    const void* address;
    size_t count;
};
constexpr int kMaxCallers = 64;
Caller g_callers[kMaxCallers];
int g_callerCount = 0;

void noteCaller(const void* address) {
    for (int i = 0; i < g_callerCount; ++i) {
        if (g_callers[i].address == address) {
            ++g_callers[i].count;
            return;
        }
    }
    if (g_callerCount < kMaxCallers) {
        g_callers[g_callerCount++] = Caller{address, 1};
    }
}

// An allocation is ours when the code that asked for it lies inside the executable; shared
// libraries (the GL driver, the C++ runtime) are mapped elsewhere.
void countIfOurs(const void* caller) {
    if (g_counting.load(std::memory_order_relaxed) && caller >= &__executable_start &&
        caller < &etext) {
        g_allocations.fetch_add(1, std::memory_order_relaxed);
        noteCaller(caller);
    }
}

} // namespace

namespace counting_allocator {

void start() {
    g_allocations = 0;
    g_callerCount = 0;
    g_counting = true;
}
void stop() {
    g_counting = false;
}
size_t allocations() {
    return g_allocations;
}

void printCallers(int limit) {
    std::sort(g_callers, g_callers + g_callerCount,
              [](const Caller& a, const Caller& b) { return a.count > b.count; });
    for (int i = 0; i < g_callerCount && i < limit; ++i) {
        Dl_info info = {};
        const char* name = "?";
        char* demangled = nullptr;
        if (dladdr(g_callers[i].address, &info) != 0 && info.dli_sname != nullptr) {
            int status = 0;
            demangled = abi::__cxa_demangle(info.dli_sname, nullptr, nullptr, &status);
            name = demangled != nullptr ? demangled : info.dli_sname;
        }
        // Functions with internal linkage have no dynamic symbol: give the offset for addr2line.
        const auto offset = static_cast<const char*>(g_callers[i].address) -
                            static_cast<const char*>(info.dli_fbase);
        std::printf("  %8zu  %s (+%#tx)\n", g_callers[i].count, name, offset);
        std::free(demangled);
    }
}

} // namespace counting_allocator

extern "C" {

void* malloc(size_t size) {
    countIfOurs(__builtin_return_address(0));
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
    countIfOurs(__builtin_return_address(0));
    return __libc_calloc(count, size);
}

void* realloc(void* pointer, size_t size) {
    countIfOurs(__builtin_return_address(0));
    return __libc_realloc(pointer, size);
}

void free(void* pointer) {
    __libc_free(pointer);
}
}

void* operator new(size_t size) {
    countIfOurs(__builtin_return_address(0));
    if (void* p = __libc_malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void* operator new[](size_t size) {
    countIfOurs(__builtin_return_address(0));
    if (void* p = __libc_malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* pointer) noexcept {
    __libc_free(pointer);
}
void operator delete[](void* pointer) noexcept {
    __libc_free(pointer);
}
void operator delete(void* pointer, size_t) noexcept {
    __libc_free(pointer);
}
void operator delete[](void* pointer, size_t) noexcept {
    __libc_free(pointer);
}
