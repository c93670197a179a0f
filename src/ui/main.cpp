// SPDX-License-Identifier: MIT
#include <QApplication>
#include <cstdio>
#include <optional>

#include "src/platform/terminal.h"
#include "src/ui/command_line.h"
#include "src/ui/editor_app.h"

namespace {
CEditorApp theApp;

// Help and version need no display, so they are answered before the window's application
// connects to one.
std::optional<QString> answerBeforeWindow(int& argc, char** argv) {
    const QCoreApplication core(argc, argv);
    return kestrova::answerCommandLine(QCoreApplication::arguments());
}
}  // namespace

int main(int argc, char** argv) {
    if (const auto answer = answerBeforeWindow(argc, argv)) {
        kestrova::attachToParentConsole();
        std::fputs(answer->toLocal8Bit().constData(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    return theApp.initInstance();
}
