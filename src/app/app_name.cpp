// SPDX-License-Identifier: MIT
#include "src/ui/app_name.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace kestrova {

QString applicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

}  // namespace kestrova
