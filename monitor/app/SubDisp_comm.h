// The port dialog, shown when the link probe failed; OK lets the engine try again.
#pragma once

#include "exchange/RDX_INC.h"

#include <QDialog>

class QComboBox;
class QPushButton;

class SubDisp_comm : public QDialog {
    Q_OBJECT
public:
    SubDisp_comm(RDX_INC& data, QWidget* parent = nullptr);

    QComboBox* Combo_Port = nullptr;
    QComboBox* Combo_Rate = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command3 = nullptr;

    // Fills both boxes from the stored "Port" and "Speed".
    void LoadFromStore();
    // Shows the dialog without waiting, with these values chosen.
    void ShowWith(const QString& port, const QString& speed);

    void Command1_Click();
    void Command3_Click();

private:
    RDX_INC& d;
};
