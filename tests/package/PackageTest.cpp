// The Debian package as a person installs it: its control fields, its files
// unpacked into a scratch root, the desktop entry and the metadata passed by
// their validators, and the unpacked program started on its own X server.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "e2e/XSession.h"
#include "support/Glyphs.h"

namespace lumidot::e2e {
namespace {

// Runs a tool to its end: its exit code, and its standard output.
int RunTool(const QString& program, const QStringList& arguments, QString* output = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        return -1;
    }
    if (output != nullptr) {
        *output = QString::fromUtf8(process.readAllStandardOutput());
    }
    return process.exitCode();
}

// The value of a key of a desktop entry.
QString EntryValue(const QString& path, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith((key + '=').toUtf8())) {
            return QString::fromUtf8(line.mid(key.size() + 1));
        }
    }
    return {};
}

TEST(PackageTest, InstallsAProgramThatStartsFromTheDesktopEntrysCommand) {
    const QDir packages(QStringLiteral(LUMIDOT_PACKAGE_DIR));
    const QStringList debs = packages.entryList({QStringLiteral("lumidot_*.deb")});
    ASSERT_EQ(debs.size(), 1) << "no single package in " << LUMIDOT_PACKAGE_DIR;
    const QString deb = packages.filePath(debs.front());

    QString field;
    ASSERT_EQ(RunTool("dpkg-deb", {"-f", deb, "Version"}, &field), 0);
    EXPECT_EQ(field.trimmed(), "0.21");
    ASSERT_EQ(RunTool("dpkg-deb", {"-f", deb, "Depends"}, &field), 0);
    for (const char* runtime : {"libqt6widgets6", "libsdl2-2.0-0", "qt6-qpa-plugins"}) {
        EXPECT_TRUE(field.contains(QLatin1String(runtime)))
            << runtime << " in " << field.toStdString();
    }

    QTemporaryDir root;
    ASSERT_EQ(RunTool("dpkg-deb", {"-x", deb, root.path()}), 0);
    const QString usr = root.path() + "/usr/";
    const QString desktop = usr + "share/applications/org.lumidot.Lumidot.desktop";
    const QString metainfo = usr + "share/metainfo/org.lumidot.Lumidot.metainfo.xml";
    EXPECT_EQ(RunTool("desktop-file-validate", {desktop}), 0);
    EXPECT_EQ(RunTool("appstreamcli", {"validate", "--no-net", metainfo}), 0);
    EXPECT_EQ(EntryValue(desktop, "Name"), "Lumidot");
    EXPECT_EQ(EntryValue(desktop, "Comment"), "A Velmora Simulator");
    EXPECT_EQ(EntryValue(desktop, "X-Lumidot-Version"), "0.21");
    const QString icon = EntryValue(desktop, "Icon");
    for (const char* size : {"16x16", "32x32", "128x128"}) {
        EXPECT_TRUE(
            QFileInfo::exists(usr + "share/icons/hicolor/" + size + "/apps/" + icon + ".png"))
            << size;
    }

    // The entry's command, found in games/, is a link to the executable that
    // sits with its pictures and sounds.
    const QString command = usr + "games/" + EntryValue(desktop, "Exec");
    ASSERT_TRUE(QFileInfo(command).isSymLink());
    RunningProgram program(command);
    ASSERT_TRUE(program.WaitForWindow());
    program.Press(XK_Tab);
    program.Press(XK_space);
    EXPECT_TRUE(program.WaitForScreen([](const Screenshot& shot) {
        return testing::ReadMenu(ShownDots(shot)) == "4S1";
    })) << "the inserted cartridge found no pictures";
    program.Close();
    EXPECT_EQ(program.WaitForExit(), 0);
}

}  // namespace
}  // namespace lumidot::e2e
