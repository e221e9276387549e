// The bare window the program's start-up is measured against (gp_arranque_bench): a
// QMainWindow with the program's title and size, shown, and nothing else; with "--menus", also
// the main window's menu bar (its eight titles), which is the first text a window draws and so
// loads the fonts.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char **argv)
{
    QApplication aplicacion(argc, argv);
    QMainWindow ventana;
    ventana.setWindowTitle(QStringLiteral("Gestión de Proyectos"));
    ventana.setGeometry(0, 0, 1024, 768);
    if (QApplication::arguments().contains(QStringLiteral("--menus")))
        for (const char *titulo : {"&Base Datos", "&Tablas", "&Procesos", "&Informes", "&Utilidades", "A&dicional",
                                   "&Ventana", "&Ayuda"})
            ventana.menuBar()->addMenu(QString::fromUtf8(titulo));
    ventana.show();
    return aplicacion.exec();
}
