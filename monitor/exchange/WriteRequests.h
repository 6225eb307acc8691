// How the rest of the program asks the exchange to send settings. A request returns at
// once and never touches the line; its outcome comes back once, as a WriteResult, when
// the engine has run it (or could not).
#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

enum class WriteOutcome {
    // Every frame of the request was acknowledged (ACK).
    Accepted,
    // The controller answered NAK to at least one frame (and none went unanswered).
    Refused,
    // At least one frame got no valid reply after the link's tries, or the block is
    // not on the line.
    Unanswered,
    // The port went away before or while the request ran.
    CutByPortLoss,
    // Not sent: a bulk write or its pending alarm values run, which would overwrite it.
    Busy,
};

enum class WriteKind { Setting, BlockWrite, AllBlocksWrite, FactoryInit };

// One item of one block the controller did not take.
struct UnacceptedItem {
    int block = 0;
    QString item;
    WriteOutcome outcome = WriteOutcome::Unanswered;
};

struct WriteResult {
    quint64 id = 0;
    WriteKind kind = WriteKind::Setting;
    // The block (0..15) of a setting write, block write or factory initialisation; -1
    // for every block.
    int block = -1;
    // The channel (0..319) and item of a setting write; -1 and empty otherwise.
    int channel = -1;
    QString item;
    WriteOutcome outcome = WriteOutcome::Accepted;
    // False when nothing of the request went out.
    bool anythingSent = false;
    // Every item not taken, in the order sent (a setting write: at most one).
    QList<UnacceptedItem> unaccepted;
};
Q_DECLARE_METATYPE(WriteResult)

class WriteRequests {
public:
    virtual ~WriteRequests() = default;
    // The channel's block gets the item's 20 values from the tables (the channel names
    // the change for the operator). 0 when the request can never be sent (channel outside
    // 0..319, an item without a table); otherwise an id that its WriteResult carries.
    virtual quint64 RequestSettingWrite(int channel, const QString& item) = 0;
    // Every bulk item of one block (0..15), then its alarm values after the pause.
    virtual quint64 RequestBlockWrite(int block) = 0;
    // The same for every present block.
    virtual quint64 RequestAllBlocksWrite() = 0;
    // The factory initialisation of the units the 80-character mask selects.
    virtual quint64 RequestFactoryInit(int block, const QString& mask) = 0;
};
