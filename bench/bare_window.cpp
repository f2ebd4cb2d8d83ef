// The yardstick for the window program's start-up time and memory: the barest Qt window of the
// same kind, a main window with a menu bar and a one-line edit, shown at the same size. It runs
// until it is closed or killed. scripts/figures starts both and compares.

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.menuBar()->addMenu(QStringLiteral("메뉴"))->addAction(QStringLiteral("끝"), &app,
                                                               &QApplication::quit);
    window.setCentralWidget(new QLineEdit(&window));
    window.resize(430, 320);
    window.show();
    return app.exec();
}
