#include "Delivery.h"

namespace rdxsim {

std::optional<Delivery> DeliveryNamed(const QString& name) {
    if (name == u"char") return Delivery::Char;
    if (name == u"fifo") return Delivery::Fifo;
    if (name == u"usb") return Delivery::Usb;
    return std::nullopt;
}

namespace {

struct Arrival {
    double atMs;
    char c;
};

std::vector<Arrival> Characters(const std::vector<TimedWrite>& wire) {
    std::vector<Arrival> out;
    for (const TimedWrite& w : wire)
        for (char c : w.bytes) out.push_back({w.atMs, c});
    return out;
}

}  // namespace

std::vector<TimedWrite> Deliver(const std::vector<TimedWrite>& wire, Delivery delivery, int baud) {
    if (delivery == Delivery::Char) return wire;
    const bool fifo = delivery == Delivery::Fifo;
    const int size = fifo ? kFifoTrigger : kUsbPacket;
    const std::vector<Arrival> chars = Characters(wire);
    std::vector<TimedWrite> out;
    TimedWrite piece;
    double oldestMs = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
        if (piece.bytes.isEmpty()) oldestMs = chars[i].atMs;
        piece.bytes += chars[i].c;
        // When the hardware would hand over what it holds unless this piece fills first.
        const double dueMs = fifo ? chars[i].atMs + kFifoTimeoutChars * CharTimeMs(baud) : oldestMs + kUsbLatencyMs;
        const bool full = piece.bytes.size() == size;
        const bool last = i + 1 == chars.size();
        if (full) piece.atMs = chars[i].atMs;
        else if (last || chars[i + 1].atMs > dueMs) piece.atMs = dueMs;
        else continue;
        out.push_back(piece);
        piece = TimedWrite{};
    }
    return out;
}

}  // namespace rdxsim
