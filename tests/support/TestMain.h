// A folder's own steps around the shared test main (TestMain.cpp). Register them from a
// file-scope constant in one of the folder's files:
//   const bool registered = rdx_test::BeforeTests([] { ...; return true; });
// A step returns false to stop the program (after printing why).
#pragma once

#include <functional>

namespace rdx_test {

using Step = std::function<bool()>;

// Runs before the application object is made (e.g. to start a display for it).
bool BeforeApplication(Step step);
// Runs after the application object and GoogleTest are set up, before the first test.
bool BeforeTests(Step step);

}  // namespace rdx_test
