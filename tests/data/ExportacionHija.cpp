// The child of the export tests that fill the disk or kill the exporting program: a started
// program exports what its environment asks for and prints every message it showed, one per
// line ("MENSAJE|kind|text"). GP_EXPORTACION: "pdf" (a listing to PDF through the data
// module), "excel" (the Excel export, its dialog and question answered) or "excel-sindialogo";
// GP_DESTINO: the file; GP_CANTIDAD: pages or rows; GP_LIMITE, when given: the bytes a file
// may reach while the export runs, as on a full disk.
#include "tests/data/InformeDePaginas.h"
#include "tests/data/ModuloFixture.h"
#include "tests/support/LimiteArchivos.h"

#include "platform/data/ClientDataSet.h"
#include "platform/ui/Dialogs.h"

#include <cstdio>
#include <optional>

namespace {

class ExportacionHija : public ModuloFixture
{
};

QStringList paginas(int cantidad)
{
    QStringList textos;
    for (int n = 1; n <= cantidad; ++n)
        textos << QStringLiteral("Página %1 del listado de proyectos con su texto de prueba").arg(n);
    return textos;
}

void llenar(plat::ClientDataSet &tabla, int filas)
{
    QList<plat::FieldDef> campos;
    for (int c = 1; c <= 6; ++c)
        campos << plat::fieldDef(QStringLiteral("Columna%1").arg(c), ftString, 40);
    tabla.setFieldDefs(campos);
    tabla.createDataSet();
    for (int f = 1; f <= filas; ++f) {
        tabla.append();
        for (int c = 0; c < 6; ++c)
            tabla.field(c).setValue(QStringLiteral("fila %1, columna %2 del libro").arg(f).arg(c + 1));
        tabla.post();
    }
}

TEST_F(ExportacionHija, ExportaLoQuePideElEntorno)
{
    const QString modo = qEnvironmentVariable("GP_EXPORTACION");
    const QString destino = qEnvironmentVariable("GP_DESTINO");
    const int cantidad = qEnvironmentVariableIntValue("GP_CANTIDAD");
    const rlim_t limite = qEnvironmentVariable("GP_LIMITE").toULongLong();
    ASSERT_TRUE(prepararMotor(false));
    InformeDePaginas informe(paginas(modo == QLatin1String("pdf") ? cantidad : 0));
    plat::ClientDataSet tabla(QStringLiteral("Libro"));
    if (modo != QLatin1String("pdf"))
        llenar(tabla, cantidad);
    plat::setDialogScript([&destino](QObject *dialogo) {
        static_cast<plat::OpenDialog *>(dialogo)->FileName = destino;
        return true;
    });
    mensajes_.limpiar();
    mensajes_.programarRespuestas({QStringLiteral("SI")});   // header rows
    {
        std::optional<gptest::LimiteArchivos> discoLleno;
        if (limite > 0)
            discoLleno.emplace(limite);
        if (modo == QLatin1String("pdf"))
            modulo_->ImprimirInforme(informe, QStringLiteral("PDF:") + destino);
        else
            modulo_->ExportarExcel(&tabla, nullptr, destino,
                                   modo == QLatin1String("excel") ? QString() : QStringLiteral("SinDialogo"));
    }
    plat::setDialogScript(nullptr);
    for (const auto &m : mensajes_.mensajes())
        std::printf("MENSAJE|%s|%s\n", qPrintable(m.tipo), qPrintable(QString(m.texto).replace(u'\n', u' ')));
    std::fflush(stdout);
}

} // namespace
