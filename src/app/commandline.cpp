// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/commandline.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>

namespace qx {

namespace {

// Qt's own options, which QGuiApplication and QApplication take out of the
// arguments themselves; known here only so that they are not faults.
const char* const kQtOptionsWithValue[] = {"platform",
                                           "platformpluginpath",
                                           "platformtheme",
                                           "plugin",
                                           "qwindowgeometry",
                                           "geometry",
                                           "qwindowicon",
                                           "icon",
                                           "qwindowtitle",
                                           "title",
                                           "session",
                                           "display",
                                           "name",
                                           "visual",
                                           "style",
                                           "stylesheet",
                                           "qmljsdebugger"};
const char* const kQtFlags[] = {"reverse", "widgetcount", "nograb",
                                "dograb",  "sync",        "testability"};

// The option an argument names, without its dashes and value: "records" for
// "--records=x" and for "-records"; empty for a plain argument.
QString optionName(const QString& argument)
{
    if (argument.startsWith(QLatin1String("--")))
        return argument.mid(2).section(u'=', 0, 0);
    if (argument.startsWith(u'-') && argument.size() > 1)
        return argument.mid(1).section(u'=', 0, 0);
    return {};
}

bool answersAtOnce(const QString& name)
{
    return name == QLatin1String("h") || name == QLatin1String("help") ||
           name == QLatin1String("v") || name == QLatin1String("version");
}

bool takesValue(const QString& name)
{
    return name == QLatin1String("records") || name == QLatin1String("export") ||
           std::ranges::any_of(kQtOptionsWithValue, [&name](const char* option) {
               return name == QLatin1String(option);
           });
}

// QCommandLineParser fails for three reasons: an unknown option, a value
// missing at the end, a value given to an option that takes none. Its own
// texts name the option without its dashes and are worded apart from ours.
QString describeFault(const QCommandLineParser& parser, const QStringList& arguments)
{
    const QStringList given = arguments.mid(1);
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().constFirst();
        for (const QString& argument : given) {
            if (optionName(argument) == name)
                return QCoreApplication::translate("CommandLine", "unknown option '%1'")
                    .arg(argument.section(u'=', 0, 0));
        }
    }
    const QString& last = given.constLast();
    if (takesValue(optionName(last)) && !last.contains(u'='))
        return QCoreApplication::translate("CommandLine", "option '%1' needs a value").arg(last);
    for (const QString& argument : given) {
        if (argument.contains(u'=') && !takesValue(optionName(argument)))
            return QCoreApplication::translate("CommandLine", "option '%1' takes no value")
                .arg(argument.section(u'=', 0, 0));
    }
    return parser.errorText();
}

CommandLine fault(const QString& text)
{
    CommandLine line;
    line.action = CommandLine::Action::Fault;
    line.fault = text;
    return line;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    // What comes after --help or --version is never looked at.
    qsizetype answerAt = arguments.size();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--"))
            break;
        if (answersAtOnce(optionName(arguments.at(i)))) {
            answerAt = i;
            break;
        }
    }
    const QStringList considered = arguments.mid(0, answerAt);

    QCommandLineParser parser;
    // Qt's options have one dash and whole words (-platform), so every
    // argument with one dash is read as a long option; -h and -v still are.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption records(QStringLiteral("records"), QString(),
                                     QStringLiteral("folder"));
    const QCommandLineOption exportTo(QStringLiteral("export"), QString(), QStringLiteral("user"));
    parser.addOption(records);
    parser.addOption(exportTo);
    for (const char* name : kQtOptionsWithValue)
        parser.addOption(
            QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    for (const char* name : kQtFlags)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

    if (!parser.parse(considered))
        return fault(describeFault(parser, considered));
    if (answerAt < arguments.size()) {
        const QString name = optionName(arguments.at(answerAt));
        CommandLine line;
        line.action =
            name.startsWith(u'h') ? CommandLine::Action::Help : CommandLine::Action::Version;
        return line;
    }
    CommandLine line;
    line.platformGiven = parser.isSet(QStringLiteral("platform"));
    line.records = parser.value(records);
    if (parser.isSet(records) && line.records.isEmpty())
        return fault(QCoreApplication::translate("CommandLine", "option '%1' needs a value")
                         .arg(QStringLiteral("--records")));
    const QStringList extra = parser.positionalArguments();
    if (parser.isSet(exportTo)) {
        if (extra.isEmpty() || parser.value(exportTo).isEmpty() || extra.constFirst().isEmpty())
            return fault(
                QCoreApplication::translate("CommandLine", "option '%1' needs a user and a folder")
                    .arg(QStringLiteral("--export")));
        line.action = CommandLine::Action::Export;
        line.exportUser = parser.value(exportTo);
        line.exportFolder = extra.constFirst();
    }
    const qsizetype expected = line.action == CommandLine::Action::Export ? 1 : 0;
    if (extra.size() > expected)
        return fault(QCoreApplication::translate("CommandLine", "unexpected argument '%1'")
                         .arg(extra.at(expected)));
    return line;
}

QString commandLineUsage()
{
    return QCoreApplication::translate(
        "CommandLine",
        "Usage: quiravex [--records FOLDER]\n"
        "       quiravex [--records FOLDER] --export USER FOLDER\n"
        "       quiravex --help | --version\n"
        "\n"
        "Quiravex measures and trains memory, attention, sense of time and reaction.\n"
        "\n"
        "Options:\n"
        "  --records FOLDER  keep the records (users, results, top ten) in FOLDER\n"
        "                    instead of Rec/ beside the program or the player's data\n"
        "                    folder (~/.local/share/quiravex/Rec)\n"
        "  --export USER FOLDER\n"
        "                    write USER's results into FOLDER as UTF-8 CSV files, one\n"
        "                    per test (USER-panel.csv, USER-L_R.csv ...), and exit;\n"
        "                    needs no display\n"
        "  -h, --help        show this help and exit\n"
        "  -v, --version     show the version and exit\n"
        "\n"
        "Qt's own options, such as -platform NAME, are passed on to Qt.\n"
        "\n"
        "The game speaks the desktop's language, as LANGUAGE, LC_ALL, LC_MESSAGES\n"
        "and LANG name it: Japanese for Japanese and for the C and POSIX locales,\n"
        "English for any other. LANGUAGE=en quiravex or LANGUAGE=ja quiravex picks\n"
        "one for a single run. Records are the same in every language.\n");
}

QString commandLineVersion()
{
    return QStringLiteral("quiravex " QX_VERSION "\n");
}

QString commandLineMessage(const QString& text)
{
    return QStringLiteral("quiravex: ") + text + u'\n';
}

} // namespace qx
