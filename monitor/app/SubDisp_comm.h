// The port dialog, shown when the link probe failed; OK lets the engine try again.
#pragma once

#include "exchange/RDX_INC.h"

#include "app/PortDevice.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

class SubDisp_comm : public QDialog {
    Q_OBJECT
public:
    SubDisp_comm(RDX_INC& data, QWidget* parent = nullptr);

    QComboBox* Combo_Port = nullptr;
    QComboBox* Combo_Rate = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command3 = nullptr;
    // The device the chosen port maps to (editable; lists the serial ports the system
    // reports), stored as "PortDevice1"/"PortDevice2" and handed to the link.
    QComboBox* Combo_Device = nullptr;
    // Why the link's last attempt failed, or why the device chosen cannot be opened.
    QLabel* Label_msg = nullptr;
    // Read-write access check of a device (errno or 0); tests replace it.
    DeviceAccessFn DeviceAccess = DeviceAccessErrno;

    // Fills both boxes from the stored "Port" and "Speed".
    void LoadFromStore();
    // Shows the dialog without waiting, with these values chosen and why the port failed
    // (kind None: it opened, but block 0 did not answer).
    void ShowWith(const QString& port, const QString& speed, const OpenFailureInfo& failure = {});

    // The device stored for the chosen port goes into Combo_Device.
    void Combo_Port_Click();
    // Label_msg from the device in Combo_Device; true when the operator cannot open it.
    bool ShowDeviceProblem();
    void Command1_Click();
    void Command3_Click();

    // Escape and the close box leave the dialog up: without it nothing would ever try the
    // line again, and the program would run on with no window. OK or "強制終了" decides.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void SayHowToLeave();

    RDX_INC& d;
};
