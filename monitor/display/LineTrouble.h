// What is wrong on the line right now, counted over some of its blocks: the page marks
// of the four-block view and the status-bar summary show it wherever the operator looks.
#pragma once

#include "exchange/RDX_INC.h"

#include <QString>

struct LineTrouble {
    int alarms = 0;        // channels in alarm (InAlarm) whose block answers
    int silentBlocks = 0;  // blocks out of contact
    bool any() const { return alarms > 0 || silentBlocks > 0; }
};

// Counts `blockCount` blocks from `firstBlock`. Blocks not on the line are left out; a
// silent block counts as silent only: the alarms its tables still hold are not live.
LineTrouble TroubleOf(const RDX_INC& d, int firstBlock, int blockCount);
// The whole line.
inline LineTrouble LineTroubleOf(const RDX_INC& d) { return TroubleOf(d, 0, BlockCount); }

// "警報 3 / 通信異常 1", either half alone, or empty when all is well.
QString TroubleSummary(const LineTrouble& trouble);

// The text of the "通信異常" box in the status bar. A lost port is told as such, with the
// port and its device, apart from blocks that do not answer: the operator then checks the
// adapter and cable, not the controllers. Silent blocks are named (`silentBlockNames`);
// with none named yet (a single unanswered poll) it is "通信異常" alone.
QString ContactTroubleText(bool portLost, const QString& port, const QString& device,
                           const QStringList& silentBlockNames);
