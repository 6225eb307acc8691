// RefreshNameLists: copies the stored block and channel names into every list and label
// of the program that shows them.
//
// The lists belong to many forms, some of which are built later than this object. A form
// either registers its lists here (AddBlockList, AddChannelList, AddRowLabels) or connects
// to the two signals and refills its own captions:
//   blockNamesChanged   - modes 0 and 2: the log_Check1 captions of the logging tab,
//                         Block_Option1 of the block save/load dialog;
//   channelNamesChanged - modes 1 and 2: the chart's pen labels (RefreshPenLabels).
// Lists such as Factory_Bname, SaveLoad_CHname or Chart_CHName(0..3) can simply be
// registered without a click handler.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;

// Registered name of block 0..15 ("DvtoN01".., default "Block01"..) and of channel
// 0..319 ("Chname001".., default "Ch001"..); empty for an index out of range.
QString BlockName(int block);
QString ChannelName(int channel);
// All 16 block names and all 320 channel names, in order.
QStringList BlockNames();
QStringList ChannelNames();

// Empty when the alarm history and the log files can hold the name; otherwise the message
// that refuses it: control characters (CR, LF, TAB, ...) would break or blank a record and
// are named; characters without a code in code page 932 would be replaced and are shown.
QString UnwritableNameMessage(const QString& name);

// Sets a selector's list index without its change signal, so that the caller can run the
// selector's click handler exactly once itself.
void SetListIndexQuietly(QComboBox* list, int index);

class NameLists : public QObject {
    Q_OBJECT
public:
    enum Mode { BlockNamesChanged = 0, ChannelNamesChanged = 1, StartUp = 2 };

    explicit NameLists(QObject* parent = nullptr);

    // A list of the 16 block names (modes 0 and 2). With a click handler, the list is a
    // selector: its index is put back after the refill and the handler runs, so the view
    // redraws. Without, the refilled list starts at its first entry.
    void AddBlockList(QComboBox* list, std::function<void()> clicked = {});
    // A list of the 320 channel names (modes 1 and 2), same rules.
    void AddChannelList(QComboBox* list, std::function<void()> clicked = {});
    // Row labels naming the channels 20·b + i of the block b chosen in blockSelector
    // (list index, no selection counting as block 0); refreshed in every mode.
    void AddRowLabels(QComboBox* blockSelector, std::vector<QLabel*> labels);

    // mode 0 after block names changed, 1 after channel names changed, 2 at start-up.
    void RefreshNameLists(int mode);

signals:
    void blockNamesChanged(const QStringList& names);
    void channelNamesChanged(const QStringList& names);

private:
    struct List {
        QPointer<QComboBox> box;
        std::function<void()> clicked;
        int remembered = -1;
    };
    struct RowLabels {
        QPointer<QComboBox> selector;
        std::vector<QPointer<QLabel>> labels;
    };
    static void Refill(std::vector<List>& lists, const QStringList& names);
    static void Remember(std::vector<List>& lists);
    static void PutBack(std::vector<List>& lists);
    void RefreshRowLabels();

    std::vector<List> blockLists_;
    std::vector<List> channelLists_;
    std::vector<RowLabels> rowLabels_;
};
