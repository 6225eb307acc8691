#include "editing/Setting_Disp.h"

#include "editing/CommitSetting.h"
#include "editing/WriteOutcomeText.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kOutOfRange = QStringLiteral("設定範囲を外れた値です。");
const QString kCheckInput = QStringLiteral("入力値を確認してください。");

QPushButton* PadButton(const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    // The keyboard stays with the display field while the pad is clicked; never focused,
    // a pad key never becomes the button that Enter presses.
    b->setFocusPolicy(Qt::NoFocus);
    b->setMinimumSize(48, 36);
    return b;
}

}  // namespace

Setting_Disp::Setting_Disp(RDX_INC& data, WriteRequests& writes, QWidget* parent)
    : QDialog(parent), d(data), writes_(writes) {
    setWindowTitle(QStringLiteral("設定値変更画面"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    change_data = new QLabel(this);
    change_data->hide();
    Disp_setdata = new QLineEdit(this);
    // Keys are taken by the event filter; the field shows only the redrawn value.
    Disp_setdata->setReadOnly(true);
    Disp_setdata->setContextMenuPolicy(Qt::NoContextMenu);
    Disp_setdata->setAlignment(Qt::AlignRight);
    Disp_setdata->installEventFilter(this);
    QFont big = Disp_setdata->font();
    big.setPointSize(big.pointSize() + 6);
    Disp_setdata->setFont(big);
    Now_data = new QLabel(this);
    Limit_data = new QLabel(this);
    Target_data = new QLabel(this);

    auto* info = new QFormLayout;
    info->addRow(QStringLiteral("変更する設定"), Target_data);
    info->addRow(QStringLiteral("現在の設定値"), Now_data);
    info->addRow(QStringLiteral("設定可能範囲"), Limit_data);

    // As on a calculator: 7 8 9 / 4 5 6 / 1 2 3 / 0 +/- CE.
    constexpr int kDigitRow[] = {4, 3, 3, 3, 2, 2, 2, 1, 1, 1};
    constexpr int kDigitColumn[] = {0, 0, 1, 2, 0, 1, 2, 0, 1, 2};
    auto* pad = new QGridLayout;
    for (int digit = 0; digit < 10; ++digit) {
        Ten_key[digit] = PadButton(QString::number(digit), this);
        connect(Ten_key[digit], &QPushButton::clicked, this, [this, digit] { Ten_key_Click(digit); });
        pad->addWidget(Ten_key[digit], kDigitRow[digit], kDigitColumn[digit]);
    }
    Command1 = PadButton(QStringLiteral("+/-"), this);
    Command2 = PadButton(QStringLiteral("CE"), this);
    pad->addWidget(Command1, 4, 1);
    pad->addWidget(Command2, 4, 2);
    connect(Command1, &QPushButton::clicked, this, &Setting_Disp::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Setting_Disp::Command2_Click);

    Command3 = new QPushButton(QStringLiteral("OK"), this);
    Command4 = new QPushButton(QStringLiteral("Cancel"), this);
    // OK is the default button; Cancel never takes Enter, even with the focus.
    Command4->setAutoDefault(false);
    Command3->setDefault(true);
    connect(Command3, &QPushButton::clicked, this, &Setting_Disp::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Setting_Disp::Command4_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command3);
    buttons->addWidget(Command4);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(info);
    layout->addWidget(Disp_setdata);
    layout->addLayout(pad);
    layout->addLayout(buttons);
}

void Setting_Disp::Prepare(int setting, const SettingRange& range, const SettingRangeTexts& texts) {
    setting_ = setting;
    channel_ = range.EditChannel;
    // The operator sees which channel and setting the value goes to.
    Target_data->setText(SettingTarget(setting, channel_));
    Now_data->setText(texts.NowData);
    if (texts.LimitData) Limit_data->setText(*texts.LimitData);
    entry_ = SettingEntry(EntryContext(d, range, setting));
    Show();
}

void Setting_Disp::Show() {
    change_data->setText(entry_.Entry());
    Disp_setdata->setText(entry_.Display());
}

void Setting_Disp::OutOfRange() {
    if (prompts.Message) prompts.Message(this, kOutOfRange);
}

void Setting_Disp::After(SettingEntry::KeyResult result) {
    switch (result) {
    case SettingEntry::KeyResult::Refused: OutOfRange(); break;
    case SettingEntry::KeyResult::Beep:
        if (prompts.Beep) prompts.Beep();
        break;
    case SettingEntry::KeyResult::Accepted: break;
    }
    Show();
}

void Setting_Disp::Ten_key_Click(int digit) { After(entry_.Digit(digit)); }
void Setting_Disp::Point_Click() { After(entry_.Point()); }
void Setting_Disp::Command1_Click() { After(entry_.Sign()); }

void Setting_Disp::Command2_Click() {
    entry_.Clear();
    Show();
}

void Setting_Disp::Command3_Click() {
    switch (entry_.CheckOk()) {
    case SettingEntry::OkResult::Empty:
        if (prompts.Beep) prompts.Beep();
        if (prompts.Message) prompts.Message(this, kCheckInput);
        if (prompts.Beep) prompts.Beep();
        return;
    case SettingEntry::OkResult::OutOfRange:
        // The entry stays so the operator can correct it.
        OutOfRange();
        return;
    case SettingEntry::OkResult::Accepted: break;
    }
    StoreSettingValue(d, setting_, channel_, qint16(entry_.Value()));
    CommitSetting(d, writes_, setting_, channel_);
    emit committed(setting_, channel_);
    if ((setting_ == 32 || setting_ == 33) && prompts.Message) prompts.Message(this, ScalingChangeNotice());
    close();
}

void Setting_Disp::Command4_Click() { close(); }

bool Setting_Disp::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Disp_setdata || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        Command3_Click();
        return true;
    }
    if (key->key() == Qt::Key_Backspace) {
        Command2_Click();
        return true;
    }
    const QString text = key->text();
    if (text.size() != 1 || !text[0].isPrint()) return false;  // navigation, Escape, Tab
    const QChar ch = text[0];
    if (ch >= u'0' && ch <= u'9') Ten_key_Click(ch.unicode() - u'0');
    else if (ch == u'-') Command1_Click();
    else if (ch == u'.') Point_Click();
    else After(entry_.Other());
    return true;
}
