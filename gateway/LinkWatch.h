// The serial line's state as the link topic tells it: "open" while the engine polls through
// an open port; else "missing" when the port's device is not there (an unplugged adapter,
// a wrong name), and "lost" when it is there but the line cannot be used (it went away, is
// held by another program or refused, or block 1 does not answer).
#pragma once

#include "OpenFailure.h"
#include "publish/Documents.h"

#include <QDateTime>

class LinkWatch {
public:
    // The device named for this run, while the link has named none.
    QString DefaultDevice;

    // open: the engine polls through an open port; failure: why the last opening failed.
    // True when the state changed: Facts() then holds it, since now.
    bool Update(bool open, const OpenFailureInfo& failure, const QDateTime& now);
    const LinkFacts& Facts() const { return facts_; }

private:
    LinkFacts facts_;
};
