// SPDX-License-Identifier: MIT
// Test entry for Qt tests: one QApplication on the offscreen platform unless another is asked
// for (the build's test discovery runs these binaries without a display). The offscreen screen
// is 1920 x 1080 at 100 %, or the size and scale in KESTROVA_TEST_SCREEN ("1366x768@1.5").
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

// The platform reads its screens from a file named in an option that a colon would end, so
// the name is relative to the temporary folder, the working folder while the platform starts.
int main(int argc, char** argv) {
    QTemporaryFile screens(QDir::temp().filePath(QStringLiteral("kestrova-screen-XXXXXX.json")));
    const QString workingFolder = QDir::currentPath();
    // Under Wine a bare "offscreen" comes from the registry: that one gets the screen too.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        const QList<QByteArray> screen =
            qEnvironmentVariable("KESTROVA_TEST_SCREEN", "1920x1080").toLatin1().split('@');
        const QList<QByteArray> sides = screen.front().split('x');
        if (screen.size() == 2) {
            qputenv("QT_SCALE_FACTOR", screen.back());
        }
        if (sides.size() != 2 || !screens.open() || !QDir::setCurrent(QDir::tempPath())) {
            qFatal("cannot give the offscreen platform a %s screen", screen.front().constData());
        }
        screens.write(R"({"screens": [{"name": "test", "width": )" + sides[0] + R"(, "height": )" +
                      sides[1] + R"(, "logicalDpi": 96, "dpr": 1}]})");
        screens.close();
        qputenv("QT_QPA_PLATFORM",
                "offscreen:configfile=" + QFileInfo(screens.fileName()).fileName().toLocal8Bit());
    }
    QApplication app(argc, argv);
    QDir::setCurrent(workingFolder);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
