#include "window/CommandLine.h"

#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Version.h"

namespace lumidot {

namespace {

constexpr double kSmallestScale = 1.0;
constexpr double kLargestScale = 4.0;

// Qt's own options, taken by QApplication: accepted here, not shown.
const char* const kQtOptionsWithValue[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "display", "geometry",
    "style",       "stylesheet",         "name",          "title",   "qmljsdebugger"};
const char* const kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

void AddQtOptions(QCommandLineParser& parser) {
    for (const char* name : kQtOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : kQtFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

QCommandLineOption AddOption(QCommandLineParser& parser, const char* name, const char* value,
                             const char* description) {
    const QCommandLineOption option{QString::fromLatin1(name), QString::fromLatin1(description),
                                    QString::fromLatin1(value)};
    parser.addOption(option);
    return option;
}

// Qt names the program from the application object, which does not exist
// yet when the command line is read.
QString HelpText(const QCommandLineParser& parser) {
    QString text = parser.helpText();
    text.replace(QLatin1String("<executable_name>"), QLatin1String("lumidot"));
    return text;
}

int UsageError(const QCommandLineParser& parser, const QString& error) {
    std::fprintf(stderr, "lumidot: %s\n\n%s", qPrintable(error), qPrintable(HelpText(parser)));
    return kExitUsage;
}

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

// The window's size factor from --scale, or the usage error's exit code.
std::optional<int> ReadScale(const QCommandLineParser& parser, const QCommandLineOption& scale,
                             Options& options) {
    if (parser.isSet(scale)) {
        bool number = false;
        options.scale = parser.value(scale).toDouble(&number);
        if (!number || !(options.scale >= kSmallestScale && options.scale <= kLargestScale)) {
            return UsageError(parser, QStringLiteral("--scale takes a factor from 1 to 4, not '%1'")
                                          .arg(parser.value(scale)));
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<int> ParseCommandLine(int argc, char** argv, Options& options) {
    QCoreApplication::setApplicationName(QLatin1String(kProgramName));
    QCoreApplication::setApplicationVersion(QLatin1String(kVersion));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("%1: a simulator of the Velmora, a handheld game console with a 16 x 16 "
                       "dot display, its built-in game and cartridges written in Lua.")
            .arg(QLatin1String(kProgramName)));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption scale =
        AddOption(parser, "scale", "factor",
                  "Starts the window <factor> times its size, 1 to 4 (for instance 1.5).");
    const QCommandLineOption cartridge =
        AddOption(parser, "cartridge", "folder",
                  "Adds the cartridge in <folder> (its cartridge.lua and files) to the list and "
                  "chooses it; may be given more than once.");
    AddQtOptions(parser);
    if (!parser.parse(Arguments(argc, argv))) {
        return UsageError(parser, parser.errorText());
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(qPrintable(HelpText(parser)), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", kProgramName, kVersion);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return UsageError(
            parser,
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().front()));
    }
    for (const QString& folder : parser.values(cartridge)) {
        options.cartridges.push_back(folder.toLocal8Bit().toStdString());
    }
    return ReadScale(parser, scale, options);
}

namespace {

const char* const kNoDisplay =
    "lumidot: cannot open a window: no display found (neither DISPLAY nor WAYLAND_DISPLAY "
    "leads to one)\n";

// While the application opens, Qt's messages wait here: when no platform
// can be opened, Qt ends with a fatal message (and an abort); the one line
// above replaces all of it.
QtMessageHandler previousHandler = nullptr;
struct Held {
    QtMsgType type;
    const char* file;
    int line;
    const char* function;
    const char* category;
    QString text;
};
std::vector<Held> held;

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fputs(kNoDisplay, stderr);
        std::_Exit(kExitNoDisplay);
    }
    held.push_back({type, context.file, context.line, context.function, context.category, text});
}

bool AskedForPlatform(int argc, char** argv) {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return true;
    }
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-platform" || argument == "--platform" ||
            argument.startsWith("-platform=") || argument.startsWith("--platform=")) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::unique_ptr<QApplication> OpenApplication(int& argc, char** argv) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!AskedForPlatform(argc, argv) && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs(kNoDisplay, stderr);
        return nullptr;
    }
#endif
    previousHandler = qInstallMessageHandler(HoldMessage);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previousHandler);
    for (const Held& message : held) {
        if (previousHandler != nullptr) {
            const QMessageLogContext context(message.file, message.line, message.function,
                                             message.category);
            previousHandler(message.type, context, message.text);
        }
    }
    held.clear();
    return app;
}

}  // namespace lumidot
