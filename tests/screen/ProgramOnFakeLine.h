// The monitor's own start procedure (RDXApplication) on a scripted line of three blocks:
// block 1 plain thermocouples, block 2 heating/cooling, block 3 linear inputs.
#pragma once

#include "app/StartApplication.h"

#include <functional>

// Runs StartApplication in a fresh program folder. `beforeStart` runs on the new
// RDXApplication before start-up; `whenRunning` runs inside the event loop once the main
// window is up and polling; the program then ends as on SIGTERM.
void RunProgram(const std::function<void(RDXApplication&)>& whenRunning,
                const std::function<void(RDXApplication&)>& beforeStart = {});

// Lets the event loop run for `ms` milliseconds (window manager, painting, polling).
void Settle(int ms);
