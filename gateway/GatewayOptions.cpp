#include "gateway/GatewayOptions.h"

#include <QCommandLineParser>

namespace {

QCommandLineOption Valued(const char* name) {
    return QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value"));
}

// An integer option within [low, high]; false when it is not one.
bool IntIn(const QString& text, int low, int high, int* value) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high) return false;
    *value = v;
    return true;
}

QString ModbusChoices(const QCommandLineParser& p, ModbusOptions& m) {
    const auto set = [&p](const char* name) { return p.isSet(QString::fromLatin1(name)); };
    const auto value = [&p](const char* name) { return p.value(QString::fromLatin1(name)); };
    if (set("modbus"))
        if (const QString problem = ParseModbusListen(value("modbus"), &m); !problem.isEmpty()) return problem;
    if (set("modbus-unit") && !IntIn(value("modbus-unit"), 1, 247, &m.unit))
        return QStringLiteral("--modbus-unit には 1 から 247 のﾕﾆｯﾄ番号を指定してください。");
    if (set("modbus-max-clients") && !IntIn(value("modbus-max-clients"), 1, 64, &m.maxClients))
        return QStringLiteral("--modbus-max-clients には 1 から 64 の数を指定してください。");
    m.writable = set("modbus-writable");
    if (set("modbus-allow"))
        if (const QString problem = ParseModbusAllow(value("modbus-allow"), &m); !problem.isEmpty()) return problem;
    const bool companion = set("modbus-unit") || set("modbus-writable") || set("modbus-allow") || set("modbus-max-clients");
    if (companion && !m.enabled)
        return QStringLiteral("Modbus のｵﾌﾟｼｮﾝには --modbus <ﾎﾟｰﾄ> も指定してください。");
    return {};
}

}  // namespace

QString ParseGatewayOptions(const QStringList& arguments, GatewayOptions* o) {
    QCommandLineParser p;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption noPublish(QStringLiteral("no-publish"));
    const QCommandLineOption port = Valued("port"), speed = Valued("speed"), broker = Valued("broker"),
                             line = Valued("line"), ca = Valued("ca-file"), user = Valued("user"),
                             password = Valued("password-file"), cert = Valued("cert-file"), key = Valued("key-file");
    const QCommandLineOption saveSettings = Valued("save-settings"), compareSettings = Valued("compare-settings");
    const QCommandLineOption modbus = Valued("modbus"), modbusUnit = Valued("modbus-unit"),
                             modbusAllow = Valued("modbus-allow"), modbusMaxClients = Valued("modbus-max-clients");
    const QCommandLineOption modbusWritable(QStringLiteral("modbus-writable"));
    p.addOptions({help, version, noPublish, port, speed, broker, line, ca, user, password, cert, key, saveSettings,
                  compareSettings, modbus, modbusUnit, modbusWritable, modbusAllow, modbusMaxClients});
    if (!p.parse(arguments)) {
        if (!p.unknownOptionNames().isEmpty())
            return QStringLiteral("不明なｵﾌﾟｼｮﾝです: %1%2 （--help で使い方を表示します）")
                .arg(p.unknownOptionNames().first().size() > 1 ? QStringLiteral("--") : QStringLiteral("-"),
                     p.unknownOptionNames().first());
        return QStringLiteral("ｵﾌﾟｼｮﾝの値がありません。--help で使い方を確認してください。");
    }
    if (!p.positionalArguments().isEmpty())
        return QStringLiteral("余分な引数です: %1 （--help で使い方を表示します）").arg(p.positionalArguments().first());
    GatewayOptions r;
    r.help = p.isSet(help);
    r.version = p.isSet(version);
    r.noPublish = p.isSet(noPublish);
    if (p.isSet(port)) {
        const QString v = p.value(port);
        if (v == u"COM1" || v == u"COM2") r.port = v;
        else if (v.startsWith(u'/')) r.port = QStringLiteral("COM1"), r.device = v;
        else return QStringLiteral("--port には COM1、COM2 またはﾃﾞﾊﾞｲｽ名（/dev/ttyUSB0 など）を指定してください。");
    }
    if (p.isSet(speed)) {
        r.speed = p.value(speed);
        if (r.speed != u"9600" && r.speed != u"19200")
            return QStringLiteral("--speed には 9600 または 19200 を指定してください。");
    }
    r.broker = p.value(broker);
    r.line = p.value(line);
    r.caFile = p.value(ca);
    r.certFile = p.value(cert);
    r.keyFile = p.value(key);
    r.user = p.value(user);
    r.passwordFile = p.value(password);
    r.saveSettings = p.value(saveSettings);
    r.compareSettings = p.value(compareSettings);
    if (p.isSet(saveSettings) && p.isSet(compareSettings))
        return QStringLiteral("--save-settings と --compare-settings は同時に指定できません。どちらか一つにしてください。");
    if ((p.isSet(saveSettings) && r.saveSettings.isEmpty()) || (p.isSet(compareSettings) && r.compareSettings.isEmpty()))
        return QStringLiteral("設定ﾃﾞｰﾀﾌｧｲﾙ名がありません。--help で使い方を確認してください。");
    if (const QString problem = ModbusChoices(p, r.modbus); !problem.isEmpty()) return problem;
    if (o) *o = r;
    return {};
}

QString GatewayHelpText() {
    return QStringLiteral(
        "使い方: rdx410-gateway [ｵﾌﾟｼｮﾝ]\n"
        "\n"
        "画面のないPCでRDX-410のﾗｲﾝを監視します。ﾓﾆﾀｿﾌﾄと同じ起動時の読込み、ﾎﾟｰﾘﾝｸﾞ、\n"
        "再読込み、ｱﾗｰﾑﾋｽﾄﾘとPVﾛｷﾞﾝｸﾞを行い、値とｲﾍﾞﾝﾄをMQTTﾌﾞﾛｰｶｰに公開します。\n"
        "設定はﾓﾆﾀｿﾌﾄと同じ設定ﾌｧｲﾙから読みます。ｵﾌﾟｼｮﾝは今回の実行だけに使い、保存しません。\n"
        "ﾌﾞﾛｰｶｰから受け取ったものでｺﾝﾄﾛｰﾗｰに書き込むことはありません。\n"
        "\n"
        "  -h, --help              この説明を表示します。\n"
        "  -v, --version           版数を表示します。\n"
        "  --port <ﾎﾟｰﾄ>           COM1、COM2 またはﾃﾞﾊﾞｲｽ名（/dev/ttyUSB0 など）。\n"
        "                          省略時は設定の Port です。\n"
        "  --speed <速度>          9600 または 19200。省略時は設定の Speed です。\n"
        "  --broker <ｱﾄﾞﾚｽ>        mqtt://ﾎｽﾄ:ﾎﾟｰﾄ または mqtts://ﾎｽﾄ:ﾎﾟｰﾄ（TLS）。\n"
        "                          環境変数 RDX410_MQTT_URL、設定の MqttBroker より優先します。\n"
        "                          どれもなければ mqtt://localhost:1883 です。\n"
        "  --line <ﾗｲﾝ名>          ﾄﾋﾟｯｸ rdx410/<ﾗｲﾝ名>/... に入る名前。省略時は設定の\n"
        "                          MqttLine、それもなければﾎｽﾄ名です。\n"
        "  --ca-file <ﾌｧｲﾙ>        mqtts:// でﾌﾞﾛｰｶｰの証明書を確認するCA証明書（PEM）。\n"
        "                          省略時はｼｽﾃﾑのCA証明書を使います。\n"
        "  --cert-file <ﾌｧｲﾙ>      ｸﾗｲｱﾝﾄ証明書を求めるﾌﾞﾛｰｶｰに示す証明書（PEM）。\n"
        "  --key-file <ﾌｧｲﾙ>       その秘密鍵（PEM）。--cert-file と両方指定してください。\n"
        "  --user <ﾕｰｻﾞｰ名>        ﾌﾞﾛｰｶｰにﾛｸﾞｲﾝするﾕｰｻﾞｰ名。\n"
        "  --password-file <ﾌｧｲﾙ>  ﾊﾟｽﾜｰﾄﾞを1行目に書いたﾌｧｲﾙ。所有者だけが読めるように\n"
        "                          してください（chmod 600）。ﾊﾟｽﾜｰﾄﾞはｺﾏﾝﾄﾞﾗｲﾝには書けません。\n"
        "  --no-publish            公開しません（ﾋｽﾄﾘとﾛｷﾞﾝｸﾞだけ行います）。\n"
        "  --save-settings <ﾌｧｲﾙ>  全ﾁｬﾝﾈﾙの設定値をﾗｲﾝから読み、全ﾁｬﾝﾈﾙ一括の設定ﾃﾞｰﾀﾌｧｲﾙに\n"
        "                          保存して終了します（0 保存した、2 保存できない）。\n"
        "  --compare-settings <ﾌｧｲﾙ>\n"
        "                          ﾗｲﾝの設定値をﾌｧｲﾙと照合し、相違を1行ずつ表示して終了します\n"
        "                          （0 同じ、1 相違あり、2 照合できない）。\n"
        "                          この2つはﾗｲﾝに書き込みません。ﾎﾟｰﾄを使っているｻｰﾋﾞｽは\n"
        "                          先に停止してください（systemctl stop rdx410-gateway）。\n"
        "  --modbus [ｱﾄﾞﾚｽ:]ﾎﾟｰﾄ   ﾗｲﾝの値を Modbus TCP ｻｰﾊﾞｰとして出します（502 など）。\n"
        "                          1024 未満のﾎﾟｰﾄには CAP_NET_BIND_SERVICE が要ります。\n"
        "  --modbus-unit <番号>    答えるﾕﾆｯﾄ番号（1～247）。省略時は 1 です。\n"
        "  --modbus-writable       ﾎｰﾙﾃﾞｨﾝｸﾞﾚｼﾞｽﾀからSVだけ書き込めるようにします。\n"
        "                          省略時は読み出し専用です。\n"
        "  --modbus-allow <ｱﾄﾞﾚｽ>  書き込みを許すｱﾄﾞﾚｽまたはﾈｯﾄﾜｰｸ（192.168.1.10,10.0.0.0/8）。\n"
        "                          ほかのｸﾗｲｱﾝﾄの書き込みは例外 01 で断ります。\n"
        "  --modbus-max-clients <数>\n"
        "                          同時に接続できるｸﾗｲｱﾝﾄの数。省略時は 8 です。\n"
        "\n"
        "SIGTERM または SIGINT で、ﾎﾟｰﾄを閉じ、ﾌﾞﾛｰｶｰに offline を伝えてから終了します。\n"
        "ｵﾌﾟｼｮﾝや公開の設定が使えないときは、ﾎﾟｰﾄを開かずにﾒｯｾｰｼﾞを出して終了します（終了ｺｰﾄﾞ 78）。\n");
}

PublishSettings GatewayPublishSettings(const GatewayOptions& o, const QString& environmentBroker) {
    PublishSettings s = PublishSettings::Load();
    s.enabled = !o.noPublish;
    if (!environmentBroker.isEmpty()) s.broker = environmentBroker;
    if (!o.broker.isEmpty()) s.broker = o.broker;
    if (!o.line.isEmpty()) s.line = o.line;
    if (!o.caFile.isEmpty()) s.caFile = o.caFile;
    if (!o.certFile.isEmpty()) s.certFile = o.certFile;
    if (!o.keyFile.isEmpty()) s.keyFile = o.keyFile;
    if (!o.user.isEmpty()) s.user = o.user;
    if (!o.passwordFile.isEmpty()) s.passwordFile = o.passwordFile;
    return s;
}
