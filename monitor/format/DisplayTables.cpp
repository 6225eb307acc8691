#include "format/DisplayTables.h"

#include <iterator>

namespace {

// Index = input code; [0] when the unit shown is °C, [1] when it is °F.
// Codes 6 and 7 deliberately carry an ideographic space (U+3000) after "～", the
// others ordinary spaces; the texts are shown as they stand.
constexpr InputRangeEntry kInputRanges[TemperatureInputTypeCount][2] = {
    {{"-200 ～ 1370ﾟC K", -200, 1370}, {"-320 ～ 2500ﾟF K", -320, 2500}},
    {{"-200 ～ 1000ﾟC J", -200, 1000}, {"-320 ～ 1800ﾟF J", -320, 1800}},
    {{"0 ～ 1760ﾟC R", 0, 1760}, {"0 ～ 3200ﾟF R", 0, 3200}},
    {{"0 ～ 1820ﾟC B", 0, 1820}, {"0 ～ 3300ﾟF B", 0, 3300}},
    {{"0 ～ 1390ﾟC PL-Ⅱ", 0, 1390}, {"0 ～ 2500ﾟF PL-Ⅱ", 0, 2500}},
    {{"0 ～ 1300ﾟC N", 0, 1300}, {"0 ～ 2300ﾟF N", 0, 2300}},
    {{"0.0 ～\u3000600.0ﾟC K", 0, 6000}, {"0.0 ～\u3000999.9ﾟF K", 0, 9999}},
    {{"0.0 ～\u3000600.0ﾟC J", 0, 6000}, {"0.0 ～\u3000999.9ﾟF J", 0, 9999}},
    {{"-199.9 ～ 850.0ﾟC Pt100", -1999, 8500}, {"-199.9 ～ 999.9ﾟF Pt100", -1999, 9999}},
    {{"-199.9 ～ 500.0ﾟC JPt100", -1999, 5000}, {"-199.9 ～ 900.0ﾟF JPt100", -1999, 9000}},
};

struct AlarmTypeEntry {
    const char* longName;
    const char* shortName;  // exactly four characters
};

constexpr AlarmTypeEntry kAlarmTypes[] = {
    {"警報動作なし", "None"},
    {"上限警報", "H   "},
    {"待機付上限警報", "H  W"},
    {"下限警報", "L   "},
    {"待機付下限警報", "L  W"},
    {"上下限警報", "HL  "},
    {"待機付上下限警報", "HL W"},
    {"上下限範囲警報", "WID "},
    {"待機付上下限範囲警報", "WIDW"},
    {"絶対値上限警報", "PH  "},
    {"待機付絶対値上限警報", "PH W"},
    {"絶対値下限警報", "PL  "},
    {"待機付絶対値下限警報", "PL W"},
};

constexpr const char* kCoolModes[] = {"空冷", "油冷", "水冷"};

struct DecimalEntry {
    int divisor;
    int places;
    const char* pictureText;
};

constexpr DecimalEntry kDecimals[] = {
    {1, 0, "XXXX ."},
    {10, 1, "XXX . X"},
    {100, 2, "XX . XX"},
    {1000, 3, "X . XXX"},
    {10000, 4, ". XXXX"},
};

constexpr const char* kItemListTexts[DisplayItemListCount] = {
    "制御入力値(PV)",
    "出力操作量(MV)",
    "ﾋｰﾀ電流値",
    "主設定値(SV)",
    "警報１設定値",
    "警報２設定値",
    "ﾋｰﾀ断線警報設定値",
    "比例帯設定値",
    "積分時間設定値",
    "微分時間設定値",
    "ｱﾝﾁﾘｾｯﾄﾜｲﾝﾄﾞｱｯﾌﾟ設定値",
    "比例周期設定値",
    "PD(手動)ﾘｾｯﾄ設定値",
    "主出力ON/OFF動作すきま設定値",
    "警報1動作すきま設定値",
    "警報2動作すきま設定値",
    "警報1動作選択",
    "警報2動作選択",
    "制御出力上限設定値",
    "制御出力下限設定値",
    "入力フィルタ設定値",
    "ｾﾝｻ補正設定値",
    "制御動作設定(加熱/冷却)",
    "温度単位選択(゜C/゜F)",
    "ﾙｰﾌﾟ異常警報動作時間設定値",
    "ﾙｰﾌﾟ異常警報動作巾設定値",
    "冷却比例帯設定",
    "冷却比例周期設定",
    "オーバーラップバンド／デッドバンド設定",
    "冷却動作モード選択",
    "冷却出力ＯＮ／ＯＦＦ動作すきま設定",
};

const DecimalEntry* FindDecimal(int divisor) {
    for (const DecimalEntry& e : kDecimals)
        if (e.divisor == divisor) return &e;
    return nullptr;
}

template <typename Array>
bool InTable(const Array& table, int index) {
    return index >= 0 && index < int(std::size(table));
}

}  // namespace

const InputRangeEntry* TemperatureInputRange(int inputType, int unitShown) {
    if (!InTable(kInputRanges, inputType)) return nullptr;
    return &kInputRanges[inputType][unitShown != 0 ? 1 : 0];
}

QString LinearInputSuffix(int inputType) {
    if (inputType == 10 || inputType == 12) return QStringLiteral(" DC V");
    if (inputType == 11 || inputType == 13) return QStringLiteral(" DC mA");
    return QString();
}

QString AlarmTypeName(int alarmType) {
    if (!InTable(kAlarmTypes, alarmType)) return QString();
    return QString::fromUtf8(kAlarmTypes[alarmType].longName);
}

QString AlarmTypeShortName(int alarmType) {
    if (!InTable(kAlarmTypes, alarmType)) return QString();
    return QString::fromUtf8(kAlarmTypes[alarmType].shortName);
}

QString ControlActionName(int action) {
    return action != 0 ? QStringLiteral("冷却") : QStringLiteral("加熱");
}

QString TempUnitName(int unit) {
    return unit != 0 ? QStringLiteral("ﾟF") : QStringLiteral("ﾟC");
}

QString CoolModeName(int mode) {
    if (!InTable(kCoolModes, mode)) return QString();
    return QString::fromUtf8(kCoolModes[mode]);
}

int DecimalPlaces(int divisor) {
    const DecimalEntry* e = FindDecimal(divisor);
    return e ? e->places : -1;
}

QString DecimalPictureText(int divisor) {
    const DecimalEntry* e = FindDecimal(divisor);
    return e ? QString::fromUtf8(e->pictureText) : QString();
}

int DecimalOptionDivisor(int option) {
    return InTable(kDecimals, option) ? kDecimals[option].divisor : 0;
}

int DecimalOptionOf(int divisor) {
    const DecimalEntry* e = FindDecimal(divisor);
    return e ? int(e - kDecimals) : -1;
}

int DecimalDivisorOfPicture(const QString& text) {
    for (const DecimalEntry& e : kDecimals)
        if (QString::fromUtf8(e.pictureText) == text) return e.divisor;
    return 0;
}

QString DisplayItemListText(int item) {
    if (!InTable(kItemListTexts, item)) return QString();
    return QString::fromUtf8(kItemListTexts[item]);
}
