// What every fuzz target is: libFuzzer's entry point, and a hard stop on a broken property so
// the fuzzer keeps the input that broke it.
#ifndef ARBOLIX_FUZZ_FUZZTARGET_H
#define ARBOLIX_FUZZ_FUZZTARGET_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace fuzz {

inline void require(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

} // namespace fuzz

#endif
