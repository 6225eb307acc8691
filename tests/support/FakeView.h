#pragma once

#include "exchange/EngineView.h"

#include <QString>
#include <array>
#include <utility>
#include <vector>

class FakeView : public EngineView {
public:
    std::array<QString, 5> panel;
    bool readMessage = false, commError = false;
    bool readMessageDuringReread = false;
    std::vector<int> progress;
    int startupFinished = 0, startupInterrupted = 0, portDialogs = 0, refreshes = 0, resets = 0, bulkFinished = 0;
    int writeProgress = 0;
    QString dialogPort, dialogSpeed;
    OpenFailureInfo dialogFailure;

    void SetPanelText(int p, const QString& t) override { panel[p] = t; }
    void ShowReadMessage(bool v) override { readMessage = v; if (v) readMessageDuringReread = true; }
    void ShowCommError(bool v) override { commError = v; }
    void SplashProgress(int c) override { progress.push_back(c); }
    void StartupFinished() override { ++startupFinished; }
    void StartupInterrupted() override { ++startupInterrupted; }
    void ShowPortDialog(const QString& p, const QString& s, const OpenFailureInfo& f) override {
        ++portDialogs; dialogPort = p; dialogSpeed = s; dialogFailure = f;
    }
    void RefreshView() override { ++refreshes; }
    void ResetSettingView() override { ++resets; }
    void SetWriteProgress(int v) override { writeProgress = v; }
    void BulkWriteFinished() override { ++bulkFinished; }
    // (block, out of contact) in the order they were told.
    std::vector<std::pair<int, bool>> contactChanges;
    void BlockContactChanged(int b, bool out) override { contactChanges.emplace_back(b, out); }
};
