// The sample form of the form framework's tests, prepared by the framework on a started
// program (its own temporary folder, SQLite), in each look and translated.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Application.h"
#include "tests/data/FormularioMuestra.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QList<std::pair<QString, QString>> kTraducciones = {
    {QStringLiteral("Maestro de Pruebas"), QStringLiteral("Test master")},
    {QStringLiteral("Datos"), QStringLiteral("Data")},
    {QStringLiteral("Notas"), QStringLiteral("Notes")},
    {QStringLiteral("Aceptar"), QStringLiteral("Accept")},
    {QStringLiteral("Cancelar"), QStringLiteral("Cancel")},
    {QStringLiteral("Urgente"), QStringLiteral("Urgent")},
    {QStringLiteral("Codigo"), QStringLiteral("Code")},
    {QStringLiteral("Descripcion"), QStringLiteral("Description")},
    {QStringLiteral("PrecioUnidad"), QStringLiteral("Unit price")},
};

void escribir(const QString &fichero, const QString &texto)
{
    QFile f(fichero);
    if (f.open(QIODevice::WriteOnly))
        f.write(texto.toUtf8());
}

plat::Form *formularioPreparado(const QString &aspecto, bool traducido)
{
    static QTemporaryDir carpeta;
    QDir::setCurrent(carpeta.path());
    const QString definiciones = QCoreApplication::applicationDirPath() + QStringLiteral("/DATABASE.TXT");
    QFile origen(definiciones);
    if (!origen.open(QIODevice::ReadOnly))
        return nullptr;
    escribir(carpeta.filePath(QStringLiteral("DATABASE.TXT")),
             QString::fromUtf8(origen.readAll()) + QStringLiteral("\r\n") + DefinicionPruebaF);
    escribir(carpeta.filePath(QStringLiteral("KORVEL.INI")),
             QStringLiteral("[Configuración]\r\nAspectoAplicacion=") + aspecto + QStringLiteral("\r\n"));
    TfGENEINIC::ArgumentosArranque = {QStringLiteral("U=ADMIN")};
    if (traducido)
        TfGENEINIC::ArgumentosArranque << QStringLiteral("T=Ingles");
    auto *inicio = new TfGENEINIC;
    inicio->afterConstruction();
    if (inicio->ArranqueFallido || !inicio->CrearBaseDatosEmpresa(1))
        return nullptr;
    inicio->ConectarBaseDatosEmpresa(1);
    inicio->Conexiones().EmpresaActual = 1;
    auto *modulo = plat::createDataModule<TModuloDatos>();
    for (const auto &[clave, texto] : kTraducciones)
        modulo->EjecutarSQL(QStringLiteral("INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES ('Ingles', %1, %2)")
                                .arg(Entrecomillar(clave), Entrecomillar(texto)),
                            QStringLiteral("DatabaseGeneral"));
    auto *formulario = new FormularioMuestra;
    plat::application().setMainForm(formulario);
    formulario->afterConstruction();
    plat::TableDataSet &t = formulario->Table1->table();
    const QStringList descripciones = {QStringLiteral("Tornillería"), QStringLiteral("Cableado"), QStringLiteral("Pintura")};
    for (int i = 0; i < descripciones.size(); ++i) {
        t.append();
        t.fieldByName(QStringLiteral("Codigo")).setValue(i + 1);
        t.fieldByName(QStringLiteral("Descripcion")).setValue(descripciones[i]);
        t.fieldByName(QStringLiteral("PrecioUnidad")).setValue(12.5 * (i + 1));
        t.post();
    }
    t.first();
    inicio->ConfigurarBarraEstado(formulario->Barra, QStringLiteral("Aceptar|Cancelar"));
    // The program goes with its form, while QtSql is still there to close the connections.
    QObject::connect(formulario, &QObject::destroyed, [inicio, modulo] {
        modulo->Free();
        delete inicio;
        plat::Session::defaultSession().closeAll();
    });
    return formulario;
}

const bool registrado = formshot::registerForm({QStringLiteral("formulario-clasico"),
                                                QStringLiteral("formulario preparado por el marco, aspecto clásico"),
                                                [](const QString &) { return formularioPreparado("clasico", false); }})
    && formshot::registerForm({QStringLiteral("formulario-evo"), QStringLiteral("formulario preparado, aspecto evo"),
                               [](const QString &) { return formularioPreparado("evo", false); }})
    && formshot::registerForm({QStringLiteral("formulario-evomas"), QStringLiteral("formulario preparado, aspecto evo+"),
                               [](const QString &) { return formularioPreparado("evo+", false); }})
    && formshot::registerForm({QStringLiteral("formulario-traducido"),
                               QStringLiteral("formulario preparado y traducido al idioma «Ingles» (evo+)"),
                               [](const QString &) { return formularioPreparado("evo+", true); }});

} // namespace
