#include "Options.h"

#include <QCommandLineParser>
#include <algorithm>
#include <set>

#include "ExitCode.h"

namespace cli {

namespace {

// One option of any command. A command reads only the options its row in the command table
// lists; the parser knows them all, so that one a command does not take is named as such.
struct Option {
    QCommandLineOption spelled;
    // Sets the settings from the option's values, the last one winning; the problem if any.
    Problem (*read)(const QStringList& values, Settings& s) = nullptr;
    bool Settings::*flag = nullptr;  // set when an option without a value is given
};

Problem ReadPorts(const QStringList& values, Settings& s) {
    std::set<std::string> devices;
    for (const QString& value : values) {
        const auto name = ParsePortName(value.toStdString());
        if (!name)
            return "Порт " + value.toStdString() +
                   " не годится: нужен COM1..COM8 или путь к устройству";
        if (!devices.insert(name->device).second)
            return "Порт " + value.toStdString() + " задан дважды";
        s.ports.push_back(*name);
    }
    return std::nullopt;
}

Problem ReadKind(const QStringList& values, Settings& s) {
    const QString k = values.last().toLower();
    if (k != QStringLiteral("plu") && k != QStringLiteral("msg"))
        return std::string("--kind: нужен plu или msg");
    s.kind = k == QStringLiteral("plu") ? tables::ListKind::Plu : tables::ListKind::Msg;
    return std::nullopt;
}

Problem ReadBaud(const QStringList& values, Settings& s) {
    bool ok = false;
    const unsigned rate = values.last().toUInt(&ok);
    for (int b = b110; ok && b <= b256000; ++b) {
        if (BaudRateOf(static_cast<TBaud>(b)) != rate) continue;
        s.baud = static_cast<TBaud>(b);
        return std::nullopt;
    }
    return std::string("--baud: такой скорости нет; есть 110 .. 256000, например 9600");
}

Problem ReadEncoding(const QStringList& values, Settings& s) {
    const QString e = values.last().toLower();
    if (e != QStringLiteral("utf8") && e != QStringLiteral("cp1251"))
        return std::string("--encoding: нужен utf8 или cp1251");
    s.encoding =
        e == QStringLiteral("cp1251") ? tables::CsvEncoding::Cp1251 : tables::CsvEncoding::Utf8;
    return std::nullopt;
}

Problem ReadByteTimeout(const QStringList& values, Settings& s) {
    bool ok = false;
    s.byteTimeoutMs = values.last().toInt(&ok);
    if (!ok || s.byteTimeoutMs <= 0) return std::string("--byte-timeout-ms: нужно число");
    return std::nullopt;
}

Problem ReadRetries(const QStringList& values, Settings& s) {
    s.retryDelaysMs.clear();
    for (const QString& part : values.last().split(',')) {
        bool ok = false;
        const int ms = part.toInt(&ok);
        if (!ok || ms < 0) return std::string("--retry-ms: нужны числа через запятую");
        s.retryDelaysMs.push_back(ms);
    }
    return std::nullopt;
}

// In the order their values are read and their problems found. --byte-timeout-ms and
// --retry-ms are for tests, which shorten a stall and a retry.
const std::vector<Option>& Options() {
    static const std::vector<Option> options = {
        {QCommandLineOption({"p", "port"}, "", "port"), ReadPorts},
        {QCommandLineOption("kind", "", "kind"), ReadKind},
        {QCommandLineOption({"o", "output"}, "", "file"),
         [](const QStringList& values, Settings& s) {
             return (s.output = values.last(), Problem());
         }},
        {QCommandLineOption("partial"), nullptr, &Settings::partial},
        {QCommandLineOption("json"), nullptr, &Settings::json},
        {QCommandLineOption("baud", "", "rate"), ReadBaud},
        {QCommandLineOption(QStringList{"h", "help"})},
        {QCommandLineOption(QStringList{"v", "version"})},
        {QCommandLineOption("encoding", "", "encoding"), ReadEncoding},
        {QCommandLineOption("byte-timeout-ms", "", "ms"), ReadByteTimeout},
        {QCommandLineOption("retry-ms", "", "list"), ReadRetries},
        {QCommandLineOption("changed-only"), nullptr, &Settings::changedOnly},
        {QCommandLineOption("full-if-unknown"), nullptr, &Settings::fullIfUnknown},
        {QCommandLineOption("trust-known"), nullptr, &Settings::trustKnown},
    };
    return options;
}

std::string Spelled(const QString& name) {
    return (name.size() == 1 ? "-" : "--") + name.toStdString();
}

// Every usage error ends with where to read the command's options.
Parsed Usage(const std::string& error, const std::string& command = {}) {
    const std::string help = CommandNamed(command)
                                 ? "Справка: qvscale-cli help " + command
                                 : "Команды: qvscale-cli help; справка по команде: qvscale-cli "
                                   "help КОМАНДА";
    return {std::nullopt, kUsage, error + "\n" + help + "\n"};
}

// The first option set that the command does not take; nothing when it takes them all.
Problem OptionNotTaken(const QCommandLineParser& parser, const Command& command) {
    for (const Option& option : Options()) {
        const QString name = option.spelled.names().last();
        const auto& taken = command.options;
        if (parser.isSet(option.spelled) &&
            std::find(taken.begin(), taken.end(), name) == taken.end())
            return "Команда " + std::string(command.name) + " не берёт " + Spelled(name);
    }
    return std::nullopt;
}

// The parser's own complaint in the user's words: an unknown option, a value missing after the
// last option, or a value given to an option that takes none.
std::string ParseError(const QCommandLineParser& parser, const QStringList& arguments) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) return "Неизвестный параметр: " + Spelled(unknown.front());
    for (const Option& o : Options()) {
        for (const QString& name : o.spelled.names()) {
            const QString spelled = Q(Spelled(name));
            if (o.spelled.valueName().isEmpty()) {
                for (const QString& a : arguments)
                    if (a.startsWith(spelled + '='))
                        return Spelled(name) + " не берёт значения: " + a.toStdString();
            } else if (arguments.size() > 1 && arguments.last() == spelled) {
                return "После " + Spelled(name) + " нужно значение";
            }
        }
    }
    return "Параметры не разобраны: " + parser.errorText().toStdString();
}

}  // namespace

Parsed ParseArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    for (const Option& o : Options()) parser.addOption(o.spelled);
    const bool parsed = parser.parse(arguments);
    const QStringList words = parser.positionalArguments();
    const std::string name = words.isEmpty() ? "" : words.front().toStdString();
    if (!parsed) return Usage(ParseError(parser, arguments), name);

    if (parser.isSet(QStringLiteral("version")))
        return {std::nullopt, kDone, "qvscale-cli " QVSCALE_VERSION "\n"};
    if (name == HelpCommand().name) {
        const std::string asked = words.value(1).toStdString();
        if (!asked.empty() && !CommandNamed(asked)) return Usage("Неизвестная команда: " + asked);
        return {std::nullopt, kDone, HelpText(asked)};
    }
    if (parser.isSet(QStringLiteral("help"))) return {std::nullopt, kDone, HelpText(name)};
    if (name.empty()) return Usage("Не задана команда");
    const Command* command = CommandNamed(name);
    if (!command) return Usage("Неизвестная команда: " + name);
    if (const auto problem = OptionNotTaken(parser, *command)) return Usage(*problem, name);

    Settings s;
    s.command = name;
    for (const Option& o : Options()) {
        if (!parser.isSet(o.spelled)) continue;
        if (o.flag) s.*o.flag = true;
        if (!o.read) continue;
        if (const auto problem = o.read(parser.values(o.spelled), s)) return Usage(*problem, name);
    }
    if (const auto problem = command->operands(words, s)) return Usage(*problem, name);
    return {s, kDone, {}, command};
}

}  // namespace cli
