#include "display/NameLists.h"

#include "services/SettingsStore.h"
#include "format/ValueFormat.h"
#include "exchange/RDX_INC.h"
#include "services/Cp932File.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

QString BlockName(int block) {
    if (block < 0 || block >= BlockCount) return QString();
    const QString suffix = BlockSuffix(block);
    return GetSetting(QStringLiteral("DvtoN") + suffix, QStringLiteral("Block") + suffix);
}

QString ChannelName(int channel) {
    if (channel < 0 || channel >= ChannelCount) return QString();
    const QString suffix = ChannelSuffix(channel);
    return GetSetting(QStringLiteral("Chname") + suffix, QStringLiteral("Ch") + suffix);
}

QStringList BlockNames() {
    QStringList names;
    names.reserve(BlockCount);
    for (int b = 0; b < BlockCount; ++b) names << BlockName(b);
    return names;
}

QStringList ChannelNames() {
    QStringList names;
    names.reserve(ChannelCount);
    for (int c = 0; c < ChannelCount; ++c) names << ChannelName(c);
    return names;
}

namespace {

// How the operator knows a character that shows as nothing or as a blank in the field.
QString ControlCharacterName(QChar c) {
    if (c == u'\r') return QStringLiteral("改行(CR)");
    if (c == u'\n') return QStringLiteral("改行(LF)");
    if (c == u'\t') return QStringLiteral("ﾀﾌﾞ");
    const QString code = QStringLiteral("%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("制御文字(%1h)").arg(code);
}

}  // namespace

QString UnwritableNameMessage(const QString& name) {
    // Control characters are invisible in the field, so they are told by name.
    const QString controls = ControlCharactersIn(name);
    if (!controls.isEmpty()) {
        QString names;
        for (const QChar c : controls) names += QStringLiteral("「%1」").arg(ControlCharacterName(c));
        return QStringLiteral("%1はファイルに記録できない文字です。消してください。").arg(names);
    }
    const QString missing = CharactersWithoutCp932(name);
    if (missing.isEmpty()) return {};
    return QStringLiteral("「%1」はファイルに記録できない文字です。ほかの文字に変えてください。").arg(missing);
}

void SetListIndexQuietly(QComboBox* list, int index) {
    if (!list) return;
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(index);
}

NameLists::NameLists(QObject* parent) : QObject(parent) {}

void NameLists::AddBlockList(QComboBox* list, std::function<void()> clicked) {
    if (list) blockLists_.push_back({list, std::move(clicked), -1});
}

void NameLists::AddChannelList(QComboBox* list, std::function<void()> clicked) {
    if (list) channelLists_.push_back({list, std::move(clicked), -1});
}

void NameLists::AddRowLabels(QComboBox* blockSelector, std::vector<QLabel*> labels) {
    RowLabels rows{blockSelector, {}};
    for (QLabel* l : labels) rows.labels.emplace_back(l);
    rowLabels_.push_back(std::move(rows));
}

void NameLists::Remember(std::vector<List>& lists) {
    for (List& l : lists) l.remembered = l.box ? l.box->currentIndex() : -1;
}

void NameLists::Refill(std::vector<List>& lists, const QStringList& names) {
    for (List& l : lists) {
        if (!l.box) continue;
        // Quiet: an emptied list must not run a handler that would store "-1".
        const QSignalBlocker quiet(l.box);
        l.box->clear();
        l.box->addItems(names);
    }
}

void NameLists::PutBack(std::vector<List>& lists) {
    for (List& l : lists) {
        if (!l.box || !l.clicked) continue;
        // A selector that had no entry before (the first fill) has nothing to put back;
        // the start-up load chooses its stored entry afterwards.
        if (l.remembered < 0 || l.remembered >= l.box->count()) continue;
        SetListIndexQuietly(l.box, l.remembered);
        l.clicked();
    }
}

void NameLists::RefreshRowLabels() {
    for (const RowLabels& rows : rowLabels_) {
        const int block = rows.selector ? ListIndexOrZero(rows.selector->currentIndex()) : 0;
        for (size_t i = 0; i < rows.labels.size(); ++i) {
            QLabel* label = rows.labels[i];
            if (!label) continue;
            const QString name = ChannelName(block * ChannelsPerBlock + int(i));
            if (label->text() != name) label->setText(name);
        }
    }
}

void NameLists::RefreshNameLists(int mode) {
    const bool blocks = mode == BlockNamesChanged || mode == StartUp;
    const bool channels = mode == ChannelNamesChanged || mode == StartUp;
    if (blocks) Remember(blockLists_);
    if (channels) Remember(channelLists_);

    QStringList blockNames, channelNames;
    if (blocks) {
        blockNames = BlockNames();
        Refill(blockLists_, blockNames);
        emit blockNamesChanged(blockNames);
    }
    if (channels) {
        channelNames = ChannelNames();
        Refill(channelLists_, channelNames);
    }

    if (blocks) PutBack(blockLists_);
    if (channels) {
        PutBack(channelLists_);
        emit channelNamesChanged(channelNames);
    }
    RefreshRowLabels();
}
