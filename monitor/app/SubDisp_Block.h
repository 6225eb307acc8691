// The block name dialog: one name per MGU-500 device number 0..F.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

class NameLists;
class QLineEdit;
class QPushButton;

class SubDisp_Block : public QDialog {
    Q_OBJECT
public:
    explicit SubDisp_Block(NameLists& lists, QWidget* parent = nullptr);

    std::array<QLineEdit*, 16> DvtoN{};
    QPushButton* DvOK = nullptr;
    QPushButton* DvCan = nullptr;

    // DvtoN(0..15) from the stored names (start-up load, and each opening).
    void LoadNames();
    // mnuDevno_Click: the stored names, shown without waiting.
    void Open();
    // Stores all 16 names (an emptied field stores an empty name), then namesSaved,
    // RefreshNameLists(0), close. A name with characters the files cannot hold is
    // refused with a message; nothing is stored then.
    void DvOK_Click();
    // The refusal's OK-only box; replaced by tests.
    std::function<void(const QString&)> ShowMessage;
    // Stores nothing; RefreshNameLists(0), close.
    void DvCan_Click();

    // Escape and the window's close button count as Cancel.
    void reject() override;

signals:
    // OK stored the names; the four-block view captions its frames from the store.
    void namesSaved();

private:
    NameLists& lists_;
};
