// Outcomes and fixed facts shared by the three set-data file variants (channel, block,
// all-channel). Nothing here touches the channel tables or the file system.
#pragma once

#include <QString>
#include <QtGlobal>

// First line of a current-version file; older files have no such line.
inline constexpr char SetDataHeader[] = "V202data";

enum class SetDataVersion { Current, Older };

// Variant of a file, told by its length alone: 0 channel, 1 block, 2 all channels.
inline constexpr int ChannelFileClass = 0;
inline constexpr int BlockFileClass = 1;
inline constexpr int AllChannelFileClass = 2;
int SetDataSizeClass(qint64 lengthInBytes);

enum class SetDataStatus {
    Ok,
    Cancelled,        // the operator answered No; nothing was changed
    OpenFailed,       // the file cannot be opened for reading, or not created for writing
    WriteFailed,      // writing or closing failed; an existing file keeps its old contents
    WrongSizeClass,   // the file's length belongs to another variant
    EndedEarly,       // the file ends before every expected value was read
    BadEncoding,      // bytes that are not code page 932 text
    NotANumber,       // a table value of a block or all-channel file is not a decimal integer
    OutOfRange,       // a table value does not fit 16 bits
    QuoteInText,      // a text to be written holds a double quote (it could not be read back)
    QuoteInFileText,  // a text of a file being read holds a double quote (it would be cut)
    LineBreakInText,  // a text to be written holds a line break (it would split its line)
    NotEncodable,     // a text to be written holds characters outside code page 932
    TooLarge,         // the file would be too long for its variant and could not be loaded
    NoData,           // not as many records as the variant holds (an empty work area)
};

// What an operation on a set-data file came to. A failed read carries the 1-based line
// of the offending value (0 when not tied to a line); a refused write carries the index
// of the offending text (channel-file field, or record of a block or all-channel file).
struct SetDataOutcome {
    SetDataStatus status = SetDataStatus::Ok;
    int line = 0;
    int index = -1;

    bool ok() const { return status == SetDataStatus::Ok; }
};

// Operator text for a failure: short, Japanese, says what to do; empty for Ok and
// Cancelled. A failed read names its line.
QString SetDataOutcomeMessage(const SetDataOutcome& outcome);
