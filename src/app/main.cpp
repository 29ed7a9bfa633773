#include <QApplication>
#include <QLocale>

#include "app/form_main.h"
#include "device/port_audio_input_device.h"
#include "device/port_audio_library.h"
#include "device/port_audio_output_device.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Murmelix");
    // Every number the program shows or reads uses a point, whatever the user's locale.
    QLocale::setDefault(QLocale::c());

    murmelix::PortAudioLibrary library;
    murmelix::PortAudioOutputDevice output;
    murmelix::PortAudioInputDevice recordInput;
    murmelix::PortAudioInputDevice noiseInput;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    murmelix::TFormMain form({output, recordInput, noiseInput}, arguments);
    if (library.status() != 0) {
        form.messageBox("Wave Out Error",
                        "The sound system could not be started: " +
                            murmelix::PortAudioLibrary::describe(library.status()),
                        murmelix::MessageIcon::Error, murmelix::MessageButtons::Ok);
    }
    form.show();
    return QApplication::exec();
}
