// The entry of the numeric setting dialog without its widgets: the entered value in
// stored units (change_data), the range it must keep and the text the display shows.
#pragma once

#include "format/SettingRange.h"
#include "exchange/RDX_INC.h"

#include <QString>
#include <optional>

class SettingEntry {
public:
    struct Context {
        qint16 low = 0;
        qint16 high = 0;
        bool inTenths = false;
        // A linear input showing this setting in its decimal-point picture.
        bool scaled = false;
        int divisor = 100;
        // A value the setting must not take although it lies in the range.
        std::optional<qint16> excluded;
    };
    // What became of a key: Refused when the value would leave the range, Beep when the
    // key has no place in the value being typed (no decimals left for it).
    enum class KeyResult { Accepted, Refused, Beep };
    enum class OkResult { Accepted, Empty, OutOfRange };

    SettingEntry() = default;
    explicit SettingEntry(const Context& context) : ctx_(context) {}

    // Digit d (0..9): before a decimal point it shifts in from the right (leading zeros
    // vanish); after one it fills the next decimal the display has.
    KeyResult Digit(int d);
    // ".": the digits typed so far become the whole part. Refused on a display without
    // decimals and after a point.
    KeyResult Point();
    // "+/-". Typed before any digit, the sign holds for the digits that follow.
    KeyResult Sign();
    // "CE": entry, decimal point and display empty.
    void Clear();
    // A key with no meaning here: the entry stays, the display is drawn again.
    KeyResult Other();

    // OK: the display must not be empty and the value must lie in the range.
    OkResult CheckOk() const;

    // change_data: the entry as decimal text; empty when nothing is entered.
    const QString& Entry() const { return typed_.entry; }
    // V(E): the entry's value, 0 when empty.
    qint64 Value() const;
    // Disp_setdata: the entry as the operator sees it.
    const QString& Display() const { return display_; }
    const Context& context() const { return ctx_; }

private:
    // What the keys typed so far make: the entry and where its decimal point stands.
    struct Typed {
        QString entry;
        bool point = false;
        int decimals = 0;  // digits typed after the point
    };
    // The decimals the display shows: 0 for whole numbers.
    int Decimals() const;
    bool Negative() const { return typed_.entry.startsWith(u'-'); }
    KeyResult Checked(const Typed& before);
    void Redisplay();

    Context ctx_;
    Typed typed_;
    QString display_;
};

// The context of an entry for `setting` of channel range.EditChannel, after
// ShowSettingRange filled the range. A scaling limit may not be set equal to the other
// limit: a linear input with equal limits has no conversion back to controller units.
SettingEntry::Context EntryContext(const RDX_INC& inc, const SettingRange& range, int setting);

// Stores an accepted value into the setting's table at the channel; settings the
// numeric entry does not edit are left alone. False when nothing was stored.
bool StoreSettingValue(RDX_INC& inc, int setting, int channel, qint16 value);

// The long notice shown after a scaling limit was changed.
QString ScalingChangeNotice();
