#pragma once

// A loop that runs a few numbers at a time is built twice where the compiler
// can: for any x86-64, and for processors with AVX2, which take eight floats
// at a time where the first takes four. The program picks the copy when it
// starts. The sums are the same bit for bit: each operation rounds the same
// way at either width, and no multiply and add are fused into one.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && defined(__ELF__)
#define WIDE_LOOPS __attribute__((target_clones("avx2", "default")))
#else
#define WIDE_LOOPS
#endif
