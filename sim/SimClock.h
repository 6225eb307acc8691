// Simulated time for the line's dynamics: the program runs it from the steady clock,
// optionally sped up; tests drive a manual clock so that every step is reproducible.
#pragma once

#include <atomic>
#include <chrono>

namespace rdxsim {

class SimClock {
public:
    virtual ~SimClock() = default;
    // Seconds of simulated time since the clock started.
    virtual double Now() const = 0;
};

class ScaledSteadyClock final : public SimClock {
public:
    explicit ScaledSteadyClock(double scale = 1.0)
        : scale_(scale > 0 ? scale : 1.0), start_(std::chrono::steady_clock::now()) {}
    double Now() const override {
        const std::chrono::duration<double> real = std::chrono::steady_clock::now() - start_;
        return real.count() * scale_;
    }
    double Scale() const { return scale_; }

private:
    double scale_;
    std::chrono::steady_clock::time_point start_;
};

class ManualClock final : public SimClock {
public:
    double Now() const override { return now_.load(); }
    void Set(double seconds) { now_.store(seconds); }
    void Advance(double seconds) { now_.store(now_.load() + seconds); }

private:
    std::atomic<double> now_{0.0};
};

}  // namespace rdxsim
