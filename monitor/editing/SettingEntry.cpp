#include "editing/SettingEntry.h"

#include "format/DisplayTables.h"
#include "format/ValueFormat.h"
#include "editing/SettingItems.h"

#include <algorithm>
#include <limits>

namespace {

constexpr qint64 kMin16 = std::numeric_limits<qint16>::min();

qint64 Pow10(int n) {
    qint64 p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

// The entry text of v; a zero keeps a minus typed before its digits ("-0").
QString EntryText(qint64 v, bool negative) {
    return v == 0 && negative ? QStringLiteral("-0") : QString::number(v);
}

}  // namespace

qint64 SettingEntry::Value() const { return typed_.entry.isEmpty() ? 0 : typed_.entry.toLongLong(); }

int SettingEntry::Decimals() const {
    // An unlisted divisor has no picture, so no decimals to type into.
    if (ctx_.scaled) return std::max(DecimalPlaces(ctx_.divisor), 0);
    return ctx_.inTenths ? 1 : 0;
}

SettingEntry::KeyResult SettingEntry::Digit(int d) {
    if (d < 0 || d > 9) return Other();
    const Typed before = typed_;
    // A negative entry grows away from zero.
    const qint64 digit = Negative() ? -d : d;
    qint64 v = Value();
    if (typed_.point) {
        if (typed_.decimals >= Decimals()) return KeyResult::Beep;
        ++typed_.decimals;
        v += digit * Pow10(Decimals() - typed_.decimals);
    } else {
        v = v * 10 + digit;
    }
    typed_.entry = EntryText(v, Negative());
    return Checked(before);
}

SettingEntry::KeyResult SettingEntry::Point() {
    if (typed_.point || Decimals() == 0) return KeyResult::Beep;
    const Typed before = typed_;
    typed_.point = true;
    typed_.decimals = 0;
    typed_.entry = EntryText(Value() * Pow10(Decimals()), Negative());
    return Checked(before);
}

SettingEntry::KeyResult SettingEntry::Sign() {
    const Typed before = typed_;
    typed_.entry = EntryText(-Value(), !Negative());
    return Checked(before);
}

void SettingEntry::Clear() {
    typed_ = Typed{};
    display_.clear();
}

SettingEntry::KeyResult SettingEntry::Other() { return Checked(typed_); }

// Only the upper limit is checked per key: a value may pass below the lower limit on its
// way (typing 100 into 50..105 passes 1 and 10), so that limit waits for OK. A negative
// entry below the 16-bit range can never become valid again by more digits.
SettingEntry::KeyResult SettingEntry::Checked(const Typed& before) {
    KeyResult result = KeyResult::Accepted;
    const qint64 v = Value();
    if (v > ctx_.high || v < kMin16) {
        typed_ = before;
        result = KeyResult::Refused;
    }
    Redisplay();
    return result;
}

void SettingEntry::Redisplay() {
    const qint64 v = Value();
    if (ctx_.scaled) {
        // An unlisted divisor has no picture: the display keeps what it showed.
        if (DecimalPlaces(ctx_.divisor) < 0) return;
        display_ = FormatScaled(v, ctx_.divisor);
    } else if (ctx_.inTenths) {
        display_ = FormatTenths(v);
    } else {
        display_ = typed_.entry;
        return;
    }
    // A minus typed before the digits shows as the operator typed it.
    if (v == 0 && Negative()) display_.prepend(u'-');
}

SettingEntry::OkResult SettingEntry::CheckOk() const {
    if (display_.isEmpty()) return OkResult::Empty;
    const qint64 v = Value();
    if (v < ctx_.low || v > ctx_.high) return OkResult::OutOfRange;
    if (ctx_.excluded && v == *ctx_.excluded) return OkResult::OutOfRange;
    return OkResult::Accepted;
}

SettingEntry::Context EntryContext(const RDX_INC& inc, const SettingRange& range, int setting) {
    SettingEntry::Context ctx;
    ctx.low = range.RangeLow;
    ctx.high = range.RangeHigh;
    ctx.inTenths = range.RangeInTenths;
    const int c = range.EditChannel;
    if (c < 0 || c >= ChannelCount) return ctx;
    ctx.scaled = IsLinearInput(inc, c) && ShownInScaledUnits(setting);
    ctx.divisor = inc.ChDecimal[c];
    if (setting == 32) ctx.excluded = inc.ChScaleLow[c];
    if (setting == 33) ctx.excluded = inc.ChScaleHigh[c];
    return ctx;
}

bool StoreSettingValue(RDX_INC& inc, int setting, int channel, qint16 value) {
    if (channel < 0 || channel >= ChannelCount || !IsNumericSetting(setting)) return false;
    ChannelTable* table = SettingTable(inc, setting);
    if (!table) return false;
    (*table)[channel] = value;
    return true;
}

QString ScalingChangeNotice() {
    return QStringLiteral(
        "本ソフトウェアはスケーリング変換機能を装備し、スケーリング管理を行っています。"
        "スケーリング上限､下限値を変更すると主設定、警報１設定、警報２設定、警報１動作スキマ、"
        "警報２動作スキマ、ループ異常警報動作巾、ループ異常警報２動作巾、センサ補正、"
        "主出力ON-OFF動作スキマ、ＰＤ動作手動リセット、オーバーラップバンド／デッドバンド、"
        "冷却出力ON-OFF動作スキマの各設定とRDX-410の設定値に誤差が生じる場合があります。"
        "スケーリング上限、下限値の設定は初期段階で行うことをお勧めします。また、変更した場合は"
        "上記の各設定値を再設定してください。");
}
