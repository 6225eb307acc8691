#include "controls/SubDisp_Chartset.h"

#include "controls/UpDown.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

const char* const kPlotCaptions[ChartPenCount] = {"ﾌﾟﾛｯﾄ１：", "ﾌﾟﾛｯﾄ2：", "ﾌﾟﾛｯﾄ3：", "ﾌﾟﾛｯﾄ4："};
const char* const kGroupCaptions[ChartPenCount] = {"ﾌﾟﾛｯﾄ1項目選択", "ﾌﾟﾛｯﾄ2項目選択",
                                                   "ﾌﾟﾛｯﾄ3項目選択", "ﾌﾟﾛｯﾄ4項目選択"};
const char* const kItemCaptions[4] = {"描写なし", "制御入力値(PV)", "主設定(SV)", "出力操作量(MV)"};

QLabel* Caption(const char* text, QWidget* parent) { return new QLabel(QString::fromUtf8(text), parent); }

}  // namespace

SubDisp_Chartset::SubDisp_Chartset(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("ﾁｬｰﾄ描写条件設定画面"));
    setModal(false);
    // The range's low and high ends, then the interval.
    struct Limits { int min, max, step; };
    const Limits limits[3] = {{RangeMin, RangeMax, RangeStep}, {RangeMin, RangeMax, RangeStep},
                              {ChartTimMin, ChartTimMax, 1}};
    for (int i = 0; i < 3; ++i) {
        Text1[i] = new QLineEdit(this);
        Text1[i]->setAlignment(Qt::AlignRight);
        Text1[i]->setMaximumWidth(70);
        Text1[i]->installEventFilter(this);
        UpDown1[i] = new UpDown(this);
        UpDown1[i]->SetRange(limits[i].min, limits[i].max);
        UpDown1[i]->SetIncrement(limits[i].step);
        connect(UpDown1[i], &UpDown::Change, this, [this, i] { UpDown1_Change(i); });
    }
    // Only a sign and digits can be typed; the range is checked when the number is taken.
    const QRegularExpression number(QStringLiteral("-?[0-9]{0,4}"));
    for (int i = 0; i < 3; ++i) Text1[i]->setValidator(new QRegularExpressionValidator(number, Text1[i]));

    auto* rows = new QGridLayout;
    rows->addWidget(Caption("温度ﾚﾝｼﾞ(Y軸)", this), 0, 0);
    auto* range = new QHBoxLayout;
    range->addWidget(Text1[0]);
    range->addWidget(UpDown1[0]);
    range->addWidget(Caption("から", this));
    range->addWidget(Text1[1]);
    range->addWidget(UpDown1[1]);
    range->addStretch();
    rows->addLayout(range, 0, 1);
    rows->addWidget(Caption("描写間隔（時間）", this), 1, 0);
    auto* interval = new QHBoxLayout;
    interval->addWidget(Text1[2]);
    interval->addWidget(UpDown1[2]);
    interval->addWidget(Caption("秒", this));
    interval->addStretch();
    rows->addLayout(interval, 1, 1);

    auto* pens = new QGridLayout;
    for (int k = 0; k < ChartPenCount; ++k) {
        Chart_CHName[k] = new QComboBox(this);
        Chart_CHName[k]->setMaxVisibleItems(20);
        auto* group = new QGroupBox(QString::fromUtf8(kGroupCaptions[k]), this);
        auto* options = new QHBoxLayout(group);
        for (int item = 0; item < 4; ++item) {
            PlotOption(k)[item] = new QRadioButton(QString::fromUtf8(kItemCaptions[item]), group);
            options->addWidget(PlotOption(k)[item]);
        }
        pens->addWidget(Caption(kPlotCaptions[k], this), 2 * k, 0);
        pens->addWidget(Chart_CHName[k], 2 * k, 1);
        pens->addWidget(group, 2 * k + 1, 0, 1, 2);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const char* const captions[2] = {"OK", "Cancel"};
    for (int i = 0; i < 2; ++i) {
        Command1[i] = new QPushButton(QString::fromLatin1(captions[i]), this);
        Command1[i]->setAutoDefault(false);
        // Enter on a list or an option is OK too.
        Command1[i]->setDefault(i == 0);
        buttons->addWidget(Command1[i]);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addLayout(pens);
    layout->addLayout(buttons);
}

std::array<QRadioButton*, 4>& SubDisp_Chartset::PlotOption(int pen) {
    switch (pen) {
    case 0: return Plot1_Option;
    case 1: return Plot2_Option;
    case 2: return Plot3_Option;
    default: return Plot4_Option;
    }
}

const std::array<QRadioButton*, 4>& SubDisp_Chartset::PlotOption(int pen) const {
    return const_cast<SubDisp_Chartset*>(this)->PlotOption(pen);
}

void SubDisp_Chartset::Open(const ChartSettings& settings) {
    ShowValues(settings);
    show();
    raise();
    activateWindow();
}

void SubDisp_Chartset::ShowValues(const ChartSettings& settings) {
    shown_ = settings;
    const std::array<int, 3> values = {settings.ChartMin, settings.ChartMax, settings.ChartTim};
    for (int i = 0; i < 3; ++i) {
        // Quiet: the ordering rule must not act on half-loaded values.
        const QSignalBlocker quiet(UpDown1[i]);
        UpDown1[i]->SetValue(values[i]);
        Text1[i]->setText(QString::number(UpDown1[i]->Value()));
    }
    for (int k = 0; k < ChartPenCount; ++k) {
        Chart_CHName[k]->setCurrentIndex(settings.PenChannel[k]);
        const int item = settings.PenItem[k];
        if (item >= 0 && item < 4) PlotOption(k)[item]->setChecked(true);
    }
}

void SubDisp_Chartset::UpDown1_Change(int index) {
    if (index < 0 || index > 2) return;
    Text1[index]->setText(QString::number(UpDown1[index]->Value()));
    const int min = UpDown1[0]->Value();
    const int max = UpDown1[1]->Value();
    if (index == 0 && min >= max) {
        UpDown1[0]->SetValue(max - RangeStep);
        Text1[0]->setText(QString::number(UpDown1[0]->Value()));
    } else if (index == 1 && max <= min) {
        UpDown1[1]->SetValue(min + RangeStep);
        Text1[1]->setText(QString::number(UpDown1[1]->Value()));
    }
}

int SubDisp_Chartset::SelectedItem(int pen) const {
    if (pen < 0 || pen >= ChartPenCount) return -1;
    const auto& options = PlotOption(pen);
    for (int item = 0; item < 4; ++item)
        if (options[item]->isChecked()) return item;
    return -1;
}

ChartSettings SubDisp_Chartset::Choices() const {
    ChartSettings s = shown_;
    s.ChartMin = qint16(UpDown1[0]->Value());
    s.ChartMax = qint16(UpDown1[1]->Value());
    s.ChartTim = qint16(UpDown1[2]->Value());
    for (int k = 0; k < ChartPenCount; ++k) {
        // An empty list or no chosen option keeps what was shown.
        const int channel = Chart_CHName[k]->currentIndex();
        if (channel >= 0 && channel < Chart_CHName[k]->count()) s.PenChannel[k] = qint16(channel);
        const int item = SelectedItem(k);
        if (item >= 0) s.PenItem[k] = quint8(item);
        if (channel >= 0) s.PenName[k] = PenLabelText(Chart_CHName[k]->currentText(), s.PenItem[k]);
    }
    return s;
}

int SubDisp_Chartset::FieldIndex(QObject* watched) const {
    for (int i = 0; i < 3; ++i)
        if (watched == Text1[i]) return i;
    return -1;
}

bool SubDisp_Chartset::Text1_Commit(int index) {
    if (index < 0 || index > 2) return false;
    bool number = false;
    const int typed = Text1[index]->text().trimmed().toInt(&number);
    UpDown* updown = UpDown1[index];
    const bool accepted = number && typed >= updown->Min() && typed <= updown->Max();
    if (accepted && typed != updown->Value()) {
        updown->SetValue(typed);  // the change event shows it and keeps the order
        return true;
    }
    if (!accepted) QApplication::beep();
    Text1[index]->setText(QString::number(updown->Value()));
    return accepted;
}

bool SubDisp_Chartset::eventFilter(QObject* watched, QEvent* event) {
    const int i = FieldIndex(watched);
    if (i < 0) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        Text1_Commit(i);
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool step = key == Qt::Key_Up || key == Qt::Key_Down;
        if (step || key == Qt::Key_Return || key == Qt::Key_Enter) {
            // The typed number counts first; an arrow then steps from the number just
            // taken. Enter is OK, as in any dialog, once the number was taken; a refused
            // one keeps the dialog open with the value shown again.
            const bool taken = Text1_Commit(i);
            if (key == Qt::Key_Up) UpDown1[i]->StepUp();
            if (key == Qt::Key_Down) UpDown1[i]->StepDown();
            if (!step && taken) Command1_Click(0);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SubDisp_Chartset::Command1_Click(int index) {
    // A number still being typed counts, as if the field had lost the focus.
    if (index == 0)
        for (int i = 0; i < 3; ++i) Text1_Commit(i);
    if (index == 0) emit settingsAccepted(Choices());
    if (index == 0 || index == 1) close();
}
