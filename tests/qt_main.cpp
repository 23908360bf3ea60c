// Window tests run in one application set up as the program sets itself up.
#include <gtest/gtest.h>

#include <QApplication>

#include "program.h"

namespace {
// The offscreen platform warns that it cannot pass size hints to a window manager
// it does not have; nothing else is dropped.
QtMessageHandler previous = nullptr;
void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints"))) return;
    previous(type, context, message);
}
}  // namespace

int main(int argc, char** argv) {
    previous = qInstallMessageHandler(quietOffscreen);
    ::testing::InitGoogleTest(&argc, argv);
    // Headless unless told otherwise, test discovery included.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", SPINZELLE_OFFSCREEN);
    QApplication app(argc, argv);
    spz::configureApplication();
    return RUN_ALL_TESTS();
}
