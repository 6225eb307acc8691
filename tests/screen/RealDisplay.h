// A real X display for the tests that must meet a window manager and paint for a person:
// Xvfb at 1024x768 on a free display number, with the openbox window manager on it.
#pragma once

#include <string>
#include <sys/types.h>

class RealDisplay {
public:
    static constexpr int Width = 1024;
    static constexpr int Height = 768;

    RealDisplay() = default;
    RealDisplay(const RealDisplay&) = delete;
    RealDisplay& operator=(const RealDisplay&) = delete;
    // Stops the window manager and the server.
    ~RealDisplay();

    // Starts both and points this process at them (DISPLAY, QT_QPA_PLATFORM=xcb); false
    // with the reason in `error` when either cannot start.
    bool Start(std::string* error);

private:
    pid_t server_ = -1;
    pid_t manager_ = -1;
    std::string readyDir_;
};
