// SPDX-License-Identifier: MIT
#include "src/ui/curves_labels.h"

#include "resources/resource_ids.h"
#include "resources/templates.h"
#include "src/model/step_line.h"
#include "src/ui/qt_text.h"

namespace kestrova {

QString curveLabel(std::size_t curve, const OptionalProfile& profile) {
    if (curve == kAccIndex) {
        return QStringLiteral("ACC");
    }
    if (curve == kRateIndex) {
        return QStringLiteral("Rate");
    }
    QString label = toQString(res::loadString(res::id::kMotorLabel0 + static_cast<int>(curve)));
    if (profile && curve < kMotorCount && !profile->motors[curve].name.empty()) {
        label += QLatin1Char(' ') + QString::fromStdString(profile->motors[curve].name);
    }
    return label;
}

QString pointText(std::size_t curve, std::size_t step, int value, const OptionalProfile& profile) {
    return QStringLiteral("%1, step %2: %3").arg(curveLabel(curve, profile)).arg(step).arg(value);
}

ValueRange curveRange(std::size_t curve, const OptionalProfile& profile) {
    if (profile && curve < kMotorCount) {
        return {profile->motors[curve].min, profile->motors[curve].max};
    }
    return fullRange(curve);
}

QColor curveColour(std::size_t curve) {
    // Hues 15 degrees apart, visited 7 at a time so that neighbouring motors differ; ACC and
    // Rate dark, as they stand on scales of their own.
    if (curve >= kMotorCount) {
        return curve == kAccIndex ? QColor(90, 90, 90) : QColor(0, 0, 0);
    }
    const int hue = static_cast<int>(curve * 7 % 24) * 15;
    return QColor::fromHsv(hue, 230, curve % 2 == 0 ? 200 : 150);
}

}  // namespace kestrova
