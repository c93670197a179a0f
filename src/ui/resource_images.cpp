// SPDX-License-Identifier: MIT
#include "src/ui/resource_images.h"

#include <QString>

// Outside any namespace, as Qt requires; a static library's resources are not registered
// until someone asks for them.
static void registerImages() {
    Q_INIT_RESOURCE(images);
}

namespace kestrova {

namespace {

void ensureRegistered() {
    static const bool registered = (registerImages(), true);
    (void)registered;
}

}  // namespace

QIcon resourceIcon(int id) {
    ensureRegistered();
    QIcon icon;
    icon.addFile(QStringLiteral(":/kestrova/icon%1-32.png").arg(id));
    icon.addFile(QStringLiteral(":/kestrova/icon%1-16.png").arg(id));
    return icon;
}

QPixmap resourceBitmap(int id) {
    ensureRegistered();
    return QPixmap(QStringLiteral(":/kestrova/bitmap%1.png").arg(id));
}

}  // namespace kestrova
