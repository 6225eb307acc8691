// libFuzzer entry: RDX_FUZZ_HARNESS names the harness of this program. A harness whose
// checks fail is a finding: say what broke and abort, so libFuzzer keeps the input.
#include "FuzzHarness.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string error = RDX_FUZZ_HARNESS(data, size);
    if (!error.empty()) {
        std::fprintf(stderr, "fuzz check failed: %s\n", error.c_str());
        std::abort();
    }
    return 0;
}
