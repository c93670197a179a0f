// SPDX-License-Identifier: MIT
#include <QApplication>

#include "ui/editor_app.h"

namespace {
CEditorApp theApp;
}

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return theApp.initInstance();
}
