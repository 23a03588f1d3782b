#include "tests/support/counting/allocation_counter.h"

#include <execinfo.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace allocation_counter {
namespace {

std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};
constexpr int kKeptStacks = 4;
constexpr int kStackDepth = 24;
void* g_stacks[kKeptStacks][kStackDepth];
int g_depths[kKeptStacks];
thread_local bool t_busy = false;

}  // namespace

void Count() {
    if (!g_counting.load(std::memory_order_relaxed) || t_busy) return;
    long index = g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (index < kKeptStacks) {
        t_busy = true;  // backtrace allocates the first time it runs
        g_depths[index] = backtrace(g_stacks[index], kStackDepth);
        t_busy = false;
    }
}

void StartCounting() {
    g_allocations = 0;
    g_counting = true;
}

long StopCounting() {
    g_counting = false;
    return g_allocations.load();
}

std::string FirstStacks() {
    std::string text;
    long count = g_allocations.load();
    for (int i = 0; i < kKeptStacks && i < count; ++i) {
        text += "allocation " + std::to_string(i + 1) + ":\n";
        char** symbols = backtrace_symbols(g_stacks[i], g_depths[i]);
        for (int k = 1; symbols && k < g_depths[i]; ++k) text += std::string("  ") + symbols[k] + "\n";
        std::free(symbols);
    }
    return text;
}

}  // namespace allocation_counter

namespace {

void* Allocate(std::size_t size) {
    allocation_counter::Count();
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::align_val_t align) {
    allocation_counter::Count();
    std::size_t alignment = static_cast<std::size_t>(align);
    std::size_t rounded = (size + alignment - 1) / alignment * alignment;
    if (void* block = std::aligned_alloc(alignment, rounded ? rounded : alignment)) return block;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    allocation_counter::Count();
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    allocation_counter::Count();
    return std::malloc(size ? size : 1);
}
void* operator new(std::size_t size, std::align_val_t align) { return AllocateAligned(size, align); }
void* operator new[](std::size_t size, std::align_val_t align) { return AllocateAligned(size, align); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
