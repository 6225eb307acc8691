// Pieces shared by the block views: the per-channel texts they show beside the values,
// the lamp conditions, and the few widget kinds they are built from.
#pragma once

#include "exchange/RDX_INC.h"

#include <QString>

#include <functional>

class QAbstractButton;
class QComboBox;
class QLabel;
class QWidget;

// Unit label of a channel: the unit text of a linear input (type 10 and above),
// otherwise "ﾟF" or "ﾟC" by the unit shown.
QString UnitLabelText(const RDX_INC& d, int channel);
// Output button caption: "ON " only for ChOutputSwitch 1, "OFF" for any other value.
QString OutputButtonCaption(const RDX_INC& d, int channel);

// Lamp conditions of a channel's status word.
bool StatusHas(const RDX_INC& d, int channel, quint16 mask);
inline constexpr quint16 ScaleOutMask = StatusBit::OverScale | StatusBit::UnderScale;
// Every alarm a status word can carry: A1, A2, heater break, scale over/under, loop break.
inline constexpr quint16 AlarmMask = StatusBit::Alarm1 | StatusBit::Alarm2 | StatusBit::HeaterBreak |
                                     ScaleOutMask | StatusBit::LoopBreak;
// The channel is in alarm: the rule of every red lamp and alarm-red value box.
bool InAlarm(const RDX_INC& d, int channel);

// The channel's block is out of contact: what the tables hold for it is frozen.
bool OutOfContact(const RDX_INC& d, int channel);

// Second channel of a heating/cooling pair: it carries the pair's cooling output and has
// no row of its own on the block views.
bool IsCoolingSecond(const RDX_INC& d, int channel);

// Walks the channel pairs among `count` rows (an even number) from channel `first`. A
// pair is there or not as a whole, as its second channel says, and the second row of a
// heating/cooling pair is hidden: show() gets the second row's index (its partner is the
// row before it) with both answers.
void ForEachChannelPair(const RDX_INC& d, int first, int count,
                        const std::function<void(int second, bool present, bool secondHidden)>& show);

// Setters that leave an unchanged widget alone: the refresh runs after every exchange
// and most values do not change between two of them. Each takes a widget of a view.
void SetTextIfChanged(QLabel* label, const QString& text);
void SetTextIfChanged(QAbstractButton* button, const QString& text);
void SetEnabledIfChanged(QWidget* widget, bool enabled);
// Hidden or shown without disturbing a widget whose tab is not on screen.
void SetHiddenIfChanged(QWidget* widget, bool hidden);

// A value field: a whole frame, white, right-aligned text (a ValueLabel).
QLabel* NewValueLabel(QWidget* parent);
// A channel-name label that shortens a name too long for its place (an ElidedLabel).
QLabel* NewNameLabel(QWidget* parent);
// Height of one channel row on the block views: 20 rows and their headers fit a
// 1024x768 screen under the menus, tool bars and tabs.
inline constexpr int BlockRowHeight = 22;
// The control output button of a channel row ("ON " / "OFF").
class QPushButton;
QPushButton* NewOutputButton(QWidget* parent);
// A column heading over a grid column of a block view, centred over the column.
QLabel* NewColumnHeading(const QString& text, QWidget* parent);

// An item selector with the 31 entries of the display item list (display items 0..30).
QComboBox* NewItemSelector(QWidget* parent);
// A block selector; NameLists fills it with the 16 block names. Its tool tip is the
// chosen name whole: a long one is cut in the box.
QComboBox* NewBlockSelector(QWidget* parent);
// Gives widget, when its tool tip is asked for, the text `whole` returns at that moment.
void ShowWholeTextAsTip(QWidget* widget, std::function<QString()> whole);
