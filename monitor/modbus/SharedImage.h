// The register image both threads of the Modbus server use: the poll loop's thread takes
// each block into it after its poll, the server's thread answers requests from it. Every
// use holds the lock, for a copy of a block or of a request's registers only.
#pragma once

#include "modbus/RegisterImage.h"

#include <QMutex>
#include <QMutexLocker>

class SharedImage {
public:
    template <class F>
    decltype(auto) With(F&& f) {
        QMutexLocker lock(&mutex_);
        return f(image_);
    }
    template <class F>
    decltype(auto) With(F&& f) const {
        QMutexLocker lock(&mutex_);
        return f(std::as_const(image_));
    }

private:
    mutable QMutex mutex_;
    RegisterImage image_;
};
