#include "shell/qt/StationArguments.h"

#include "shell/ArgumentText.h"

#include <QCommandLineParser>

namespace velmaris {

namespace {

QString Text(const std::string& bytes)
{
    return QString::fromStdU16String(ArgumentToUtf16(bytes));
}

std::string Bytes(const QString& text)
{
    return ArgumentFromUtf16(text.toStdU16String());
}

} // namespace

StationCommandLine ParseStationCommandLine(const std::vector<std::string>& args)
{
    QCommandLineParser parser;
    // "-demo" is --demo, not -d -e -m -o.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const StationOption& option : StationOptions()) {
        QStringList names {QString::fromUtf8(option.name)};
        if (*option.letter != '\0')
            names.prepend(QString::fromUtf8(option.letter));
        parser.addOption(
            QCommandLineOption(names, QString::fromUtf8(option.help), QString::fromUtf8(option.valueName)));
    }
    QStringList words {QStringLiteral("velmaris")};
    for (const std::string& arg : args)
        words.append(Text(arg));

    StationCommandLine line;
    if (!parser.parse(words)) {
        line.error = Bytes(parser.errorText());
        return line;
    }
    for (const StationOption& option : StationOptions()) {
        const QString name = QString::fromUtf8(option.name);
        if (parser.isSet(name) && !ApplyStationOption(option.name, Bytes(parser.value(name)), line))
            return line;
    }
    std::vector<std::string> files;
    for (const QString& file : parser.positionalArguments())
        files.push_back(Bytes(file));
    FinishStationCommandLine(files, parser.isSet(QStringLiteral("play")), line);
    return line;
}

} // namespace velmaris
