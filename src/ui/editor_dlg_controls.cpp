// SPDX-License-Identifier: MIT
// The main window's control operations, by identifier.
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <limits>

#include "src/ui/editor_dlg.h"

namespace {

// The text as an unsigned decimal number; 0 when it is empty, not such a number or too big,
// as the platform's dialog-item read does.
unsigned parseUnsigned(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() ||
        !std::all_of(trimmed.cbegin(), trimmed.cend(), [](QChar c) { return c.isDigit(); })) {
        return 0;
    }
    bool ok = false;
    const qulonglong value = trimmed.toULongLong(&ok);
    return ok && value <= std::numeric_limits<unsigned>::max() ? static_cast<unsigned>(value) : 0;
}

}  // namespace

QString CEditorDlg::readText(int id) const {
    QWidget* widget = control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        return combo->currentIndex() < 0 ? QString() : combo->currentText();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        return group->title();
    }
    return {};
}

unsigned CEditorDlg::readUnsigned(int id) const {
    return parseUnsigned(readText(id));
}

void CEditorDlg::selectIndex(int id, int index) {
    auto* combo = qobject_cast<QComboBox*>(control(id));
    if (combo == nullptr) {
        return;
    }
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

int CEditorDlg::selectedIndex(int id) const {
    auto* combo = qobject_cast<QComboBox*>(control(id));
    return combo == nullptr ? -1 : combo->currentIndex();
}
