// SPDX-License-Identifier: MIT
#include "src/ui/profile_setting.h"

#include <QFile>
#include <QSettings>

#include "src/app/editor_session.h"

namespace kestrova {

namespace {

constexpr const char* kProfileKey = "profile";

QSettings editorSettings() {
    return QSettings(QStringLiteral("Kestrova"), QStringLiteral("kestrova-editor"));
}

}  // namespace

void keepLastProfile(EditorSession& session, const std::optional<QString>& forThisRun) {
    const QString path = forThisRun.value_or(editorSettings().value(kProfileKey).toString());
    if (!path.isEmpty()) {
        session.openProfile(QFile::encodeName(path).toStdString());
    }
    QObject::connect(&session, &EditorSession::profileChanged, &session, [&session] {
        const std::string opened = session.profilePath().string();
        if (opened.empty()) {
            editorSettings().remove(kProfileKey);
        } else {
            editorSettings().setValue(kProfileKey, QFile::decodeName(opened.c_str()));
        }
    });
}

}  // namespace kestrova
