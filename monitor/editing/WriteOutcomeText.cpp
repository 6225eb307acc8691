#include "editing/WriteOutcomeText.h"

#include "display/NameLists.h"
#include "display/SettingToolbars.h"
#include "editing/SettingItems.h"

namespace {

// A bulk write to a silent block would list all its items: name each block once per
// setting and cut the list where a message box stays readable.
constexpr int kListedItems = 8;

// The caption of the first setting carried by the item; the item code when none is.
QString ItemCaption(const RDX_INC& inc, const QString& item) {
    for (int s = 1; s <= SettingCount; ++s)
        if (SettingItemCode(inc, s) == item) return SettingCaption(s);
    return item;
}

QString Reason(WriteOutcome outcome) {
    return QString::fromUtf8(outcome == WriteOutcome::Refused ? "MGU-500が受け付けませんでした"
                                                              : "MGU-500から応答がありません");
}

}  // namespace

QString SettingTarget(int setting, int channel) {
    const QString number = QStringLiteral("Ch%1").arg(channel + 1, 3, 10, QLatin1Char('0'));
    const QString name = ChannelName(channel);
    const QString target = name == number ? number : QStringLiteral("%1（%2）").arg(number, name);
    return QStringLiteral("%1  %2").arg(target, SettingCaption(setting));
}

QString WriteOutcomeText(const RDX_INC& inc, const WriteResult& result) {
    if (result.outcome != WriteOutcome::Refused && result.outcome != WriteOutcome::Unanswered) return {};
    if (result.kind == WriteKind::Setting) {
        int setting = 0;
        for (int s = 1; s <= SettingCount && setting == 0; ++s)
            if (SettingItemCode(inc, s) == result.item) setting = s;
        return QString::fromUtf8("ﾌﾞﾛｯｸ「%1」 %2 の設定は送信できませんでした（%3）。"
                                 "表示はMGU-500の値に戻ります。設定値を確認してください。")
            .arg(BlockName(result.block), SettingTarget(setting, result.channel), Reason(result.outcome));
    }
    if (result.kind == WriteKind::FactoryInit)
        return QString::fromUtf8("ﾌﾞﾛｯｸ「%1」のﾃﾞｰﾀ初期化は送信できませんでした（%2）。もう一度操作してください。")
            .arg(BlockName(result.block), Reason(result.outcome));
    QStringList lines;
    for (const UnacceptedItem& u : result.unaccepted) {
        if (lines.size() == kListedItems) {
            lines << QString::fromUtf8("ほか %1 件").arg(result.unaccepted.size() - kListedItems);
            break;
        }
        lines << QStringLiteral("ﾌﾞﾛｯｸ「%1」 %2（%3）")
                     .arg(BlockName(u.block), ItemCaption(inc, u.item), Reason(u.outcome));
    }
    return QString::fromUtf8("設定値変更で、次の設定は送信できませんでした。"
                             "表示はMGU-500の値に戻ります。設定値を確認してください。\n") +
           lines.join(u'\n');
}
