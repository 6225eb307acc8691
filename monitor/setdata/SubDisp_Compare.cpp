#include "setdata/SubDisp_Compare.h"

#include "display/NameLists.h"
#include "display/Shell.h"
#include "exchange/RDX_INC.h"
#include "exchange/WriteRequests.h"
#include "format/ValueFormat.h"
#include "services/Cp932File.h"
#include "setdata/BulkWriteRequest.h"
#include "setdata/ChannelFile.h"
#include "setdata/RecordFile.h"
#include "setdata/SetDataMessages.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcCompare, "rdx.setdata.compare", QtWarningMsg)

namespace {

QString ChooseCsv(QWidget* parent) {
    const QString path = QFileDialog::getSaveFileName(parent, QString(), SetDataFolder(),
                                                      QStringLiteral("*.csv(CSV file) (*.csv)"));
    RestoreProgramFolder();
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + QStringLiteral(".csv");
}

QString BlockNumbers(const std::vector<int>& blocks) {
    QStringList names;
    for (int b : blocks) names << BlockName(b);
    return names.join(QStringLiteral("、"));
}

}  // namespace

struct SubDisp_Compare::FileContents {
    int sizeClass = ChannelFileClass;
    ChannelTexts texts;
    std::vector<SetDataRecord> records;
};

SubDisp_Compare::SubDisp_Compare(RDX_INC& inc, Shell& shell, QWidget* parent)
    : QDialog(parent), Prompts(StandardSetDataPrompts()), ChooseListFile(ChooseCsv), d(inc), shell_(shell),
      lists_(shell.nameLists()) {
    setWindowTitle(QStringLiteral("設定ﾃﾞｰﾀ照合"));
    setModal(false);
    FileLabel = new QLabel(QStringLiteral("ﾌｧｲﾙを選んでください。"), this);
    ChooseButton = new QPushButton(QStringLiteral("ﾌｧｲﾙ選択..."), this);
    BlockList = new QComboBox(this);
    BlockList->addItems(BlockNames());
    lists_.AddBlockList(BlockList);
    ChannelList = new QComboBox(this);
    ChannelList->addItems(ChannelNames());
    ChannelList->setMinimumWidth(200);
    lists_.AddChannelList(ChannelList);
    CompareButton = new QPushButton(QStringLiteral("照合"), this);
    List = new QTableWidget(0, 5, this);
    List->setHorizontalHeaderLabels({QStringLiteral("ﾁｬﾝﾈﾙ"), QStringLiteral("名前"), QStringLiteral("設定項目"),
                                     QStringLiteral("ﾌｧｲﾙの値"), QStringLiteral("ﾗｲﾝの値")});
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List->setSelectionBehavior(QAbstractItemView::SelectRows);
    List->verticalHeader()->hide();
    List->horizontalHeader()->setStretchLastSection(true);
    List->setMinimumSize(640, 260);
    ResultLabel = new QLabel(this);
    ResultLabel->setWordWrap(true);
    SaveListButton = new QPushButton(QStringLiteral("一覧を保存..."), this);
    WriteButton = new QPushButton(QStringLiteral("相違をﾗｲﾝに書込み"), this);
    ReturnButton = new QPushButton(QStringLiteral("Return"), this);

    auto* top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("ﾌｧｲﾙ:"), this), 0, 0);
    top->addWidget(FileLabel, 0, 1, 1, 3);
    top->addWidget(ChooseButton, 0, 4);
    top->addWidget(new QLabel(QStringLiteral("ﾌﾞﾛｯｸ単位のﾌｧｲﾙ:"), this), 1, 0);
    top->addWidget(BlockList, 1, 1);
    top->addWidget(new QLabel(QStringLiteral("ﾁｬﾝﾈﾙ単位のﾌｧｲﾙ:"), this), 1, 2);
    top->addWidget(ChannelList, 1, 3);
    top->addWidget(CompareButton, 1, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SaveListButton);
    buttons->addWidget(WriteButton);
    buttons->addStretch();
    buttons->addWidget(ReturnButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(List);
    layout->addWidget(ResultLabel);
    layout->addLayout(buttons);

    connect(ChooseButton, &QPushButton::clicked, this, &SubDisp_Compare::ChooseFile);
    connect(CompareButton, &QPushButton::clicked, this, &SubDisp_Compare::Compare);
    connect(SaveListButton, &QPushButton::clicked, this, &SubDisp_Compare::SaveList);
    connect(WriteButton, &QPushButton::clicked, this, &SubDisp_Compare::WriteDifferences);
    connect(ReturnButton, &QPushButton::clicked, this, &QDialog::hide);
    ShowComparison();
}

SubDisp_Compare::~SubDisp_Compare() = default;

void SubDisp_Compare::Open() {
    show();
    raise();
    activateWindow();
}

bool SubDisp_Compare::ReadChosenFile(const QString& path) {
    auto contents = std::make_unique<FileContents>();
    contents->sizeClass = SetDataSizeClass(QFileInfo(path).size());
    SetDataOutcome outcome;
    if (contents->sizeClass == ChannelFileClass) {
        ChannelFileRead read = ReadChannelFile(path);
        outcome = read.outcome;
        contents->texts = read.texts;
    } else {
        const RecordFileKind kind =
            contents->sizeClass == BlockFileClass ? RecordFileKind::Block : RecordFileKind::AllChannels;
        RecordFileRead read = ReadRecordFile(path, kind);
        outcome = read.outcome;
        contents->records = std::move(read.records);
    }
    if (!outcome.ok()) {
        Prompts.Tell(this, SetDataOutcomeMessage(outcome));
        return false;
    }
    file_ = std::move(contents);
    FileLabel->setText(QFileInfo(path).fileName() +
                       (file_->sizeClass == ChannelFileClass ? QStringLiteral("（ﾁｬﾝﾈﾙ単位）")
                        : file_->sizeClass == BlockFileClass ? QStringLiteral("（ﾌﾞﾛｯｸ単位）")
                                                             : QStringLiteral("（全ﾁｬﾝﾈﾙ一括）")));
    return true;
}

void SubDisp_Compare::ChooseFile() {
    const QString path = ChooseLoadSource(Prompts, this);
    if (path.isEmpty()) return;
    if (ReadChosenFile(path)) Compare();
}

void SubDisp_Compare::Compare() {
    if (!file_) {
        ResultLabel->setText(QStringLiteral("ﾌｧｲﾙを選んでください。"));
        return;
    }
    FileSettings file = [&] {
        if (file_->sizeClass == ChannelFileClass)
            return FileSettingsOfChannel(d, ListIndexOrZero(ChannelList->currentIndex(), ChannelCount), file_->texts);
        const int first = file_->sizeClass == BlockFileClass
                              ? ListIndexOrZero(BlockList->currentIndex(), BlockCount) * ChannelsPerBlock
                              : 0;
        return FileSettingsOfRecords(d, first, file_->records);
    }();
    std::array<bool, BlockCount> answered = BlocksInContact(d);
    // With the port gone every table is frozen.
    if (shell_.PortLost()) answered.fill(false);
    comparison_ = CompareWithLine(d, file, answered);
    ShowComparison();
}

void SubDisp_Compare::ShowComparison() {
    const std::vector<SettingDifference>& list = comparison_.differences;
    List->setRowCount(int(list.size()));
    for (int row = 0; row < int(list.size()); ++row) {
        const SettingDifference& x = list[row];
        const QStringList cells{ChannelNumberText(x.channel), ChannelName(x.channel), SettingNameText(x.displayItem),
                                x.fileText, x.lineText};
        for (int col = 0; col < cells.size(); ++col) List->setItem(row, col, new QTableWidgetItem(cells[col]));
    }
    List->resizeColumnsToContents();
    QStringList result;
    if (!file_) {
        result << QStringLiteral("照合するﾌｧｲﾙを選んでください。ﾗｲﾝの値は監視中の最新値です。");
    } else if (comparison_.Complete() && list.empty()) {
        result << QStringLiteral("相違はありません。ﾗｲﾝの設定値はﾌｧｲﾙと同じです（%1 ﾁｬﾝﾈﾙ）。")
                      .arg(comparison_.channelsCompared);
    } else if (!list.empty()) {
        result << QStringLiteral("ﾌｧｲﾙと違う設定値が %1 件あります。").arg(list.size());
    }
    if (!comparison_.silentBlocks.empty())
        result << QStringLiteral("%1 が応答していないため照合できません。通信を確認してください。")
                      .arg(BlockNumbers(comparison_.silentBlocks));
    if (!comparison_.missingChannels.empty())
        result << QStringLiteral("ﾌｧｲﾙのﾁｬﾝﾈﾙ %1 件はﾗｲﾝにありません。").arg(comparison_.missingChannels.size());
    ResultLabel->setText(result.join(u'\n'));
    SaveListButton->setEnabled(!list.empty());
    WriteButton->setEnabled(!list.empty());
}

void SubDisp_Compare::SaveList() {
    const QString path = ChooseListFile ? ChooseListFile(this) : QString();
    if (path.isEmpty()) return;
    const FileWriteResult written = WriteNewFile(path, DifferenceListCsv(comparison_.differences, ChannelNames()));
    if (written == FileWriteResult::Ok) return;
    qCWarning(lcCompare) << "the difference list could not be written to" << path << int(written);
    Prompts.Tell(this, SetDataOutcomeMessage({SetDataStatus::WriteFailed}));
}

void SubDisp_Compare::WriteDifferences() {
    if (comparison_.differences.empty()) return;
    if (LoadRefused(shell_, Prompts, this)) return;
    if (AnyAutoTuning(d, 0, ChannelCount)) {
        Prompts.Tell(this, QString::fromUtf8(SetDataMsg::AutoTuningLoad));
        return;
    }
    const QString question = QStringLiteral("ﾌｧｲﾙと違う設定値 %1 件をﾗｲﾝに書き込みます。よろしいですか？")
                                 .arg(comparison_.differences.size());
    if (!Prompts.Ask(this, question, AskIcon::Warning)) return;
    for (const auto& [channel, item] : PutFileValues(d, comparison_.differences))
        shell_.writeRequests().RequestSettingWrite(channel, item);
    comparison_.differences.clear();
    ShowComparison();
    ResultLabel->setText(QStringLiteral("書込みを依頼しました。書込みが終わったら、もう一度照合して確かめてください。"));
}
