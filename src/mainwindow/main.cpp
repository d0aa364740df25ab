#include <QApplication>
#include <QWidget>

#include <clocale>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Numbers are formatted and parsed by the program itself; keep the C
    // library's numeric conventions fixed whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Lorva avec frottement"));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Lorva avec frottement"));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
