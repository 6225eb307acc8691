// Choices the gateway cannot publish with end it at once with EX_CONFIG (78), before it
// touches the line, so that systemd shows the unit failed; a long line name in kanji
// publishes like any other; every line it writes carries its time.
#include "GatewayFixture.h"

#include "ProgramRun.h"
#include "publish/BrokerMessages.h"

#include <QFile>
#include <QRegularExpression>
#include <vector>

namespace {

QString WriteFile(const QString& path, QFile::Permissions permissions) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write("secret\n");
    f.close();
    f.setPermissions(permissions);
    return path;
}

}  // namespace

TEST_F(GatewayFixture, EachUnusableChoiceEndsItAtOnceWithStatus78AndItsMessage) {
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner;
    const QString password = WriteFile(dir.filePath("pw"), owner);
    const QString openPassword = WriteFile(dir.filePath("pw-open"), owner | QFile::ReadOther);
    const QString url = QStringLiteral("mqtt://127.0.0.1:%1").arg(FreeLoopbackPort());
    const QString tlsUrl = QStringLiteral("mqtts://127.0.0.1:%1").arg(FreeLoopbackPort());
    struct Case {
        QStringList arguments;
        const char* message;
    };
    const std::vector<Case> cases{
        {{"--broker", "mqtt://127.0.0.1:99999", "--line", "a"}, BrokerUrlMessage},
        {{"--broker", "http://127.0.0.1", "--line", "a"}, BrokerUrlMessage},
        {{"--broker", url, "--line", "a/b"}, LineNameCharsMessage},
        {{"--broker", url, "--line", QString(65, u'x')}, LineNameTooLongMessage},
        {{"--broker", tlsUrl, "--line", "a", "--ca-file", dir.filePath("none.pem")}, CaFileMessage},
        {{"--broker", url, "--line", "a", "--user", "u", "--password-file", dir.filePath("none")},
         PasswordFileMissingMessage},
        {{"--broker", url, "--line", "a", "--user", "u", "--password-file", openPassword}, PasswordFileModeMessage},
        {{"--broker", url, "--line", "a", "--password-file", password}, PasswordWithoutUserMessage},
        {{"--broker", tlsUrl, "--line", "a", "--cert-file", password}, ClientCertPairMessage},
        {{"--broker", tlsUrl, "--line", "a", "--key-file", password}, ClientCertPairMessage},
        {{"--broker", tlsUrl, "--line", "a", "--cert-file", dir.filePath("none.crt"), "--key-file", password},
         ClientCertFileMessage},
    };
    // A line that answers: a gateway that went on would poll it.
    StartLine(QStringLiteral("0"));
    static const QRegularExpression timed(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}(Z|[+-]\\d\\d:\\d\\d) \\S"));
    for (const Case& c : cases) {
        const QString args = c.arguments.join(u' ');
        GatewayRun run(dir.filePath("gw-" + QString::number(&c - cases.data())));
        ASSERT_TRUE(run.Start(QStringList{"--port", LinkPath()} + c.arguments)) << args.toStdString();
        ASSERT_TRUE(run.WaitForEnd(10000)) << args.toStdString();
        EXPECT_EQ(run.ExitCode(), 78) << args.toStdString() << run.Output().toStdString();
        EXPECT_EQ(run.Count(QString::fromUtf8(c.message)), 1) << args.toStdString();
        EXPECT_TRUE(run.HistoryFiles().isEmpty()) << args.toStdString();
        const QStringList lines = run.Output().split(u'\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(lines.isEmpty());
        for (const QString& l : lines) EXPECT_TRUE(timed.match(l).hasMatch()) << l.toStdString();
    }
    EXPECT_EQ(RequestCount(), 0u) << "no gateway touched the line";
}

TEST_F(GatewayFixture, AFortyKanjiLineNamePublishes) {
    const QString name = QString(40, QChar(0x7089));  // 炉 ×40: 120 bytes of UTF-8
    StartLine(QStringLiteral("0"));
    ASSERT_TRUE(broker.Start());
    const QByteArray topic = "rdx410/" + name.toUtf8() + "/";
    probe = std::make_unique<MqttProbe>(broker.Port());
    ASSERT_TRUE(probe->Connect(topic + '#'));
    ASSERT_TRUE(gateway.Start({"--port", LinkPath(), "--broker", broker.Url(), "--line", name}));
    EXPECT_TRUE(probe->WaitFor([&](auto&) { return !probe->On(topic + "block/01").empty(); }, 30000))
        << gateway.Output().toStdString();
    EXPECT_EQ(probe->Last(topic + "status"), "online");
    EXPECT_EQ(gateway.Count(QString::fromUtf8(BrokerConnectedMessage)), 1) << gateway.Output().toStdString();
    EXPECT_TRUE(gateway.Terminate());
}
