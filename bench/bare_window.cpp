// The baseline of the start-up benchmark: an empty main window and nothing else.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Bare window");
    window.show();
    return QApplication::exec();
}
