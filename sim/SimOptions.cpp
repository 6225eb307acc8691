#include "SimOptions.h"

#include <QCommandLineParser>

namespace rdxsim {

namespace {

struct FaultOption {
    Fault fault;
    const char* name;
    const char* what;
};

const FaultOption kFaultOptions[] = {
    {Fault::Silence, "silence", "Probability (0..1) that a reply is not sent at all."},
    {Fault::BadChecksum, "bad-checksum", "Probability that a reply's checksum is corrupted."},
    {Fault::Nak, "nak", "Probability that an accepted request is answered with NAK."},
    {Fault::Garbage, "garbage", "Probability of 1..8 noise characters before a reply."},
    {Fault::Cut, "cut", "Probability that a reply stops before its ETX."},
    {Fault::Split, "split", "Probability that a reply comes in 2..4 chunks with 5..30 ms gaps."},
};

void AddOptions(QCommandLineParser& p) {
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    p.addOption({{"h", "help"}, "Shows this help."});
    p.addOptions({
        {"link", "Publish the pseudo-terminal's slave as a symlink at <path> (removed on exit); "
                 "start the monitor with TESMARCOMM_COM1=<path>.", "path"},
        {"baud", "Line speed for pacing replies, 10 bits a character: 9600, 19200, or 0 for no "
                 "pacing. Default 9600.", "n", "9600"},
        {"turnaround", "Delay before a reply starts, in ms. Default 3.", "ms", "3"},
        {"delivery", "How the reader gets the characters on the wire: \"char\" each as it comes "
                     "(default), \"fifo\" as a 16550 UART hands them on (at 14 waiting, or 4 "
                     "character times after the last), \"usb\" as a USB adapter does (a packet "
                     "at 62 waiting, or 16 ms after the oldest).", "mode", "char"},
        {"time-scale", "Run process dynamics, loop-break timing and auto-tuning <n> times "
                       "faster. Default 1.", "n", "1"},
        {"seed", "Seed of the fault injection; the same seed and requests give the same "
                 "faults. Default 1.", "n", "1"},
        {"blocks", "Present blocks instead of the built-in demo line, e.g. \"0,1:hc,4:lin:pairs=6\" "
                   "(see below).", "list"},
        {"control", "Read control commands (see below) from the FIFO <path> (created when "
                    "missing), or from stdin when <path> is \"-\".", "path"},
        {"stats", "Write the counters of every request and injected fault to <file> on exit.", "file"},
        {"duration", "End the run after <s> seconds. Default: run until SIGTERM, SIGINT or "
                     "\"quit\".", "s"},
        {"auto-tune", "Simulated seconds one auto-tuning takes. Default 120.", "s", "120"},
    });
    for (const FaultOption& f : kFaultOptions) p.addOption({f.name, f.what, "p", "0"});
}

bool ToDouble(const QString& text, double low, double high, double& out) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || v < low || v > high) return false;
    out = v;
    return true;
}

}  // namespace

bool ParseSimOptions(const QStringList& args, SimOptions& o, QString* error) {
    QCommandLineParser p;
    AddOptions(p);
    const auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (!p.parse(QStringList{QStringLiteral("rdx410-sim")} + args)) return fail(p.errorText());
    if (!p.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument \"%1\"").arg(p.positionalArguments().first()));
    o.help = p.isSet("help");
    o.link = p.value("link");
    o.blocks = p.value("blocks");
    o.control = p.value("control");
    o.stats = p.value("stats");

    bool ok = false;
    o.server.baud = p.value("baud").toInt(&ok);
    if (!ok || o.server.baud < 0 || o.server.baud > 1000000) return fail(QStringLiteral("--baud: not a speed"));
    if (!ToDouble(p.value("turnaround"), 0, 10000, o.server.turnaroundMs))
        return fail(QStringLiteral("--turnaround: 0..10000 ms"));
    const std::optional<Delivery> delivery = DeliveryNamed(p.value("delivery"));
    if (!delivery) return fail(QStringLiteral("--delivery: char, fifo or usb"));
    o.server.delivery = *delivery;
    if (!ToDouble(p.value("time-scale"), 1e-3, 1e6, o.timeScale) )
        return fail(QStringLiteral("--time-scale: a positive factor"));
    o.seed = p.value("seed").toULongLong(&ok);
    if (!ok) return fail(QStringLiteral("--seed: a non-negative integer"));
    if (p.isSet("duration") && !ToDouble(p.value("duration"), 0, 1e9, o.duration))
        return fail(QStringLiteral("--duration: seconds"));
    if (!ToDouble(p.value("auto-tune"), 0, 1e6, o.autoTune)) return fail(QStringLiteral("--auto-tune: seconds"));
    for (const FaultOption& f : kFaultOptions)
        if (!ToDouble(p.value(f.name), 0, 1, o.faults[f.fault]))
            return fail(QStringLiteral("--%1: a probability 0..1").arg(f.name));
    return true;
}

QString SimHelpText() {
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Simulates a line of RDX-410 controllers (up to 16 MGU-500 blocks of 20 channels) on a "
        "pseudo-terminal. The slave's path is printed on the first line of output."));
    AddOptions(p);
    QString text = p.helpText();
    text.replace(QStringLiteral("<executable_name>"), QStringLiteral("rdx410-sim"));
    text += QStringLiteral(
        "\n--blocks: comma-separated entries B[:flag]..., B = device number 0..15. Flags:\n"
        "  hc       heating/cooling option (odd positions are the pairs' cooling outputs)\n"
        "  nohb     no heater-burnout option (fitted by default)\n"
        "  tc|pt|lin|mix  K thermocouple (default), Pt100, DC voltage, or mixed by pair\n"
        "  pairs=N  only the first N channel pairs present (default 10)\n"
        "All values start at their factory settings, outputs off.\n"
        "Without --blocks: blocks 0, 1, 2, 4 present (3 absent), block 2 heating/cooling,\n"
        "thermocouple, Pt100 and linear inputs, alarms that come and go.\n"
        "\nControl commands (--control), one a line; CH = channel 1..320, BLOCK = 0..15:\n"
        "  heater-break CH | heater-ok CH   heater burns out / is repaired\n"
        "  loop-break CH | loop-ok CH       output stops reaching the process / again\n"
        "  sensor CH open|short|ok          input upscale / downscale / sound\n"
        "  panel BLOCK [CH ITEM VALUE]      front-panel change (default: SV + 5), change bit\n"
        "  silent BLOCK [SECONDS]           block stops answering (for SECONDS)\n"
        "  answer BLOCK                     block answers again\n"
        "  stats                            print the counters\n"
        "  quit                             end the run (as SIGTERM/SIGINT do)\n"
        "\nOn exit the --stats file holds key=value lines: requests, read.<item>,\n"
        "write.<item>, reply.<kind>, silent.<kind>, replies.sent, bytes.discarded, fault.<name>.\n");
    return text;
}

}  // namespace rdxsim
