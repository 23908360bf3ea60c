#include "commandline.h"

#include <QCommandLineParser>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace spz {

namespace {

const char* const kName = "spinzelle";

struct Options {
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();

    Options() {
        QCoreApplication::setApplicationName(QString::fromLatin1(kName));
        QCoreApplication::setApplicationVersion(QStringLiteral(SPINZELLE_VERSION));
        parser.setApplicationDescription(QStringLiteral("American roulette table for one player."));
        // Qt's own options are single-dash words; never read them as bundled letters.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    }
};

// What Qt and the display libraries beneath it say while they look for a display,
// held back until one has opened: when none does, their lines would only bury the
// one that matters.
struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};
std::vector<HeldMessage> held;
QtMessageHandler passOn = nullptr;
std::FILE* heldStderr = nullptr;  // what the libraries write to stderr themselves
int realStderr = -1;

void holdStderr() {
    heldStderr = std::tmpfile();
    if (!heldStderr) return;
    std::fflush(stderr);
    realStderr = dup(STDERR_FILENO);
    dup2(fileno(heldStderr), STDERR_FILENO);
}

void releaseStderr(bool replay) {
    if (!heldStderr) return;
    std::fflush(stderr);
    dup2(realStderr, STDERR_FILENO);
    close(realStderr);
    if (replay) {
        std::rewind(heldStderr);
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, heldStderr)) > 0;)
            std::fwrite(buffer, 1, n, stderr);
    }
    std::fclose(heldStderr);
    heldStderr = nullptr;
}

void holdWhileOpening(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        // Qt gives up only when no platform plugin could open its display.
        releaseStderr(false);
        std::fprintf(stderr, "%s: cannot open a display (neither DISPLAY nor WAYLAND_DISPLAY works)\n", kName);
        std::_Exit(1);
    }
    held.push_back({type, context.category ? context.category : "default", text});
}

[[noreturn]] void refuse(const QString& line) {
    releaseStderr(false);
    std::fprintf(stderr, "%s: %s\n", kName, qPrintable(line));
    std::exit(1);
}

void refuseArguments(const QApplication& application) {
    Options options;
    if (!options.parser.parse(application.arguments())) refuse(options.parser.errorText());
    // --help-all lists the display's options too, which only the application knows.
    if (options.parser.isSet(QStringLiteral("help-all"))) options.parser.process(application);
    const QStringList extra = options.parser.positionalArguments();
    if (!extra.isEmpty()) refuse(QStringLiteral("unexpected argument '%1'; the game takes none").arg(extra.first()));
}

}  // namespace

void answerHelpAndVersion(int argc, char** argv) {
    QCoreApplication core(argc, argv);
    Options options;
    // Qt's display options are unknown here and fail the parse; only the two answers count.
    options.parser.parse(QCoreApplication::arguments());
    if (options.parser.isSet(options.help)) options.parser.showHelp(0);
    if (options.parser.isSet(options.version)) options.parser.showVersion();
}

std::unique_ptr<QApplication> openDisplay(int& argc, char** argv) {
    passOn = qInstallMessageHandler(holdWhileOpening);
    holdStderr();
    auto application = std::make_unique<QApplication>(argc, argv);
    refuseArguments(*application);
    releaseStderr(true);
    qInstallMessageHandler(passOn);
    for (const HeldMessage& m : held) {
        const QMessageLogContext context(nullptr, 0, nullptr, m.category.c_str());
        qt_message_output(m.type, context, m.text);
    }
    held.clear();
    return application;
}

}  // namespace spz
