// What the engine reports, for a program without widgets. There is nobody to answer a
// port dialog: the gateway says on standard error why the line cannot be used (the
// device missing, busy, not permitted, its settings refused, or no answer) and lets the
// engine try the port again a second later, until it answers.
#pragma once

#include "exchange/EngineView.h"
#include "exchange/RDX_INC.h"

#include <QObject>
#include <functional>
#include <optional>

class GatewayView : public QObject, public EngineView {
    Q_OBJECT
public:
    static constexpr int PortRetryMs = 1000;

    explicit GatewayView(RDX_INC& data, QObject* parent = nullptr);

    // The port, device and speed given for this run (empty: the stored ones the engine
    // reports), for the messages.
    QString Port;
    QString Device;
    QString Speed;
    // Run at the end of each start-up read (after the first, only when the port came back).
    std::function<void()> OnStartupFinished;
    // Run whenever the engine may have opened, lost or failed to open the port: during the
    // start-up read, at a failed opening, at a block's change of contact.
    std::function<void()> OnLineChanged;

    void SetPanelText(int, const QString&) override {}
    void ShowReadMessage(bool) override {}
    // Protocol errors and blocks out of contact are reported through the history.
    void ShowCommError(bool) override {}
    void SplashProgress(int) override { LineChanged(); }
    void StartupFinished() override;
    void StartupInterrupted() override;
    void ShowPortDialog(const QString& port, const QString& speed, const OpenFailureInfo& failure) override;
    void RefreshView() override {}
    void ResetSettingView() override {}
    void SetWriteProgress(int) override {}
    void BulkWriteFinished() override {}
    void BlockContactChanged(int, bool) override { LineChanged(); }

private:
    void LineChanged() {
        if (OnLineChanged) OnLineChanged();
    }

    RDX_INC& d;
    // The cause said last during this outage; none once the line answered.
    std::optional<OpenFailureInfo> reported_;
};
