// Tab 5: the trend chart with its start, stop and settings buttons, the pen names, the
// "描写終了" mark and the sampling tick that feeds one position per interval into the chart.
#pragma once

#include "services/Clock.h"
#include "display/ChartSettings.h"
#include "display/TabView.h"
#include "exchange/RDX_INC.h"

#include <QDateTime>
#include <QTimer>
#include <array>
#include <functional>

class NameLists;
class OperatorMessages;
class QLabel;
class QPushButton;
class SubDisp_Chartset;
class Tesmar_ChartCtl;

inline constexpr char ChartWaiting[] = "ﾁｬｰﾄ 待機中";
inline constexpr char ChartRunning[] = "ﾁｬｰﾄ 実行中";
inline constexpr char ChartFinished[] = "描写終了";

class ChartView : public TabView {
    Q_OBJECT
public:
    explicit ChartView(const RDX_INC& data, QWidget* parent = nullptr);

    Tesmar_ChartCtl* Tesmar_ChartCtl1 = nullptr;
    std::array<QPushButton*, 3> ChartStart{};  // start, stop, settings
    std::array<QLabel*, ChartPenCount> Label_protname{};
    QLabel* Label_protend = nullptr;
    QTimer Timer2;
    SubDisp_Chartset* chartsetDialog() const { return dialog_; }

    // Shows the chart state in status-bar panel 3.
    std::function<void(const QString&)> SetPanel3;
    // The chart's refusals, told without waiting; the shell hands its messages.
    OperatorMessages* Messages = nullptr;
    // The chart's start time; replaced by tests.
    const Clock* Time = &SystemClock();

    // The settings in force: loaded at start-up, replaced by the dialog's OK.
    const ChartSettings& Settings() const { return settings_; }
    // The next plot position, 0..999.
    int ChartPosition() const { return position_; }
    bool IsRunning() const { return Timer2.isActive(); }

    // Reads every chart key and shows the stored pen names.
    void LoadChartSettings();
    // Selects each pen's channel in its list and names the pen after it.
    void RefreshPenLabels();
    // The four channel lists are refilled with the channel names, and the pen names
    // follow every change of channel names.
    void RegisterNames(NameLists& lists);

    // 0 start, 1 stop, 2 open the settings dialog.
    void ChartStart_Click(int index);
    // One sample: the four pen values, then the next position.
    void Timer2_Timer();
    // The end of start-up: a chart that ran when the program closed starts again.
    void ResumeAtStartup();

private:
    void StartChart();
    void StopChart();
    void OpenSettings();
    void AcceptSettings(const ChartSettings& settings);
    void FillChannelLists();
    void ShowPanel3(const char* text);

    const RDX_INC& d;
    ChartSettings settings_;
    // What the running chart was started with; a confirmed dialog applies at the next start.
    ChartSettings running_;
    int position_ = 0;
    SubDisp_Chartset* dialog_ = nullptr;
    NameLists* names_ = nullptr;
};
