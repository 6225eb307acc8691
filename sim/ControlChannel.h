// The control input of a run: one command a line, from a FIFO or stdin.
//   heater-break CH | heater-ok CH        heater of channel CH (1..320) burns out / repaired
//   loop-break CH | loop-ok CH            output of CH no longer reaches the process / again
//   sensor CH open|short|ok               input of CH upscale, downscale, or sound
//   panel BLOCK [CH ITEM VALUE]           a change on the front panel of BLOCK (0..15):
//                                         ITEM ("0001".."0020") of CH set to VALUE, or
//                                         without them SV of the block's first channel + 5
//   silent BLOCK [SECONDS]                BLOCK stops answering (for SECONDS, else until)
//   answer BLOCK                          BLOCK answers again
//   stats                                 counters now
//   quit                                  end the run
#pragma once

#include "LineService.h"

#include <QString>

#include <array>

namespace rdxsim {

struct ControlResult {
    bool ok = true;
    bool quit = false;
    QString message;  // one line for the operator
};

class ControlChannel {
public:
    explicit ControlChannel(LineService& line) : line_(line) {}

    // nowSeconds: any monotonic real-time clock; used for timed silences.
    ControlResult Execute(const QString& line, double nowSeconds);
    // Ends timed silences that are due.
    void Tick(double nowSeconds);

private:
    LineService& line_;
    std::array<double, kBlocks> silentUntil_{};  // 0 = no timed silence
};

}  // namespace rdxsim
