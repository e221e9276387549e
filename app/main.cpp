#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Gestión de Proyectos"));

    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Gestión de Proyectos"));
    frame.setCentralWidget(new QMdiArea(&frame));
    frame.resize(1024, 768);
    frame.show();
    return app.exec();
}
