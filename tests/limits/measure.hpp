// Runs a program of the suite with a bound on its memory.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "harness.hpp"

namespace limits {

#ifdef __SANITIZE_ADDRESS__
// The sanitizer reserves terabytes of address space for itself, so no bound is set: the
// sanitized build checks what it can see instead, that every run stays clean.
constexpr bool bounded = false;
#else
constexpr bool bounded = true;
#endif

// Address space for a program's code, libraries and scanner buffer at its start size.
constexpr long base_kib = 16 * 1024;

// Address space for a token of `bytes` bytes on top of base_kib: the buffer that holds it,
// doubled to fit, and the copies that conversions make of it.
inline long token_kib(std::size_t bytes) { return static_cast<long>(bytes / 1024 * 5 / 2); }

// Runs the named program on `input` through a pipe, with at most `memory_kib` of address space
// (unless the build is sanitized); a program that asks for more fails.
inline harness::Outcome run(std::string_view program, std::string_view input,
                            std::chrono::seconds timeout, long memory_kib) {
    std::string limit = bounded ? "ulimit -v " + std::to_string(memory_kib) + "; " : "";
    return harness::run("/bin/sh", input, {"-c", limit + "exec \"$0\"", harness::tool(program)},
                        timeout);
}

}  // namespace limits
