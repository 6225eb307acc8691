#include "editing/Select_Disp.h"

#include "editing/CommitSetting.h"
#include "editing/DirectOperations.h"
#include "editing/SettingItems.h"
#include "format/DisplayTables.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr const char* kAlarmOptions[] = {
    "警報動作なし", "上限警報", "待機付上限警報", "下限警報", "待機付下限警報",
    "上下限警報", "待機付上下限警報", "上下限範囲警報", "待機付上下限範囲警報",
    "絶対値上限警報", "待機付絶対値上限警報", "絶対値下限警報", "待機付絶対値下限警報"};
constexpr const char* kHeatCoolOptions[] = {"加熱", "冷却"};
constexpr const char* kUnitOptions[] = {"゜C", "゜F"};
constexpr const char* kCoolOptions[] = {"空冷", "油冷", "水冷"};
constexpr const char* kDecimalOptions[] = {"XXXX．", "XXX．X", "XX．XX", "X．XXX", "．XXXX"};

void CheckOnly(std::span<QRadioButton* const> options, int index) {
    for (QRadioButton* o : options) {
        // With none to select, every option must be clear: exclusivity would keep one.
        o->setAutoExclusive(false);
        o->setChecked(false);
        o->setAutoExclusive(true);
    }
    // index: one of these options, or -1 for none (as PreselectedOption answers).
    if (index >= 0) options[index]->setChecked(true);
}

}  // namespace

Select_Disp::Select_Disp(RDX_INC& data, WriteRequests& writes, QWidget* parent)
    : QDialog(parent), d(data), writes_(writes) {
    setWindowTitle(QStringLiteral("設定項目動作選択画面"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    Select_alarm = Frame(QStringLiteral("警報動作選択"), kAlarmOptions, Option_alarm);
    Select_hc = Frame(QStringLiteral("制御動作(加熱/冷却)"), kHeatCoolOptions, Option_hc);
    Select_cf = Frame(QStringLiteral("温度単位"), kUnitOptions, Option_cf);
    Select_cool = Frame(QStringLiteral("冷却動作モード選択"), kCoolOptions, Option_cool);
    Select_dp = Frame(QStringLiteral("小数点位置選択"), kDecimalOptions, Option_dp);
    Select_unit = new QGroupBox(QStringLiteral("レンジ単位選択"), this);
    Text_unit = new QLineEdit(Select_unit);
    (new QVBoxLayout(Select_unit))->addWidget(Text_unit);
    for (QGroupBox* f : {Select_alarm, Select_hc, Select_cf, Select_cool, Select_dp, Select_unit}) {
        layout->addWidget(f);
        f->hide();
    }
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &Select_Disp::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Select_Disp::Command2_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    layout->addLayout(buttons);
}

QGroupBox* Select_Disp::Frame(const QString& caption, std::span<const char* const> texts,
                              std::span<QRadioButton*> options) {
    auto* frame = new QGroupBox(caption, this);
    auto* grid = new QGridLayout(frame);
    // Long lists (the alarm types) go into two columns.
    const int perColumn = texts.size() > 6 ? 7 : int(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        options[i] = new QRadioButton(QString::fromUtf8(texts[i]), frame);
        grid->addWidget(options[i], int(i) % perColumn, int(i) / perColumn);
    }
    return frame;
}

QGroupBox* Select_Disp::FrameOf(int setting) const {
    switch (ChoiceFrameOf(setting)) {
    case ChoiceFrame::Alarm: return Select_alarm;
    case ChoiceFrame::HeatCool: return Select_hc;
    case ChoiceFrame::TempUnit: return Select_cf;
    case ChoiceFrame::CoolMode: return Select_cool;
    case ChoiceFrame::DecimalPoint: return Select_dp;
    case ChoiceFrame::Unit: return Select_unit;
    case ChoiceFrame::None: break;
    }
    return nullptr;
}

std::span<QRadioButton* const> Select_Disp::OptionsOf(int setting) const {
    switch (ChoiceFrameOf(setting)) {
    case ChoiceFrame::Alarm: return Option_alarm;
    case ChoiceFrame::HeatCool: return Option_hc;
    case ChoiceFrame::TempUnit: return Option_cf;
    case ChoiceFrame::CoolMode: return Option_cool;
    case ChoiceFrame::DecimalPoint: return Option_dp;
    default: return {};
    }
}

int Select_Disp::Selected(int setting) const {
    const auto options = OptionsOf(setting);
    for (std::size_t i = 0; i < options.size(); ++i)
        if (options[i]->isChecked()) return int(i);
    return -1;
}

void Select_Disp::Prepare(int setting, int channel) {
    setting_ = setting;
    channel_ = channel;
    for (QGroupBox* f : {Select_alarm, Select_hc, Select_cf, Select_cool, Select_dp, Select_unit})
        f->hide();
    if (QGroupBox* frame = FrameOf(setting)) frame->show();
    if (setting == 35) {
        Text_unit->setText(channel >= 0 && channel < ChannelCount ? d.ChUnitText[channel] : QString());
    } else {
        CheckOnly(OptionsOf(setting), PreselectedOption(d, setting, channel));
    }
    adjustSize();
}

void Select_Disp::Command1_Click() {
    const int c = channel_;
    const int s = setting_;
    if (c < 0 || c >= ChannelCount) return;
    const int option = Selected(s);
    if (s == 35) {
        d.ChUnitText[c] = Text_unit->text();
    } else if (option >= 0) {
        switch (s) {
        case 14: d.ChAlarm1Type[c] = qint16(option); break;
        case 15: d.ChAlarm2Type[c] = qint16(option); break;
        case 20: d.ChAction[c] = qint16(option); break;
        case 21:
            // The pair shows one unit: the second channel's display follows.
            d.ChTempUnit[c] = qint16(option);
            d.ChUnitShown[c] = qint16(option);
            if (c + 1 < ChannelCount) d.ChUnitShown[c + 1] = qint16(option);
            break;
        case 28: d.ChCoolMode[c] = qint16(option); break;
        case 34: d.ChDecimal[c] = qint16(DecimalOptionDivisor(option)); break;
        default: break;
        }
    }
    CommitSetting(d, writes_, s, c);
    emit committed(s, c);
    close();
}

void Select_Disp::Command2_Click() { close(); }
