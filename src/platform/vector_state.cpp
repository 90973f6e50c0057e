// The processor, not the operating system, decides this one: it is chosen by compiler and
// architecture, and every system builds it.

#include "platform.h"

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#include <immintrin.h>
#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif
#endif

namespace sorakado::platform {

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))

namespace {
// Built for AVX on its own, so the rest of the program still runs on a processor without it.
__attribute__((target("avx"))) void zeroUpper() {
    _mm256_zeroupper();
}
} // namespace

void clearUpperVectorState() {
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx)
        zeroUpper();
}

#elif (defined(_M_X64) || defined(_M_IX86)) && defined(_MSC_VER)

namespace {
// AVX is usable when the processor has it and the system saves the registers' upper halves
// (OSXSAVE set, and XCR0 keeping both the SSE and the AVX state).
bool processorHasAvx() {
    int info[4] = {};
    __cpuid(info, 1);
    const bool osSaves = (info[2] & (1 << 27)) != 0;
    const bool avx = (info[2] & (1 << 28)) != 0;
    return osSaves && avx && (_xgetbv(0) & 0x6) == 0x6;
}
} // namespace

void clearUpperVectorState() {
    static const bool hasAvx = processorHasAvx();
    if (hasAvx)
        _mm256_zeroupper();
}

#else

// No AVX on this processor family: nothing can be left dirty.
void clearUpperVectorState() {}

#endif

} // namespace sorakado::platform
