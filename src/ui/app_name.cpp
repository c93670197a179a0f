// SPDX-License-Identifier: MIT
#include "ui/app_name.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace kestrova {

QString applicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

}  // namespace kestrova
