#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <utility>

#include "Children.h"
#include "HostileFiles.h"
#include "Rig.h"
#include "window/Application.h"
#include "window/DotMatrix.h"
#include "window/ObjectNames.h"
#include "window/QtPlatform.h"

namespace lumidot::bench {

namespace {

// The report comes within milliseconds; a window still up by then is closed.
constexpr int kDeadlineMs = 30000;

// The program's platform with its folder elsewhere: a copy of the
// program's folders in which the overlay is hostile.
class FolderPlatform : public QtPlatform {
  public:
    explicit FolderPlatform(std::string folder) : folder_(std::move(folder)) {}
    std::string AppFolder() override { return folder_; }

  private:
    std::string folder_;
};

void Append(QByteArray& bytes, quint32 value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.append(char(value >> (8 * i) & 0xff));
    }
}

bool Put(QIODevice& out, const QByteArray& bytes) {
    return out.write(bytes) == bytes.size();
}

// 41 bytes whose logical screen claims 16,000 x 1,000 pixels, 64 MB decoded,
// around one image of a single pixel: Qt's GIF handler reports the image's
// size and decodes the screen.
bool WideGif(QIODevice& out) {
    return Put(out, Gif(16000, 1000, 1, 1));
}

// The same GIF with its first byte changed: Qt's GIF handler reads a file
// named .gif without checking its signature.
bool GifWithoutSignature(QIODevice& out) {
    return Put(out, Gif(16000, 1000, 1, 1).replace(0, 1, "g"));
}

// A Windows bitmap header claiming 4,000 x 4,000 pixels of 24 bits, 64 MB
// decoded, followed by 64 bytes of them: Qt takes a file named .gif that
// its GIF handler cannot read for whatever its content looks like.
bool SniffedAsBmp(QIODevice& out) {
    QByteArray bytes("BM");
    for (const quint32 field : {118u, 0u, 54u, 40u, 4000u, 4000u}) {
        Append(bytes, field, 4);  // file size, reserved, pixels' offset, header size, size
    }
    Append(bytes, 1, 2);                 // planes
    Append(bytes, 24, 2);                // bits a pixel
    bytes.append(QByteArray(24, '\0'));  // no compression; the rest left to the reader
    return Put(out, bytes.append(QByteArray(64, '\x40')));
}

// An X pixmap of 4,000 x 2,000 transparent pixels, 32 MB decoded, written
// a row at a time: 8 MB.
bool SniffedAsXpm(QIODevice& out) {
    bool written = Put(out, "/* XPM */\nstatic const char* hostile[] = {\n\"4000 2000 1 1\",\n");
    written = Put(out, "\"  c None\",\n") && written;
    const QByteArray row = '"' + QByteArray(4000, ' ') + "\",\n";
    for (int y = 0; y < 2000; ++y) {
        written = Put(out, row) && written;
    }
    return Put(out, "};\n") && written;
}

// 4,000 x 3,900 pixels in 1,000 progressive scans, each decoded over the whole frame.
bool ManyScanJpeg(QIODevice& out) {
    return Put(out, ProgressiveJpeg(4000, 3900, 1000));
}

// The pictures and sounds beside this executable, copied to the folder,
// with the hostile file as the cartridge's overlay.
bool MakeProgramFolder(const QString& to, bool (*writeOverlay)(QIODevice&)) {
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString name : {"overlays", "buttons", "samples"}) {
        const QDir from(program.filePath(name));
        if (!from.exists() || !QDir(to).mkpath(name)) {
            return false;
        }
        for (const QString& file : from.entryList(QDir::Files)) {
            if (!QFile::copy(from.filePath(file), to + '/' + name + '/' + file)) {
                return false;
            }
        }
    }
    QFile overlay(to + QStringLiteral("/overlays/Zentrax.gif"));
    return overlay.open(QIODevice::WriteOnly | QIODevice::Truncate) && writeOverlay(overlay);
}

struct Overlay {
    const char* name;
    bool (*write)(QIODevice&);
};

constexpr Overlay kOverlays[] = {{"wide gif", WideGif},
                                 {"no signature", GifWithoutSignature},
                                 {"bmp", SniffedAsBmp},
                                 {"xpm", SniffedAsXpm},
                                 {"jpeg", ManyScanJpeg}};

// Answers the game's report once it is up, and keeps its number and when it came.
void AnswerReport(QTimer& poll, int& number, double& reported) {
    QObject::connect(&poll, &QTimer::timeout, &poll, [&number, &reported] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr) {
            reported = MonotonicSeconds();
            number = box->text().section(QLatin1Char(' '), -1).toInt();
            box->button(QMessageBox::Ok)->click();
        }
    });
    poll.start(5);
}

}  // namespace

QStringList HostileOverlayNames() {
    QStringList names;
    for (const Overlay& overlay : kOverlays) {
        names << QString::fromLatin1(overlay.name);
    }
    return names;
}

int RunHostileOverlay(int& argc, char* argv[]) {
    const std::string name = argc > 3 ? argv[3] : "";
    const auto* overlay = std::find_if(std::begin(kOverlays), std::end(kOverlays),
                                       [&name](const Overlay& o) { return name == o.name; });
    UseOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    SetUpApplication(app);
    const QTemporaryDir folder;
    if (overlay == std::end(kOverlays) || !folder.isValid() ||
        !MakeProgramFolder(folder.path(), overlay->write)) {
        std::fputs("lumidot_bench: no such overlay, or the program's folders could not be copied\n",
                   stderr);
        return 1;
    }
    FolderPlatform platform(folder.path().toStdString());
    Rig rig(platform);
    int number = 0;
    double inserted = 0.0;
    double reported = 0.0;
    QTimer poll;
    AnswerReport(poll, number, reported);
    WhenPainted(*rig.window.Display(), [&rig, &inserted] {
        inserted = MonotonicSeconds();
        rig.window.findChild<QPushButton*>(QLatin1String(objectnames::kInsertButton))->click();
    });
    QTimer::singleShot(kDeadlineMs, &rig.window, &QWidget::close);
    rig.window.show();
    QApplication::exec();
    rig.window.Terminate();
    const std::string key = "overlay " + name;
    PrintFigures({{key + " peak memory", PeakMegabytes()},
                  {key + " report", reported > 0 ? 1000.0 * (reported - inserted) : kDeadlineMs},
                  {key + " error number", static_cast<double>(number)}});
    return 0;
}

}  // namespace lumidot::bench
