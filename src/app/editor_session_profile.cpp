// SPDX-License-Identifier: MIT
// The session and the robot profile: names, limits, the home pose and the mirror commands.
#include "src/app/app_name.h"
#include "src/app/editor_session.h"
#include "src/model/motor_labels.h"
#include "src/platform/file_flush.h"
#include "src/profile/profile_file.h"
#include "src/profile/profile_limits.h"

namespace kestrova {

void EditorSession::setProfile(std::optional<RobotProfile> profile) {
    robot = std::move(profile);
    // A draft given before the profile came would otherwise go out on the next live send.
    for (std::size_t m = 0; m < kMotorCount; ++m) {
        if (robot && stepDraft[m] && !robot->allows(m, *stepDraft[m])) {
            stepDraft[m] = robot->clamped(m, *stepDraft[m]);
            emit draftChanged(static_cast<int>(m));
        }
    }
    emit profileChanged();
}

bool EditorSession::openProfile(const std::filesystem::path& path) {
    LoadedProfile loaded = readProfileFile(path);
    if (!loaded.profile) {
        showAppMessage(QString::fromStdString(loaded.problem));
        return false;
    }
    robotPath = path;
    setProfile(std::move(loaded.profile));
    return true;
}

void EditorSession::closeProfile() {
    robotPath.clear();
    setProfile(std::nullopt);
}

bool EditorSession::saveProfile(const std::filesystem::path& path, const RobotProfile& profile) {
    if (!writeProfileFile(path, profile, &flushToDisk)) {
        showAppMessage(QString::fromStdString(path.string() + ": cannot be written"));
        return false;
    }
    robotPath = path;
    setProfile(profile);
    return true;
}

QString EditorSession::motorCaption(std::size_t motor) const {
    QString caption = QString::fromLatin1(kMotorLabels.at(motor));
    if (robot && !robot->motors[motor].name.empty()) {
        caption += ' ' + QString::fromStdString(robot->motors[motor].name);
    }
    return caption;
}

StepPositions EditorSession::freshPositions() const {
    StepPositions fresh{};
    fresh.fill(kDefaultPosition);
    return robot ? robot->homePose() : fresh;
}

bool EditorSession::allowedPositions(std::span<const std::uint8_t, kMotorCount> positions) {
    const std::optional<std::string> refusal = robot ? refusalOf(*robot, positions) : std::nullopt;
    if (refusal) {
        showAppMessage(QString::fromStdString(*refusal));
    }
    return !refusal;
}

bool EditorSession::sendAnyway() {
    if (!robot) {
        return true;
    }
    const std::vector<LimitBreach> breaches = limitBreaches(*robot, page());
    if (breaches.empty()) {
        return true;
    }
    bool yes = false;
    emit message({QString::fromStdString(sendAnywayQuestion(*robot, breaches.front())),
                  applicationName(), MessageIcon::Exclamation, false, &yes});
    return yes;
}

void EditorSession::onMirror(MirrorCommand command) {
    if (!robot) {
        return;
    }
    static constexpr std::array<const char*, 3> kLabels{"Mirror Step", "Copy Left to Right",
                                                        "Copy Right to Left"};
    const auto step = static_cast<unsigned>(currentStep);
    StepPositions positions{};
    motionPage.getStepPositions(step, positions);
    const MirroredStep result = mirrored(*robot, positions, command);
    recordChange(kLabels.at(static_cast<std::size_t>(command)),
                 [&] { motionPage.setStepPositions(step, result.positions); });
    if (!result.clamped.empty()) {
        showAppMessage(QString::fromStdString(clampedText(*robot, result.clamped)));
    }
}

}  // namespace kestrova
