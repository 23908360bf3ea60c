#pragma once
// The program's command line and its screen: the game itself takes no arguments,
// but answers --help and --version, and says so plainly when no display will open.

#include <QApplication>
#include <memory>

namespace spz {

// Answers --help and --version, which need no display, and exits with status 0;
// returns when neither is asked.
void answerHelpAndVersion(int argc, char** argv);

// The application on the display Qt chooses, after Qt has taken its own options
// (-platform, -display, ...) off the command line. Exits with status 1 and one line
// on stderr when no display opens, where Qt itself would abort, or when anything is
// left on the command line that the game does not know.
std::unique_ptr<QApplication> openDisplay(int& argc, char** argv);

}  // namespace spz
