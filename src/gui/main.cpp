#include <QApplication>
#include <QLocale>
#include "device/chatter_filter.h"
#include "device/port_audio_device_catalog.h"
#include "device/port_audio_input_device.h"
#include "device/port_audio_output_device.h"
#include "gui/font_look_up.h"
#include "gui/font_preload.h"
#include "gui/form_main.h"

int main(int argc, char* argv[]) {
    const murmelix::ChatterFilter chatterFilter;
    const murmelix::FontPreload fontPreload;
    // The menus stay in the window, as they always were; asking the desktop for a menu bar
    // of its own (over D-Bus) would also hold up the window's first appearance.
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication application(argc, argv);
    const murmelix::FontLookUp fontLookUp(murmelix::TFormMain::fontsAtStart());
    QApplication::setApplicationName("Murmelix");
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName("murmelix");
    // The window takes its icon once it is drawn: reading the picture, or looking through the
    // icon theme's folders, would hold it up.
    // Every number the program shows or reads uses a point, whatever the user's locale.
    QLocale::setDefault(QLocale::c());

    // Asked by the window once it is drawn; the sound system stays started until the end.
    murmelix::PortAudioDeviceCatalog catalog;
    murmelix::PortAudioOutputDevice output;
    murmelix::PortAudioInputDevice recordInput;
    murmelix::PortAudioInputDevice noiseInput;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    murmelix::TFormMain::StartOptions options;
    options.catalog = &catalog;
    murmelix::TFormMain form({output, recordInput, noiseInput}, arguments, options);
    form.show();
    return QApplication::exec();
}
