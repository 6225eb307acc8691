// The channel name dialog: the names of the 20 channels of one block at a time.
#pragma once

#include <QDialog>
#include <QString>
#include <array>

class NameLists;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The hint asks for names of at most 12 half-width characters: 12 bytes in the files'
// code page 932, so a full-width character counts twice. The fields refuse more.
inline constexpr int ChannelNameMaxLength = 12;
// A name longer than that (one stored before, or set by a program), or empty when it fits.
QString OverlongNameMessage(const QString& name);

class SubDisp_Chname : public QDialog {
    Q_OBJECT
public:
    explicit SubDisp_Chname(NameLists& lists, QWidget* parent = nullptr);

    QComboBox* Block_Name = nullptr;
    std::array<QLineEdit*, 20> ChName{};
    QLabel* Label_hint = nullptr;
    // Where "ﾁｬﾝﾈﾙ名を登録します。" is shown: a line of the dialog, not a box that
    // would take the focus from the block list.
    QLabel* Label_msg = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

    // mnuCHname_Click: the 16 block names, block 0 chosen and its channel names.
    void Open();
    // ChName(0..19) := stored names of the chosen block's channels.
    void Block_Name_Click();
    // Stores the 20 fields under the channels of the chosen block.
    void Block_Name_GotFocus();
    // Stores the fields, then namesSaved, RefreshNameLists(1), close. A name with
    // characters the files cannot hold is refused in Label_msg; nothing is stored then.
    void Command1_Click();
    // RefreshNameLists(1), close; names stored on focus stay stored.
    void Command2_Click();
    // Escape and the window's close button count as Cancel.
    void reject() override;

signals:
    // OK stored the names; the four-block view relabels its channels from the store.
    void namesSaved();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // False (with the refusal in Label_msg) when a field holds characters the files cannot.
    bool SaveShownNames();
    void FocusRefusedField();
    void LoadNames(int block);

    NameLists& lists_;
    int shownBlock_ = 0;  // block whose names the fields hold
    QLineEdit* refusedField_ = nullptr;  // the field of the last refused save
};
