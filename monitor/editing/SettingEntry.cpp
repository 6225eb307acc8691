#include "editing/SettingEntry.h"

#include "format/DisplayTables.h"
#include "format/ValueFormat.h"
#include "editing/SettingItems.h"

#include <limits>

namespace {

constexpr qint64 kMin16 = std::numeric_limits<qint16>::min();

}  // namespace

qint64 SettingEntry::Value() const { return entry_.isEmpty() ? 0 : entry_.toLongLong(); }

SettingEntry::KeyResult SettingEntry::Digit(int d) {
    if (d < 0 || d > 9) return Other();
    const QString before = entry_;
    const qint64 v = Value();
    // "E followed by d": a negative entry grows away from zero.
    entry_ = QString::number(v * 10 + (entry_.startsWith(u'-') ? -d : d));
    return Checked(before);
}

SettingEntry::KeyResult SettingEntry::Sign() {
    const QString before = entry_;
    entry_ = QString::number(-Value());
    return Checked(before);
}

void SettingEntry::Clear() {
    entry_.clear();
    display_.clear();
}

SettingEntry::KeyResult SettingEntry::Other() { return Checked(entry_); }

// Only the upper limit is checked per key: a value may pass below the lower limit on its
// way (typing 100 into 50..105 passes 1 and 10), so that limit waits for OK. A negative
// entry below the 16-bit range can never become valid again by more digits.
SettingEntry::KeyResult SettingEntry::Checked(const QString& before) {
    KeyResult result = KeyResult::Accepted;
    const qint64 v = Value();
    if (v > ctx_.high || v < kMin16) {
        entry_ = before;
        result = KeyResult::Refused;
    }
    Redisplay();
    return result;
}

void SettingEntry::Redisplay() {
    const qint64 v = Value();
    if (ctx_.scaled) {
        // An unlisted divisor has no picture: the display keeps what it showed.
        if (DecimalPlaces(ctx_.divisor) >= 0) display_ = FormatScaled(v, ctx_.divisor);
    } else if (ctx_.inTenths) {
        display_ = FormatTenths(v);
    } else {
        display_ = entry_;
    }
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
