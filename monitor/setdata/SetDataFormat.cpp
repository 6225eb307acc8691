#include "setdata/SetDataFormat.h"

int SetDataSizeClass(qint64 lengthInBytes) {
    if (lengthInBytes > 20000) return AllChannelFileClass;
    if (lengthInBytes > 1000) return BlockFileClass;
    return ChannelFileClass;
}

namespace {

const char* StatusText(SetDataStatus status) {
    switch (status) {
    case SetDataStatus::Ok:
    case SetDataStatus::Cancelled:
        return "";
    case SetDataStatus::OpenFailed:
        return "ﾌｧｲﾙを開けません。ﾌｧｲﾙ名と保存先を確認してください。";
    case SetDataStatus::WriteFailed:
        return "ﾌｧｲﾙに書き込めません。保存先の空き容量と書込み許可を確認してください。";
    case SetDataStatus::WrongSizeClass:
        return "選択したﾃﾞｰﾀﾌｧｲﾙは、種類が異なるﾌｧｲﾙです。再選択してください。";
    case SetDataStatus::EndedEarly:
        return "ﾃﾞｰﾀﾌｧｲﾙが途中で終わっています。設定値は変更していません。正しいﾌｧｲﾙを選択してください。";
    case SetDataStatus::BadEncoding:
        return "ﾃﾞｰﾀﾌｧｲﾙの内容が正しくありません。設定値は変更していません。正しいﾌｧｲﾙを選択してください。";
    case SetDataStatus::NotANumber:
        return "ﾃﾞｰﾀﾌｧｲﾙに数値でない値があります。設定値は変更していません。正しいﾌｧｲﾙを選択してください。";
    case SetDataStatus::OutOfRange:
        return "ﾃﾞｰﾀﾌｧｲﾙに範囲外(-32768～32767以外)の値があります。設定値は変更していません。正しいﾌｧｲﾙを選択してください。";
    case SetDataStatus::QuoteInText:
        return "単位に「\"」は使えません。単位を変更してから保存してください。";
    case SetDataStatus::QuoteInFileText:
        return "ﾃﾞｰﾀﾌｧｲﾙの文字に「\"」があります。設定値は変更していません。正しいﾌｧｲﾙを選択してください。";
    case SetDataStatus::LineBreakInText:
        return "単位に改行は使えません。単位を変更してから保存してください。";
    case SetDataStatus::NotEncodable:
        return "保存できない文字が含まれています。単位を変更してから保存してください。";
    case SetDataStatus::TooLarge:
        return "単位が長すぎて保存できません。単位を短くしてから保存してください。";
    case SetDataStatus::NoData:
        return "保存するﾃﾞｰﾀがありません。先にﾜｰｸ領域へﾃﾞｰﾀを移してください。";
    }
    return "";
}

}  // namespace

QString SetDataOutcomeMessage(const SetDataOutcome& outcome) {
    QString text = QString::fromUtf8(StatusText(outcome.status));
    if (!text.isEmpty() && outcome.line > 0)
        text += QStringLiteral("（%1行目）").arg(outcome.line);
    return text;
}
