// The link's millisecond tick counter: monotonic, so a time limit can never wrap.
#pragma once

#include <chrono>
#include <cstdint>

namespace MdComm {

inline std::int64_t timeGetTime() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace MdComm
