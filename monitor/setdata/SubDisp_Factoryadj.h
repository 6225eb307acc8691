// The factory-initialisation dialog "ﾃﾞｰﾀ初期化(工場出荷初期値)": one block and any of its
// ten controller units; after a confirmation the exchange sends the reset (state 7).
#pragma once

#include "editing/Prompts.h"
#include "exchange/RDX_INC.h"
#include "setdata/FactoryMask.h"

#include <QDialog>
#include <array>
#include <functional>

class NameLists;
class PollEngine;
class QCheckBox;
class QComboBox;
class QPushButton;

class SubDisp_Factoryadj : public QDialog {
    Q_OBJECT
public:
    // engine() gives the exchange that sends the command (nullptr while there is none).
    SubDisp_Factoryadj(RDX_INC& data, NameLists& names, std::function<PollEngine*()> engine,
                       QWidget* parent = nullptr);

    // mnuFactory: block names refilled, the first block chosen, no unit ticked, shown.
    void Open();
    // No unit selected, every box clear.
    void Form_Activate();
    void Check1_Click(int unit);
    void Command1_Click(int index);  // 0 "工場出荷初期値ﾃﾞｰﾀｾｯﾄ", 1 "Return"

    const FactoryMask& mask() const { return FactoryMask_; }

    QComboBox* Factory_Bname = nullptr;
    std::array<QCheckBox*, FactoryMask::UnitCount> Check1{};
    std::array<QPushButton*, 2> Command1{};

    Prompts prompts = Prompts::Standard();

private:
    RDX_INC& d;
    NameLists& names_;
    std::function<PollEngine*()> engine_;
    FactoryMask FactoryMask_;
};
