// The texts the set-data dialogs show, kept in one place so that the three dialogs and
// their tests use them byte for byte.
#pragma once

namespace SetDataMsg {

inline constexpr char Title[] = "RDX-410 Monitor";

inline constexpr char ChannelCaption[] = "チャンネル単位　設定値セーブとロード";
inline constexpr char BlockCaption[] = "ブロック単位　設定値セーブとロード";
inline constexpr char AllCaption[] = "全チャンネル一括　設定値セーブとロード";

// The buttons of the channel and block dialogs, in their order, and of the all-channel one.
inline constexpr const char* MoveSaveLoadButtons[5] = {"Move-->", "<---Move", "Save-->", "<--Load",
                                                       "Return"};
inline constexpr const char* SaveLoadButtons[3] = {"Save-->", "<--Load", "Return"};

inline constexpr char Writing[] = "設定値変更中";
inline constexpr char PreviousLoadPending[] =
    "前のロードの警報設定値をまだ送信していません。送信が終わってから、もう一度ロードしてください。";

inline constexpr char AutoTuningLoad[] =
    "ＡＴ中のチャンネルがあって設定値のロードができません。ＡＴを停止させてから設定値のロードを行ってください。";
inline constexpr char AutoTuningSave[] =
    "ＡＴ中のチャンネルがあって設定値のセーブができません。ＡＴを停止させてから設定値のセーブを行ってください。";
inline constexpr char FileExists[] = "同じﾌｧｲﾙ名のﾌｧｲﾙが存在します。上書きしてもいいですか。";
inline constexpr char ChooseNewFile[] = "新しいﾌｧｲﾙを指定してください。";

inline constexpr char ChannelNotConnectedTake[] =
    "RDX-300が未接続のﾁｬﾝﾈﾙです。このﾌﾞﾛｯｸ名のﾃﾞｰﾀを保存したり、ｺﾋﾟｰできません。";
inline constexpr char ChannelNotConnectedPut[] = "RDX-300が未接続のﾁｬﾝﾈﾙです。このﾁｬﾝﾈﾙにﾃﾞｰﾀを、コピーできません。";
inline constexpr char ChannelOverwrite[] = "指定されたﾁｬﾝﾈﾙにﾃﾞｰﾀが上書きされます。よろしいですか？";
inline constexpr char NotChannelData[] =
    "選択したﾃﾞｰﾀﾌｧｲﾙは、ﾁｬﾝﾈﾙﾃﾞｰﾀとは異なるﾌｧｲﾙです。再選択してください。";

inline constexpr char BlockHint[] = "ﾜｰｸ領域に表示されているﾃﾞｰﾀを保存、またはコピーできます。";
inline constexpr char BlockNotConnectedTake[] =
    "MGU-500が未接続のﾌﾞﾛｯｸです。このﾌﾞﾛｯｸ名のﾃﾞｰﾀを保存したり、ｺﾋﾟｰできません。";
inline constexpr char BlockNotConnectedPut[] = "MGU-500が未接続のﾌﾞﾛｯｸです。このﾌﾞﾛｯｸ名にﾃﾞｰﾀを、コピーできません。";
inline constexpr char BlockOverwrite[] = "指定されたﾌﾞﾛｯｸにﾃﾞｰﾀが上書きされます。よろしいですか？";
inline constexpr char NotBlockData[] =
    "選択したﾃﾞｰﾀﾌｧｲﾙは、ﾌﾞﾛｯｸﾃﾞｰﾀとは異なるﾌｧｲﾙです。再選択してください。";

inline constexpr char AllLabel[] = "３２０チャンネルデータ";
inline constexpr char AllOverwrite[] = "全ﾁｬﾝﾈﾙのﾃﾞｰﾀが上書きされます。よろしいですか？";
inline constexpr char NotAllData[] =
    "選択したﾃﾞｰﾀﾌｧｲﾙは、全ﾁｬﾝﾈﾙ一括ﾃﾞｰﾀとは異なるﾌｧｲﾙです。再選択してください。";

}  // namespace SetDataMsg
