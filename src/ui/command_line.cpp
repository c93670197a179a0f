// SPDX-License-Identifier: MIT
#include "src/ui/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include "kestrova_version.h"

namespace kestrova {

namespace {

QCommandLineOption profileOption() {
    return {QStringLiteral("profile"), QStringLiteral("Opens the robot profile FILE for this run."),
            QStringLiteral("FILE")};
}

}  // namespace

std::optional<QString> profileArgument(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.addOption(profileOption());
    parser.parse(arguments);
    return parser.isSet(profileOption()) ? std::optional(parser.value(profileOption()))
                                         : std::nullopt;
}

std::optional<QString> answerCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Motion page editor for the Kestrova robot, with a serial link to its "
                       "controller board."));
    // Qt's own help option would offer a --help-all that the window's options never reach.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help and exits."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOption(profileOption());
    parser.parse(arguments);
    if (parser.isSet(help)) {
        return parser.helpText();
    }
    if (parser.isSet(version)) {
        return QCoreApplication::applicationName() + ' ' + kVersion + '\n';
    }
    return std::nullopt;
}

}  // namespace kestrova
