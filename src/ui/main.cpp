// SPDX-License-Identifier: MIT
#include <QApplication>

#include "model/page_file.h"
#include "serial/file_flush.h"
#include "ui/editor_app.h"

namespace {
CEditorApp theApp;
}

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    kestrova::setPageFileFlush(&kestrova::flushToDisk);
    return theApp.initInstance();
}
