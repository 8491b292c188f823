#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <string>
#include <utility>

#include "Children.h"
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

// 35 bytes whose logical screen claims 8,192 x 4,095 pixels, 134 MB
// decoded, around one image of a single pixel.
QByteArray HostileGif() {
    QByteArray bytes("GIF89a");
    const auto word = [&bytes](int value) {
        bytes.append(char(value & 0xff)).append(char(value >> 8));
    };
    word(8192);
    word(4095);
    bytes.append("\x80\0\0\xff\xff\xff\0\0\0\x2c", 10);  // two colours, the image
    word(0);
    word(0);
    word(1);
    word(1);
    return bytes.append("\0\x02\x02\x44\x01\0\x3b", 7);  // one pixel, the end
}

// The pictures and sounds beside this executable, copied to the folder,
// with the hostile GIF as the cartridge's overlay.
bool MakeProgramFolder(const QString& to) {
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
    const QByteArray gif = HostileGif();
    return overlay.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           overlay.write(gif) == gif.size();
}

// Answers the game's report once it is up, and keeps its number.
void AnswerReport(QTimer& poll, int& number) {
    QObject::connect(&poll, &QTimer::timeout, &poll, [&number] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr) {
            number = box->text().section(QLatin1Char(' '), -1).toInt();
            box->button(QMessageBox::Ok)->click();
        }
    });
    poll.start(10);
}

}  // namespace

int RunHostileOverlay(int& argc, char* argv[]) {
    UseOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    SetUpApplication(app);
    const QTemporaryDir folder;
    if (!folder.isValid() || !MakeProgramFolder(folder.path())) {
        std::fputs("lumidot_bench: the program's folders could not be copied\n", stderr);
        return 1;
    }
    FolderPlatform platform(folder.path().toStdString());
    Rig rig(platform);
    int number = 0;
    QTimer poll;
    AnswerReport(poll, number);
    WhenPainted(*rig.window.Display(), [&rig] {
        rig.window.findChild<QPushButton*>(QLatin1String(objectnames::kInsertButton))->click();
    });
    QTimer::singleShot(kDeadlineMs, &rig.window, &QWidget::close);
    rig.window.show();
    QApplication::exec();
    rig.window.Terminate();
    PrintFigures({{"overlay peak memory", PeakMegabytes()},
                  {"overlay error number", static_cast<double>(number)}});
    return 0;
}

}  // namespace lumidot::bench
