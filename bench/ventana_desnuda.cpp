// The bare window the program's start-up is measured against (gp_arranque_bench): a
// QMainWindow with the program's title and size, shown, and nothing else.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication aplicacion(argc, argv);
    QMainWindow ventana;
    ventana.setWindowTitle(QStringLiteral("Gestión de Proyectos"));
    ventana.setGeometry(0, 0, 1024, 768);
    ventana.show();
    return aplicacion.exec();
}
