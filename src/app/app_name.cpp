// SPDX-License-Identifier: MIT
#include "src/app/app_name.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace kestrova {

QString applicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

}  // namespace kestrova
