#include "exchange/PollEngine.h"

#include "exchange/BulkWrite.h"

#include "services/OperatorMessages.h"
#include "services/SettingsStore.h"
#include "exchange/EngineLog.h"
#include "exchange/EngineView.h"
#include "exchange/PortLossMessages.h"
#include "protocol/Framing.h"
#include "ISTDComm.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <array>
#include <exception>
#include <utility>

namespace {

const QString kReadCmd = QStringLiteral("\"");
const QString kSpace = QStringLiteral(" ");

// Made once: an address goes out with every exchange.
QString MakeAddress(int block) { return QString(QChar(char16_t(0x20 + block))); }

QString AddressOf(int block) {
    static const std::array<QString, BlockCount> addresses = [] {
        std::array<QString, BlockCount> made;
        for (int b = 0; b < BlockCount; ++b) made[b] = MakeAddress(b);
        return made;
    }();
    return block >= 0 && block < BlockCount ? addresses[size_t(block)] : MakeAddress(block);
}

}  // namespace

PollEngine::PollEngine(RDX_INC& data, ISTDComm& linkObject, EngineView& engineView,
                       QObject* parent)
    : QObject(parent), d(data), link(linkObject), view(engineView) {
    Timer4.setInterval(1);
    Timer4.setTimerType(Qt::PreciseTimer);
    // A lambda, not the member: with the forced assertions every call of a member slot
    // checks the receiver's type with dynamic_cast, and this one runs for every exchange.
    connect(&Timer4, &QTimer::timeout, this, [this] { Timer4_Timer(); });
    pauseTimer_.setInterval(1000);
    connect(&pauseTimer_, &QTimer::timeout, this, &PollEngine::BulkWritePauseTick);
}

PollEngine::~PollEngine() = default;

void PollEngine::communicate() {
    d.EndRequested = false;
    try {
        link.setEventsCheck(true);
    } catch (const std::exception& e) {
        LogSkippedStep("communicate: EventsCheck", e);
    }
    try {
        state_ = ApplyPortSettings().isEmpty() ? State::PortDialog : State::StartupRead;
    } catch (const std::exception& e) {
        LogSkippedStep("communicate: port settings", e);
        state_ = State::StartupRead;
    }
    Timer4.start();
    QEventLoop loop;
    while (!d.EndRequested) {
        // Blocks in the operating system until an event (a timer tick at the latest) arrives.
        loop.processEvents(QEventLoop::WaitForMoreEvents);
        UpdateLoopMessages();
    }
    Timer4.stop();
    pauseTimer_.stop();
    try {
        link.PortClose();
    } catch (const std::exception& e) {
        LogSkippedStep("communicate: closing the port at the end", e);
    }
}

void PollEngine::UpdateLoopMessages() {
    view.ShowReadMessage(state_ == State::BlockReread);
    if (!d.CommErrorFlag) view.ShowCommError(false);
}

QString PollEngine::ApplyPortSettings() {
    QString speed = SpeedOverride;
    if (speed.isEmpty()) {
        speed = GetSetting(QStringLiteral("Speed"), QStringLiteral("9600"));
        if (speed != u"19200" && speed != u"9600") {
            speed = QStringLiteral("9600");
            SaveSetting(QStringLiteral("Speed"), speed);
        }
    }
    QString port = PortOverride;
    if (port.isEmpty()) {
        port = GetSetting(QStringLiteral("Port"), QStringLiteral("COM1"));
        if (port != u"COM2" && port != u"COM1") {
            port = QStringLiteral("COM1");
            SaveSetting(QStringLiteral("Port"), port);
        }
    }
    return OpenLink(port, speed);
}

QString PollEngine::OpenLink(const QString& port, const QString& speed) {
    try {
        link.PortClose();
        link.setTimeOut(300);
        link.setPort(port);
        link.setBaudRate(speed);
        if (d.LinkFailed) return {};
        link.setPortDevice(GetSetting(QStringLiteral("PortDevice") + port.right(1), QString()));
        link.PortOpen();
    } catch (const std::exception& e) {
        // The link is judged by the probe alone; the operator is told why it failed. Below
        // warning, as a program without a dialog tries again every second.
        qCInfo(lcEngine) << "opening" << port << "failed:" << e.what();
    }
    QString reply;
    OpenFailureInfo failure;
    try {
        // Why the port did not open, for the operator; None when it did.
        failure = link.LastOpenFailure();
        reply = Send(0, kReadCmd, QStringLiteral("00A0"), QString());
    } catch (const std::exception& e) {
        qCInfo(lcEngine) << "probe of block 1 on" << port << "failed:" << e.what();
    }
    if (reply.startsWith(QChar(Framing::ACK))) return QStringLiteral("ok");
    d.LinkFailed = true;
    // Nothing goes out until the operator has chosen a port.
    state_ = State::PortDialog;
    try {
        link.PortClose();
    } catch (const std::exception& e) {
        LogSkippedStep("closing the port after a failed probe", e);
    }
    view.ShowPortDialog(GetSetting(QStringLiteral("Port"), QStringLiteral("COM1")),
                        GetSetting(QStringLiteral("Speed"), QStringLiteral("9600")), failure);
    return {};
}

void PollEngine::Timer4_Timer() {
    // An end was asked for (a quit, a signal): the port may already be closed on purpose,
    // and a step now would take that for a lost port and mark every block out of contact.
    if (d.EndRequested) {
        Timer4.stop();
        return;
    }
    exchangesInStep = 0;
    if (PortLost) {
        DropQueuedWrites();
        TryReopen();
        NoteIdleStep(true);
        return;
    }
    const State stateOfStep = state_;
    try {
        switch (state_) {
        case State::StartupRead:
            // An end asked for during the read (a signal, a quit) stops it between exchanges.
            if (!Setdata_read()) break;
            lineRead_ = true;
            // Everything was read afresh.
            for (QStringList& items : readBack_) items.clear();
            view.StartupFinished();
            state_ = State::Polling;
            break;
        case State::Polling:
            PollingStep();
            break;
        case State::BlockReread:
            ReadPara_setflg();
            state_ = State::Polling;
            break;
        case State::PortDialog:
            // Nothing can go out while the operator chooses a port.
            DropQueuedWrites();
            if (!ApplyPortSettings().isEmpty()) state_ = State::StartupRead;
            break;
        }
    } catch (const std::exception& e) {
        // Skip the failing step; the next tick goes on.
        qCWarning(lcEngine) << "state" << int(stateOfStep) << "block" << d.PollBlock << "request"
                            << (running_ ? running_->item : QString());
        LogSkippedStep("poll step", e);
        if (state_ != State::PortDialog) state_ = State::Polling;
    }
    // In PortDialog the port is closed on purpose, waiting for the operator; at the end
    // the program closes it itself.
    if (state_ != State::PortDialog && !d.EndRequested && !LinkIsOpen()) {
        RunningCutByLoss();
        EnterPortLost();
        if (stateOfStep == State::StartupRead) view.StartupInterrupted();
    } else if (running_) {
        // A step that failed otherwise: its outcome is unknown, the item is read back.
        Finish(ResultOf(*running_, WriteOutcome::Unanswered, true));
    }
    running_.reset();
    NoteIdleStep(exchangesInStep == 0);
}

bool PollEngine::LinkIsOpen() {
    try {
        return link.CommID() != -1;
    } catch (const std::exception& e) {
        LogSkippedStep("link state check", e);
        return false;
    }
}

void PollEngine::EnterPortLost() {
    PortLost = true;
    d.CommErrorFlag = true;
    view.ShowCommError(true);
    lastReopenMs_ = Time->SteadyMs();
    if (bulk_ && bulk_->stage() == BulkWrite::Stage::Pause) Tell(QString::fromUtf8(PortLossMsg::AlarmValuesWait));
    // Nothing is read until the port is back: every present block's values are frozen.
    // Before the first start-up read has ended, no block is known to be there.
    for (int b = 0; b < BlockCount; ++b)
        if (lineRead_ && d.BlockAbsent[b] == 0) SetOutOfContact(b, true);
}

void PollEngine::Tell(const QString& text) {
    if (Messages) Messages->Tell(text);
}

void PollEngine::TryReopen() {
    const qint64 now = Time->SteadyMs();
    if (now - lastReopenMs_ < ReopenIntervalMs) return;
    lastReopenMs_ = now;
    QString reply;
    try {
        link.PortClose();
        link.PortOpen();
        if (!LinkIsOpen()) return;
        reply = Send(0, kReadCmd, d.ItemCode[0], QString());
    } catch (const std::exception& e) {
        // Tried every second while the port is away: below warning.
        qCInfo(lcEngine) << "reopening the lost port failed:" << e.what();
        return;
    }
    if (!reply.startsWith(QChar(Framing::ACK))) {
        try {
            link.PortClose();
        } catch (const std::exception& e) {
            LogSkippedStep("closing the port after a failed probe", e);
        }
        return;
    }
    PortLost = false;
    d.CommErrorFlag = false;
    // Alarm values cut by the loss go out in the first Polling step after this read.
    state_ = State::StartupRead;
}

void PollEngine::NoteIdleStep(bool idle) {
    const int wanted = idle ? IdleIntervalMs : 1;
    if (Timer4.interval() != wanted) Timer4.setInterval(wanted);
}

QString PollEngine::Exchange(int block, const QString& cmdType, const QString& item,
                             const QString& data, Kind kind) {
    const QString reply = Send(block, cmdType, item, data);
    NoteContact(block, Classify(reply, kind));
    return reply;
}

QString PollEngine::Send(int block, const QString& cmdType, const QString& item, const QString& data) {
    d.AddrChar = AddressOf(block);
    QElapsedTimer took;
    took.start();
    const QString reply = link.RWcomm(d.AddrChar, d.SubAddrChar, cmdType, item, data, 1);
    const double elapsedMs = took.nsecsElapsed() / 1e6;
    ++exchangesInStep;
    const char16_t first = reply.isEmpty() ? 0 : reply[0].unicode();
    ExchangeVerdict verdict = ExchangeVerdict::Corrupted;
    if (first == 0) verdict = ExchangeVerdict::Silent;
    else if (first == Framing::NAK) verdict = ExchangeVerdict::Nak;
    else if (first == Framing::ACK && (cmdType != kReadCmd || HoldsEveryChannel(reply))) verdict = ExchangeVerdict::Ack;
    // STX, address, sub-address, command, item, data, checksum, ETX.
    const int requestChars = 10 + int(data.size());
    diagnostics_.Note(block, cmdType, item, data, reply, verdict, elapsedMs, requestChars,
                      link.BaudRate().toInt());
    return reply;
}

void PollEngine::NoteContact(int block, char16_t outcome) {
    // Every exchange is with a block of the line (0 to BlockCount - 1).
    if (outcome == 0) {
        if (++silentInRow_[block] >= SilentRequestsForOutOfContact) SetOutOfContact(block, true);
        return;
    }
    silentInRow_[block] = 0;
    // A corrupted reply shows the block is there, but proves nothing about its values.
    if (outcome == Framing::ACK || outcome == Framing::NAK) SetOutOfContact(block, false);
}

void PollEngine::SetOutOfContact(int block, bool out) {
    if (d.BlockOutOfContact[block] == out) return;
    d.BlockOutOfContact[block] = out;
    if (HystoryWrite)
        HystoryWrite(QString::fromLatin1(OutOfContactCode), block * ChannelsPerBlock, out ? -1 : 0);
    view.BlockContactChanged(block, out);
}

char16_t PollEngine::Classify(const QString& reply, Kind kind) {
    d.CommErrorFlag = false;
    char16_t first = reply.isEmpty() ? 0 : reply[0].unicode();
    // A read reply whose checksum happens to match although it lost data (a data byte
    // turned into ETX) would store zeros for the missing channels: count it as corrupted.
    if (first == Framing::ACK && kind == Kind::Read && !HoldsEveryChannel(reply)) first = Framing::ESC;
    if (first == Framing::ACK) {
        if (kind == Kind::Read) ReadDataSet(reply, 0);
        view.SetPanelText(1, QStringLiteral("OK"));
    } else if (first == Framing::NAK) {
        view.SetPanelText(1, QStringLiteral("NG"));
        if (HystoryWrite) HystoryWrite(QStringLiteral("NAK"), 0, 0);
    } else if (first == Framing::ESC) {
        if (HystoryWrite) HystoryWrite(QStringLiteral("CHKSUM"), 0, 0);
    } else if (reply.isEmpty()) {
        view.ShowCommError(true);
        d.CommErrorFlag = true;
    }
    return first;
}

bool PollEngine::HoldsEveryChannel(const QString& reply) const {
    return link.isDataNum(reply) == ChannelsPerBlock;
}

void PollEngine::ReadDataSet(const QString& reply, int /*block*/) {
    if (reply.size() < 8 || !HoldsEveryChannel(reply)) return;
    // An address outside the line stores nothing (StoreReply ignores it).
    const int block = reply[1].unicode() - 32;
    const QStringView item = QStringView(reply).mid(4, 4);
    if (item == u"00A1") return;
    d.StoreReply(block, item, RDX_INC::FieldsOf(reply));
}

void PollEngine::PollStep() {
    d.SubAddrChar = kSpace;
    view.SetPanelText(1, QString());
    QString item;
    switch (d.PollPhase) {
    case 0: item = QStringLiteral("0080"); break;
    case 1: item = QStringLiteral("0083"); break;
    default: item = d.MVToggle ? QStringLiteral("0081") : QStringLiteral("0082"); break;
    }
    const bool asked = d.BlockAbsent[d.PollBlock] == 0;
    const bool answered = asked && Exchange(d.PollBlock, kReadCmd, item, QString(), Kind::Read)
                                       .startsWith(QChar(Framing::ACK));
    // Settings it did not take are read back as soon as the block answers again.
    if (answered && !readBack_[d.PollBlock].isEmpty()) ReadBack(d.PollBlock);
    if (item == u"0083") statecomchk(d.PollBlock);
    if (asked) emit Polled(d.PollBlock, item);
    // Advance to the next present block; one full turn at most, so an empty line ends.
    for (int turn = 0; turn < BlockCount; ++turn) {
        if (++d.PollBlock > BlockCount - 1) {
            d.PollBlock = 0;
            if (++d.PollPhase > 2) {
                d.PollPhase = 0;
                d.MVToggle = !d.MVToggle;
            }
        }
        if (d.BlockAbsent[d.PollBlock] == 0) break;
    }
}

void PollEngine::statecomchk(int block) {
    if (block < 0 || block >= BlockCount) return;
    for (int k = 0; k < ChannelsPerBlock; ++k) {
        if (quint16(d.ChStatus[block * ChannelsPerBlock + k]) & StatusBit::Changed) {
            state_ = State::BlockReread;
            d.RereadBlock = block;
            return;
        }
    }
}

bool PollEngine::EndAsked() {
    if (!d.EndRequested && EndPending && EndPending()) d.EndRequested = true;
    return d.EndRequested;
}

bool PollEngine::Setdata_read() {
    d.SubAddrChar = kSpace;
    link.RecvBufClear();
    link.SendBufClear();
    int count = 0;
    for (int b = 0; b < BlockCount; ++b) {
        if (EndAsked()) return false;
        const QString reply = Send(b, kReadCmd, d.ItemCode[1], QString());
        d.BlockAbsent[b] = reply.isEmpty() ? 1 : 0;
        d.StoreInputTypes(b, RDX_INC::FieldsOf(reply));
        view.SplashProgress(++count);
        if (EndAsked()) return false;
        if (d.BlockAbsent[b] == 0) Exchange(b, kReadCmd, d.ItemCode[0], QString(), Kind::Read);
    }
    for (int c = 0; c < ChannelCount; ++c) {
        const QString s = ChannelSuffix(c);
        d.ChScaleHigh[c] = qint16(GetSettingInt(QStringLiteral("STLH") + s, 10000));
        d.ChScaleLow[c] = qint16(GetSettingInt(QStringLiteral("STLL") + s, 0));
        d.ChDecimal[c] = qint16(GetSettingInt(QStringLiteral("DP") + s, 100));
        d.ChUnitText[c] = GetSetting(QStringLiteral("UNIT") + s, QStringLiteral("%"));
    }
    d.ComputeBlockCooling();
    for (int b = 0; b < BlockCount; ++b) {
        if (EndAsked()) return false;
        if (d.BlockAbsent[b] != 0) continue;
        Exchange(b, kReadCmd, QStringLiteral("0013"), QString(), Kind::Read);
        Exchange(b, kReadCmd, QStringLiteral("0014"), QString(), Kind::Read);
    }
    for (int b = 0; b < BlockCount; ++b) {
        if (d.BlockAbsent[b] == 0) {
            for (int i = 1; i <= 37; ++i) {
                if (EndAsked()) return false;
                ++count;
                if (i >= 33 && !d.BlockHasCooling[b]) continue;
                Exchange(b, kReadCmd, d.ItemCode[i], QString(), Kind::Read);
            }
        } else {
            count += 37;
        }
        view.SplashProgress(count);
    }
    return true;
}

void PollEngine::ReadPara_setflg() {
    d.AddrChar = kSpace;
    d.SubAddrChar = kSpace;
    link.RecvBufClear();
    link.SendBufClear();
    // The message must be on screen for the whole re-read, which blocks the event loop.
    view.ShowReadMessage(true);
    const int block = d.RereadBlock;
    for (int i = 1; i <= 37; ++i) {
        try {
            Exchange(block, kReadCmd, d.ItemCode[i], QString(), Kind::Read);
        } catch (const std::exception& e) {
            LogSkippedStep("re-read item", e);
        }
    }
    d.SelectedItem = 0;
    view.ResetSettingView();
}
