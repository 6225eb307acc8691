#include "gateway/SettingsCommand.h"

#include "ISTDComm.h"
#include "exchange/EngineLog.h"
#include "exchange/EngineView.h"
#include "exchange/PollEngine.h"
#include "gateway/GatewayOptions.h"
#include "gateway/Report.h"
#include "services/PortFailureText.h"
#include "services/SettingsStore.h"
#include "setdata/RecordFile.h"
#include "setdata/SettingsAudit.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>

namespace {

// The engine's reports during one read: only a failed opening matters here.
class ReadingView : public EngineView {
public:
    std::optional<OpenFailureInfo> failure;
    QString port, speed;

    void SetPanelText(int, const QString&) override {}
    void ShowReadMessage(bool) override {}
    void ShowCommError(bool) override {}
    void SplashProgress(int) override {}
    void StartupFinished() override {}
    void StartupInterrupted() override {}
    void ShowPortDialog(const QString& p, const QString& s, const OpenFailureInfo& f) override {
        failure = f;
        port = p;
        speed = s;
    }
    void RefreshView() override {}
    void ResetSettingView() override {}
    void SetWriteProgress(int) override {}
    void BulkWriteFinished() override {}
    void BlockContactChanged(int, bool) override {}
};

QString BlockList(const std::vector<int>& blocks) {
    QStringList names;
    for (int b : blocks) names << BlockSuffix(b);
    return names.join(QStringLiteral(", "));
}

// The line read into the tables; the blocks whose every read was answered, or the cause
// that ends the run.
struct LineRead {
    QString problem;
    std::array<bool, BlockCount> answered{};
};

LineRead ReadLine(RDX_INC& d, ISTDComm& link, const QString& port, const QString& speed,
                  const SettingsCommandIo& io) {
    LineRead result;
    d.FillItemCodes();
    ReadingView view;
    PollEngine engine(d, link, view);
    engine.PortOverride = port;
    engine.SpeedOverride = speed;
    engine.EndPending = io.EndPending;
    if (engine.ApplyPortSettings().isEmpty()) {
        OpenFailureInfo failure = view.failure.value_or(OpenFailureInfo{});
        result.problem = PortFailureText(port.isEmpty() ? view.port : port, speed.isEmpty() ? view.speed : speed, failure);
        return result;
    }
    const bool read = engine.Setdata_read();
    try {
        link.PortClose();
    } catch (const std::exception& e) {
        qCWarning(lcEngine) << "closing the port after the settings read failed:" << e.what();
    }
    if (!read) {
        result.problem = QStringLiteral("読込みを中断しました。");
        return result;
    }
    result.answered = BlocksInContact(d);
    std::vector<int> incomplete;
    for (int b = 0; b < BlockCount; ++b) {
        if (d.BlockAbsent[b] != 0) continue;
        const BlockCounters& c = engine.diagnostics().Block(b);
        // A block that left a read unanswered, refused or garbled holds a setting not read.
        if (c.timeouts + c.naks + c.corrupted > 0) {
            result.answered[b] = false;
            incomplete.push_back(b);
        }
    }
    if (!incomplete.empty())
        io.Tell(QStringLiteral("ﾌﾞﾛｯｸ %1 から設定値を読めないものがありました。").arg(BlockList(incomplete)));
    return result;
}

int Save(const QString& path, ISTDComm& link, const QString& port, const QString& speed, const SettingsCommandIo& io) {
    RDX_INC d;
    const LineRead line = ReadLine(d, link, port, speed, io);
    if (!line.problem.isEmpty()) {
        io.Tell(line.problem + QStringLiteral("設定値は保存していません。"));
        return SettingsNotCompared;
    }
    std::vector<int> silent;
    int present = 0;
    for (int b = 0; b < BlockCount; ++b) {
        if (d.BlockAbsent[b] != 0) continue;
        ++present;
        if (!line.answered[b]) silent.push_back(b);
    }
    if (!silent.empty()) {
        io.Tell(QStringLiteral("ﾌﾞﾛｯｸ %1 の設定値を読めませんでした。配線と電源を確認してから、もう一度実行してください。"
                               "設定値は保存していません。")
                    .arg(BlockList(silent)));
        return SettingsNotCompared;
    }
    const SetDataOutcome written = WriteRecordFile(path, RecordFileKind::AllChannels, TakeAllRecords(d));
    if (!written.ok()) {
        io.Tell(QStringLiteral("%1: %2").arg(path, SetDataOutcomeMessage(written)));
        return SettingsNotCompared;
    }
    io.Tell(QStringLiteral("ﾗｲﾝの設定値を保存しました: %1（ﾌﾞﾛｯｸ %2 台）").arg(path).arg(present));
    return SettingsEqual;
}

// The file's records, or the cause it cannot be compared.
QString ReadFile(const QString& path, std::vector<SetDataRecord>* records) {
    if (!QFileInfo(path).isFile()) return QStringLiteral("ﾌｧｲﾙ %1 がありません。ﾌｧｲﾙ名を確認してください。").arg(path);
    RecordFileRead read = ReadRecordFile(path, RecordFileKind::AllChannels);
    if (read.outcome.status == SetDataStatus::WrongSizeClass)
        return QStringLiteral("%1 は全ﾁｬﾝﾈﾙ一括の設定ﾃﾞｰﾀﾌｧｲﾙではありません。--save-settings で作ったﾌｧｲﾙを指定してください。")
            .arg(path);
    if (!read.outcome.ok()) return QStringLiteral("%1: %2").arg(path, SetDataOutcomeMessage(read.outcome));
    *records = std::move(read.records);
    return {};
}

int Compare(const QString& path, ISTDComm& link, const QString& port, const QString& speed, const SettingsCommandIo& io) {
    std::vector<SetDataRecord> records;
    if (const QString problem = ReadFile(path, &records); !problem.isEmpty()) {
        io.Tell(problem);
        return SettingsNotCompared;
    }
    RDX_INC d;
    const LineRead line = ReadLine(d, link, port, speed, io);
    if (!line.problem.isEmpty()) {
        io.Tell(line.problem + QStringLiteral("照合できません。"));
        return SettingsNotCompared;
    }
    const SettingsComparison result = CompareWithLine(d, FileSettingsOfRecords(d, 0, records), line.answered);
    for (const SettingDifference& x : result.differences)
        io.Print(ChannelNumberText(x.channel) + u'\t' + SettingNameText(x.displayItem) + u'\t' + x.fileText + u'\t' +
                 x.lineText);
    if (!result.silentBlocks.empty())
        io.Tell(QStringLiteral("ﾌｧｲﾙにあるﾌﾞﾛｯｸ %1 が応答しません。配線と電源を確認してください。")
                    .arg(BlockList(result.silentBlocks)));
    if (!result.missingChannels.empty()) {
        QStringList channels;
        for (int c : result.missingChannels) channels << ChannelNumberText(c);
        io.Tell(QStringLiteral("ﾌｧｲﾙにあるﾁｬﾝﾈﾙ %1 がﾗｲﾝにありません。").arg(channels.join(QStringLiteral(", "))));
    }
    if (!result.Complete()) {
        io.Tell(QStringLiteral("照合できなかったﾁｬﾝﾈﾙがあります（相違 %1 件）。").arg(result.differences.size()));
        return SettingsNotCompared;
    }
    if (result.differences.empty()) {
        io.Tell(QStringLiteral("ﾗｲﾝの設定値はﾌｧｲﾙと同じです（%1 ﾁｬﾝﾈﾙ）。").arg(result.channelsCompared));
        return SettingsEqual;
    }
    io.Tell(QStringLiteral("ﾗｲﾝの設定値にﾌｧｲﾙと違うものが %1 件あります。").arg(result.differences.size()));
    return SettingsDiffer;
}

}  // namespace

int RunSettingsCommand(SettingsCommandKind kind, const QString& path, ISTDComm& link, const QString& port,
                       const QString& speed, const SettingsCommandIo& io) {
    try {
        return kind == SettingsCommandKind::Save ? Save(path, link, port, speed, io) : Compare(path, link, port, speed, io);
    } catch (const std::exception& e) {
        io.Tell(QStringLiteral("ﾗｲﾝを読めません（%1）。もう一度実行してください。").arg(QString::fromLocal8Bit(e.what())));
        return SettingsNotCompared;
    }
}

int RunSettingsCommand(const GatewayOptions& options, const std::function<bool()>& endPending) {
    const bool save = !options.saveSettings.isEmpty();
    if (!save && options.compareSettings.isEmpty()) return -1;
    // A device given on the command line is COM1 for this run, as for the gateway.
    if (!options.device.isEmpty()) qputenv("TESMARCOMM_COM1", QFile::encodeName(options.device));
    std::unique_ptr<ISTDComm> link(TesmarCreateObject(TesmarIds::Class));
    if (!link) {
        Report(QStringLiteral("通信ﾗｲﾌﾞﾗﾘ TesmarComm2 を使えません。ｲﾝｽﾄｰﾙを確認してください。"));
        return SettingsNotCompared;
    }
    SettingsCommandIo io;
    io.Print = [](const QString& line) {
        const QByteArray bytes = line.toUtf8() + '\n';
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        std::fflush(stdout);
    };
    io.Tell = [](const QString& text) { Report(text); };
    io.EndPending = endPending;
    return RunSettingsCommand(save ? SettingsCommandKind::Save : SettingsCommandKind::Compare,
                              save ? options.saveSettings : options.compareSettings, *link, options.port,
                              options.speed, io);
}
