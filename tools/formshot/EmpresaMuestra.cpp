// The started program behind the pictures that need a company database.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct ProgramaMuestra
{
    QTemporaryDir carpeta;
    plat::Session sesion;
    TfGENEINIC *inicio = nullptr;
    std::function<void()> liberar;

    bool iniciar(const QByteArray &definicionesAdicionales)
    {
        QDir::setCurrent(carpeta.path());
        const QString definiciones = carpeta.filePath(QStringLiteral("DATABASE.TXT"));
        QFile::copy(QStringLiteral(GP_DATA_DIR "/DATABASE.TXT"), definiciones);
        if (!definicionesAdicionales.isEmpty()) {
            QFile f(definiciones);
            f.setPermissions(f.permissions() | QFileDevice::WriteOwner);
            if (!f.open(QIODevice::Append) || f.write(definicionesAdicionales) != definicionesAdicionales.size())
                return false;
        }
        TfGENEINIC::ArgumentosArranque = {QStringLiteral("U=ADMIN")};
        inicio = new TfGENEINIC(nullptr, &sesion);
        inicio->afterConstruction();
        if (inicio->ArranqueFallido || !inicio->CrearBaseDatosEmpresa(1))
            return false;
        inicio->ConectarBaseDatosEmpresa(1);
        inicio->Conexiones().EmpresaActual = 1;
        plat::createDataModule<TModuloDatos>();
        return true;
    }
};

const char *const kDefinicionClientes = "CLIENTES/C/1/Codigo/ftInteger/0/*/|Clientes\r\n"
                                        "CLIENTES/C/2/Nombre/ftString/40//|Clientes\r\n"
                                        "CLIENTES/C/3/PersonaContacto/ftString/40//|Clientes\r\n"
                                        "CLIENTES/C/4/Telefono/ftString/30//|Clientes\r\n"
                                        "CLIENTES/C/5/Observaciones/ftMemo/0//|Clientes\r\n"
                                        "CLIENTES/C/6/Saldo/ftFloat/0//|Clientes\r\n"
                                        "CLIENTES/C/7/FechaAlta/ftDateTime/0//|Clientes\r\n"
                                        "CLIENTES/I/1/<Primary>/Codigo//|Clientes\r\n"
                                        "CLIENTES/I/2/Clave2/Nombre//|Clientes\r\n";

const char *const kClientes[] = {
    "1, 'Construcciones García López', 'Ana García', '976 123 456', 'Obra de Zaragoza' || char(13) || char(10) || 'Pago a 60 días', 12500.5, '2021-03-15 00:00:00'",
    "2, 'Talleres Chacón', 'Luis Chacón', '954 222 333', NULL, 840.25, '2022-06-01 00:00:00'",
    "3, 'Reformas Gárate', 'Miren Gárate', '943 555 111', 'Cliente preferente', 0, '2020-11-20 00:00:00'",
    "4, 'Instalaciones Pérez e Hijos', 'Jorge Pérez', '915 987 654', NULL, -320.75, '2023-01-09 00:00:00'",
    "5, 'Electricidad Garcés', 'Marta Garcés', '976 654 321', 'Sin riesgo', 4300, '2019-05-30 00:00:00'",
    "6, 'Carpintería O''Neill', 'Sean O''Neill', '928 444 999', NULL, 150, '2024-02-12 00:00:00'",
    "7, 'Fontanería Martínez', 'Pilar Martínez', '963 111 222', NULL, 2890.1, '2018-09-03 00:00:00'",
    "8, 'Pinturas Etxeberria', 'Iker Etxeberria', '944 333 777', 'Trabaja en Bilbao', 75.4, '2022-10-25 00:00:00'",
};

} // namespace

namespace formshot {

bool empresaMuestra(const std::function<bool()> &preparar, const std::function<void()> &liberar,
                    const QByteArray &definicionesAdicionales)
{
    static ProgramaMuestra *programa = nullptr;
    static bool iniciado = false;
    if (programa)
        return iniciado;
    programa = new ProgramaMuestra;
    programa->liberar = liberar;
    // Freed before the application object goes: its forms and connections need it.
    qAddPostRoutine([] {
        if (programa->liberar)
            programa->liberar();
        if (ModuloDatos)
            ModuloDatos->Free();
        delete programa->inicio;
        delete programa;
    });
    iniciado = programa->iniciar(definicionesAdicionales) && (!preparar || preparar());
    return iniciado;
}

plat::Form *marcoMDI(int ancho, int alto)
{
    auto *marco = plat::createForm<plat::Form>();
    marco->setFormStyle(plat::fsMDIForm);
    plat::application().setMainForm(marco);
    marco->resize(ancho, alto);
    marco->Show();
    return marco;
}

bool programaIniciado()
{
    return empresaMuestra(
        [] {
            for (const char *fila : kClientes)
                if (!ModuloDatos
                         ->EjecutarSQL(QStringLiteral("INSERT INTO CLIENTES (Codigo, Nombre, PersonaContacto, Telefono, "
                                                      "Observaciones, Saldo, FechaAlta) VALUES (%1)")
                                           .arg(QString::fromUtf8(fila)))
                         .isEmpty())
                    return false;
            return true;
        },
        {}, kDefinicionClientes);
}

} // namespace formshot
