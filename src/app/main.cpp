#include <QApplication>
#include <QIcon>
#include <QLocale>

#include "app/form_main.h"
#include "device/chatter_filter.h"
#include "device/device_list.h"
#include "device/port_audio_input_device.h"
#include "device/port_audio_library.h"
#include "device/port_audio_output_device.h"

int main(int argc, char* argv[]) {
    const murmelix::ChatterFilter chatterFilter;
    QApplication application(argc, argv);
    QApplication::setApplicationName("Murmelix");
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName("murmelix");
    QApplication::setWindowIcon(QIcon::fromTheme("murmelix", QIcon(":/murmelix.png")));
    // Every number the program shows or reads uses a point, whatever the user's locale.
    QLocale::setDefault(QLocale::c());

    murmelix::PortAudioLibrary library;
    murmelix::PortAudioOutputDevice output;
    murmelix::PortAudioInputDevice recordInput;
    murmelix::PortAudioInputDevice noiseInput;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    murmelix::TFormMain::StartOptions options;
    options.outputDevices = murmelix::DeviceList::names(murmelix::DeviceList::Direction::Output);
    options.inputDevices = murmelix::DeviceList::names(murmelix::DeviceList::Direction::Input);
    murmelix::TFormMain form({output, recordInput, noiseInput}, arguments, options);
    if (library.status() != 0) {
        form.messageBox("Wave Out Error",
                        "The sound system could not be started: " +
                            murmelix::PortAudioLibrary::describe(library.status()),
                        murmelix::MessageIcon::Error, murmelix::MessageButtons::Ok);
    }
    form.show();
    return QApplication::exec();
}
