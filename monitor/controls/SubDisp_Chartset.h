// The chart drawing settings dialog: Y-axis range and sampling interval on up-downs, and
// for each of the four pens a channel list and a group of item options. Modeless; OK hands
// the choices to the chart tab, which applies and stores them.
#pragma once

#include "controls/ChartChoices.h"

#include <QDialog>
#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class UpDown;

class SubDisp_Chartset : public QDialog {
    Q_OBJECT
public:
    // Up-down ranges of the Y axis and of the interval.
    static constexpr int RangeMin = -400;
    static constexpr int RangeMax = 3400;
    static constexpr int RangeStep = 100;

    explicit SubDisp_Chartset(QWidget* parent = nullptr);

    // UpDown1(0..2) hold the values and Text1(0..2) show them. A number typed into a
    // field takes effect on Enter or when the field loses the focus, within the
    // up-down's range (anything else is refused and the value shown again); the Up and
    // Down keys step the up-down.
    std::array<QLineEdit*, 3> Text1{};
    std::array<UpDown*, 3> UpDown1{};
    // One list of the 320 channel names per pen; list index = channel index.
    std::array<QComboBox*, ChartPenCount> Chart_CHName{};
    // Per pen, option index = item code: none, PV, SV, MV.
    std::array<QRadioButton*, 4> Plot1_Option{}, Plot2_Option{}, Plot3_Option{}, Plot4_Option{};
    std::array<QPushButton*, 2> Command1{};  // OK, Cancel

    std::array<QRadioButton*, 4>& PlotOption(int pen);
    const std::array<QRadioButton*, 4>& PlotOption(int pen) const;

    // Shows the given settings and the dialog without waiting. The channel lists must be
    // filled already. Loading does not apply the minimum-below-maximum rule, so stored
    // values appear unchanged.
    void Open(const ChartSettings& settings);
    void ShowValues(const ChartSettings& settings);

    // Keeps the minimum below the maximum by one step.
    void UpDown1_Change(int index);
    // The number typed into Text1(index) goes to its up-down; false when it was refused.
    bool Text1_Commit(int index);
    // 0 OK: settingsAccepted with Choices(), then close; 1 Cancel: close.
    void Command1_Click(int index);

    // What the dialog holds now; pen names are the list text followed by the item suffix.
    ChartSettings Choices() const;
    // Index of the selected option of a pen's group, or -1.
    int SelectedItem(int pen) const;

signals:
    void settingsAccepted(const ChartSettings& settings);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int FieldIndex(QObject* watched) const;

    ChartSettings shown_;
};
