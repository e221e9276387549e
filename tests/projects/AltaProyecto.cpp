// Another user of the project master, as a program of its own: started in the working folder
// it is given, it adds one project per round when told, in two steps so that two of them can
// be made to take their code at the same moment. Orders on standard input, one a line:
// "numerar <text>" starts a new project with that description ("numerado <code>" answers),
// "capitulo <code> <text>" starts a new line of that project with that description ("anotado
// <line>" answers with the line number taken), "grabar" saves the project or the line being
// added ("grabado" and the messages shown, separated by " / "), "fin" ends.
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/base/SalidaMensajes.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Application.h"
#include "platform/ui/DataModule.h"
#include "platform/ui/Form.h"
#include "projects/proyectos/PROYPROY.h"
#include "projects/proyectos/Proymodu.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <cstdio>

namespace {

void responder(const QString &linea)
{
    std::fputs((linea + u'\n').toUtf8().constData(), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2 || !QDir::setCurrent(QString::fromLocal8Bit(argv[1])))
        return 2;
    SalidaMensajesGrabada mensajes;
    SalidaMensajesInstalada instalada(mensajes);
    plat::Session sesion;
    TfGENEINIC::ArgumentosArranque = {QStringLiteral("U=ADMIN")};
    TfGENEINIC inicio(nullptr, &sesion);
    inicio.afterConstruction();
    if (inicio.ArranqueFallido) {
        responder(QStringLiteral("fallo ") + mensajes.textos().join(QStringLiteral(" / ")));
        return 3;
    }
    inicio.ConectarBaseDatosEmpresa(1);
    inicio.Conexiones().EmpresaActual = 1;
    auto *modulo = plat::createDataModule<TModuloDatos>();
    CrearMDProyectos();
    auto *marco = new plat::Form;
    marco->setFormStyle(plat::fsMDIForm);
    plat::application().setMainForm(marco);
    auto *ventana = plat::createForm<TfPROYPROY>();
    plat::DataSet &proyectos = ventana->Table1->dataSet();
    plat::DataSet &lineas = ventana->Table2->dataSet();
    mensajes.limpiar();
    responder(QStringLiteral("listo"));

    QTextStream entrada(stdin);
    QString orden;
    while (entrada.readLineInto(&orden) && orden != QLatin1String("fin")) {
        if (orden.startsWith(QLatin1String("numerar "))) {
            // A save starts the next project at once: that one is let go.
            if (ventana->editando())
                ventana->pbCancelarClick(ventana);
            ventana->AgregarClick(ventana);
            proyectos.fieldByName(QStringLiteral("Descripcion")).setAsString(orden.mid(8));
            responder(QStringLiteral("numerado ") + proyectos.fieldByName(QStringLiteral("Codigo")).asString());
        } else if (orden.startsWith(QLatin1String("capitulo "))) {
            // A saved line starts the next one at once: that one is let go.
            if (lineas.state() == plat::DataSetState::Insert)
                lineas.cancel();
            const QStringList partes = orden.split(u' ');
            proyectos.locate(QStringLiteral("Codigo"), partes.value(1));
            lineas.append();
            lineas.fieldByName(QStringLiteral("Descripcion")).setAsString(partes.mid(2).join(u' '));
            responder(QStringLiteral("anotado %1").arg(ventana->SiguienteLinea));
        } else if (orden == QLatin1String("grabar")) {
            ventana->GrabarDatos(ventana);
            responder(QStringLiteral("grabado ") + mensajes.textos().join(QStringLiteral(" / ")));
            mensajes.limpiar();
        }
    }
    delete ventana;
    delete marco;
    LiberarMDProyectos();
    modulo->Free();
    sesion.closeAll();
    return 0;
}
