// The normal suite's share of the fuzzing: every committed seed and every input a fuzz
// run ever found (fuzz/regressions/<target>/) goes through its harness again, built with
// the ordinary compiler; any check that fails is reported with the file's name.
#include "FuzzHarness.h"

#include "services/SettingsStore.h"
#include "setdata/ChannelFile.h"
#include "setdata/RecordFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using Harness = std::string (*)(const std::uint8_t*, std::size_t);

// Returns how many files were replayed.
int ReplayFolder(const QString& target, Harness harness) {
    int count = 0;
    for (const char* kind : {"corpus", "regressions"}) {
        const QDir dir(QStringLiteral(RDX_FUZZ_DIR "/") + QString::fromLatin1(kind) + u'/' + target);
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
            QFile f(dir.filePath(name));
            if (!f.open(QIODevice::ReadOnly)) {
                ADD_FAILURE() << "cannot read " << qPrintable(f.fileName());
                continue;
            }
            const QByteArray bytes = f.readAll();
            const std::string error =
                harness(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
            EXPECT_EQ(error, "") << qPrintable(f.fileName());
            ++count;
        }
    }
    return count;
}

TEST(FuzzReplay, RepliesAndByteStreams) { EXPECT_GT(ReplayFolder("reply", FuzzReplyStream), 0); }

TEST(FuzzReplay, SetDataFiles) { EXPECT_GT(ReplayFolder("setdata", FuzzSetDataFile), 0); }

TEST(FuzzReplay, SettingsFiles) { EXPECT_GT(ReplayFolder("settings", FuzzSettingsFile), 0); }

// The seeds are worth their place only when the reader takes them whole.
TEST(FuzzReplay, SetDataSeedsAreFilesTheReaderAccepts) {
    const QDir dir(QStringLiteral(RDX_FUZZ_DIR "/corpus/setdata"));
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_GE(names.size(), 6);
    for (const QString& name : names) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        const bool accepted = DecodeChannelFile(bytes).outcome.ok() ||
                              DecodeRecordFile(RecordFileKind::Block, bytes).outcome.ok() ||
                              DecodeRecordFile(RecordFileKind::AllChannels, bytes).outcome.ok();
        EXPECT_TRUE(accepted) << qPrintable(name);
    }
}

// Two inputs of the same length one after the other: the store must read each of them,
// or the fuzzer would be testing an older input than the one it records.
TEST(FuzzReplay, SettingsHarnessFeedsEveryInputToTheStore) {
    const QByteArray first = "[RDX-410%20Monitor]\nPort=COM2\nSpeed=19200\n";
    QByteArray second = first;
    second.replace("COM2", "COM1").replace("19200", "9600 ");
    ASSERT_EQ(first.size(), second.size());
    auto feed = [](const QByteArray& b) {
        return FuzzSettingsFile(reinterpret_cast<const std::uint8_t*>(b.constData()), std::size_t(b.size()));
    };
    EXPECT_EQ(feed(first), "");
    EXPECT_EQ(GetSetting("Port", "?"), "COM2");
    EXPECT_EQ(GetSetting("Speed", "?"), "19200");
    EXPECT_EQ(feed(second), "");
    EXPECT_EQ(GetSetting("Port", "?"), "COM1");
    // "9600 " is not a speed: the start-up read stored the default in its place.
    EXPECT_EQ(GetSetting("Speed", "?"), "9600");
}

}  // namespace

int main(int argc, char** argv) {
    // The harnesses point the settings store at a folder of their own before it is used.
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
