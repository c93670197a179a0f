// SPDX-License-Identifier: MIT
#include "src/ui/menu_builder.h"

#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "src/ui/qt_text.h"

namespace kestrova {

QMenuBar* buildMenuBar(const res::MenuTemplate& menu, QWidget* parent,
                       const std::function<void(int)>& onCommand) {
    auto* bar = new QMenuBar(parent);
    for (const res::PopupTemplate& popup : menu.popups) {
        QMenu* submenu = bar->addMenu(toQString(popup.text));
        for (const res::MenuItemTemplate& item : popup.items) {
            if (item.command == 0) {
                submenu->addSeparator();
                continue;
            }
            QAction* action = submenu->addAction(toQString(item.text));
            action->setProperty("command", item.command);
            action->setObjectName(QStringLiteral("command%1").arg(item.command));
            action->setShortcuts(QKeySequence::listFromString(toQString(item.keys)));
            QObject::connect(action, &QAction::triggered, bar,
                             [onCommand, command = item.command] { onCommand(command); });
        }
    }
    return bar;
}

}  // namespace kestrova
