// --save-settings and --compare-settings against a simulated line of 16 blocks (no block
// left to time out; block 1 with mixed inputs, block 2 with cooling): what is saved
// compares equal, front-panel changes are listed exactly with the views' texts, and
// nothing is ever written to the line.
#include "SimLine.h"

#include "gateway/SettingsCommand.h"
#include "setdata/RecordFile.h"
#include "setdata/SetDataFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SettingsCommand : public ::testing::Test {
protected:
    void SetUp() override {
        SimLineOptions options;
        options.blocks = QStringLiteral("0,1:mix,2:hc,3,4,5,6,7,8,9,10,11,12,13,14,15");
        line = std::make_unique<SimLine>(options);
        ASSERT_TRUE(line->ok()) << line->error().toStdString();
    }

    int Run(SettingsCommandKind kind, const QString& path) {
        printed.clear();
        told.clear();
        SettingsCommandIo io;
        io.Print = [this](const QString& text) { printed << text; };
        io.Tell = [this](const QString& text) { told << text; };
        return RunSettingsCommand(kind, path, line->link(), QStringLiteral("COM1"), QStringLiteral("9600"), io);
    }
    int Writes() const {
        int writes = 0;
        for (const Exchanged& x : line->link().log) writes += x.cmd == u"R" ? 1 : 0;
        return writes;
    }
    QString Told() const { return told.join(u'\n'); }
    QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    std::unique_ptr<SimLine> line;
    QTemporaryDir dir;
    QStringList printed, told;
};

TEST_F(SettingsCommand, SavedLineComparesEqualAndTwoPanelChangesAreListedWithTheViewsTexts) {
    const QString saved = File("line.dat");
    ASSERT_EQ(Run(SettingsCommandKind::Save, saved), SettingsEqual) << Told().toStdString();
    // The monitor's all-channel format: it reads back as 320 records.
    const RecordFileRead read = ReadRecordFile(saved, RecordFileKind::AllChannels);
    ASSERT_TRUE(read.outcome.ok());
    const qint16 sv = line->Locked([](rdxsim::LineModel& m) { return m.Param(3, rdxsim::SV); });
    EXPECT_EQ(read.records[3].Fields[0], sv);  // Ch004's SV as the line holds it

    EXPECT_EQ(Run(SettingsCommandKind::Compare, saved), SettingsEqual) << Told().toStdString();
    EXPECT_TRUE(printed.isEmpty());
    EXPECT_TRUE(Told().contains(QStringLiteral("ﾌｧｲﾙと同じ"))) << Told().toStdString();

    line->Locked([](rdxsim::LineModel& m) {
        m.ChangeAtPanel(3, rdxsim::SV, 215);           // block 0, K thermocouple, whole degrees
        m.ChangeAtPanel(44, rdxsim::CoolMode, 2);      // block 2, heating/cooling
    });
    EXPECT_EQ(Run(SettingsCommandKind::Compare, saved), SettingsDiffer) << Told().toStdString();
    EXPECT_EQ(printed, (QStringList{QStringLiteral("Ch004\t主設定値(SV)\t%1ﾟC\t215ﾟC").arg(sv),
                                    QStringLiteral("Ch045\t冷却動作モード選択\t空冷\t水冷")}));
    EXPECT_EQ(Writes(), 0);
}

TEST_F(SettingsCommand, AFileThatIsMissingOrNotAnAllChannelFileIsRefusedBeforeTheLine) {
    EXPECT_EQ(Run(SettingsCommandKind::Compare, File("none.dat")), SettingsNotCompared);
    EXPECT_TRUE(Told().contains(QStringLiteral("がありません"))) << Told().toStdString();

    QFile small(File("channel.dat"));
    ASSERT_TRUE(small.open(QIODevice::WriteOnly));
    small.write("V202data\r\n\"200\"\r\n");
    small.close();
    EXPECT_EQ(Run(SettingsCommandKind::Compare, small.fileName()), SettingsNotCompared);
    EXPECT_TRUE(Told().contains(QStringLiteral("全ﾁｬﾝﾈﾙ一括の設定ﾃﾞｰﾀﾌｧｲﾙではありません"))) << Told().toStdString();

    QFile garbled(File("garbled.dat"));
    ASSERT_TRUE(garbled.open(QIODevice::WriteOnly));
    garbled.write("V202data\r\n" + QByteArray(30000, 'x'));
    garbled.close();
    EXPECT_EQ(Run(SettingsCommandKind::Compare, garbled.fileName()), SettingsNotCompared);
    EXPECT_TRUE(Told().contains(QStringLiteral("数値でない値"))) << Told().toStdString();
    EXPECT_TRUE(line->link().log.empty());
}

TEST_F(SettingsCommand, ABlockOfTheFileThatDoesNotAnswerCannotBeCompared) {
    const QString saved = File("line.dat");
    ASSERT_EQ(Run(SettingsCommandKind::Save, saved), SettingsEqual) << Told().toStdString();
    line->Locked([](rdxsim::LineModel& m) {
        m.SetBlockSilent(4, true);
        m.ChangeAtPanel(3, rdxsim::SV, 215);
    });
    EXPECT_EQ(Run(SettingsCommandKind::Compare, saved), SettingsNotCompared);
    EXPECT_TRUE(Told().contains(QStringLiteral("ﾌﾞﾛｯｸ 05 が応答しません"))) << Told().toStdString();
    // What could be compared is still listed.
    EXPECT_EQ(printed.size(), 1);
    EXPECT_EQ(Writes(), 0);
}

}  // namespace
