// The control ranges master on a range with five characteristics and two history rows, on
// each of its grid pages and on the remarks page.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "projects/gamas/CALIGAMA.h"


namespace {

const char *const kGamaMuestra[] = {
    "INSERT INTO GCNTROL (Codigo, Descripcion, NivelModificacion, PiezasContables, Observaciones, Modalidad) VALUES "
    "('EJE-40', 'Eje de transmisión 40 mm', 'C', 'SI', 'Revisar el plan tras el cambio de proveedor del acero.', 'Auto')",
    "INSERT INTO LGCNTROL (Codigo, Linea, Descripcion, Especificacion, NCA, TipoCaracteristica, Muestra, Frecuencia, "
    "Instrumento, MetodoAnalisis, Modalidad, PlanReaccion) VALUES "
    "('EJE-40', 1, 'Diámetro exterior', '39.98...40.02', 'NCA-1', 'Critica', '5 piezas', 'Cada hora', 'Micrómetro', "
    "'Medición directa', 'Auto', 'Parar la máquina\r\nAvisar a calidad')",
    "INSERT INTO LGCNTROL (Codigo, Linea, Descripcion, DescripcionAmpliada, Especificacion, TipoCaracteristica, Muestra, "
    "Frecuencia, Instrumento, Modalidad) VALUES ('EJE-40', 2, 'Longitud total', 'Entre caras mecanizadas', "
    "'250...250.5', 'Principal', '2 piezas', 'Por turno', 'Pie de rey', 'Normal')",
    "INSERT INTO LGCNTROL (Codigo, Linea, Descripcion, Especificacion, TipoCaracteristica, Muestra, Frecuencia, "
    "Instrumento, Modalidad) VALUES ('EJE-40', 3, 'Rugosidad', '...0.8', 'Secundaria', '1 pieza', 'Por lote', "
    "'Rugosímetro', 'Normal')",
    "INSERT INTO LGCNTROL (Codigo, Linea, Descripcion, Especificacion, TipoCaracteristica, Muestra, Frecuencia, "
    "Instrumento, Modalidad) VALUES ('EJE-40', 4, 'Dureza superficial', '58...62', 'Seguridad', '1 pieza', "
    "'Por lote', 'Durómetro', 'Normal')",
    "INSERT INTO LGCNTROL (Codigo, Linea, Descripcion, TipoCaracteristica, Muestra, Frecuencia, Modalidad) VALUES "
    "('EJE-40', 5, 'Ausencia de rebabas', 'Principal', '100 %', 'Continua', 'Auto')",
    "INSERT INTO HGCNTROL (Codigo, Linea, Nivel, Modificacion) VALUES ('EJE-40', 1, 'B', 'Nueva tolerancia del diámetro')",
    "INSERT INTO HGCNTROL (Codigo, Linea, Nivel, Modificacion) VALUES ('EJE-40', 2, 'C', 'Control de dureza añadido')",
};

bool prepararGamas()
{
    for (const char *sentencia : kGamaMuestra)
        ModuloDatos->EjecutarSQL(QString::fromUtf8(sentencia));
    return true;
}

// pagina: 0 the characteristics, 1 the history, 2 the remarks.
plat::Form *maestroGamas(int pagina)
{
    if (!formshot::empresaMuestra(prepararGamas))
        return nullptr;
    plat::Form *marco = formshot::marcoMDI(1000, 560);
    auto *ventana = plat::createForm<TfCALIGAMA>();
    ventana->Table1->dataSet().first();
    ventana->setLeft(0);
    ventana->setTop(0);
    ventana->setWidth(980);
    if (pagina == 1)
        ventana->PageControl2->setActivePage(ventana->PagHistorico);
    if (pagina == 2)
        ventana->PageControl1->setActivePage(ventana->PagObservaciones);
    return marco;
}

const bool registrado =
    formshot::registerForm({QStringLiteral("gamas-control"),
                            QStringLiteral("el maestro de gamas de control, características"),
                            [](const QString &) { return maestroGamas(0); }})
    && formshot::registerForm({QStringLiteral("gamas-control-historico"),
                               QStringLiteral("el maestro de gamas de control, histórico de modificaciones"),
                               [](const QString &) { return maestroGamas(1); }})
    && formshot::registerForm({QStringLiteral("gamas-control-observaciones"),
                               QStringLiteral("el maestro de gamas de control, observaciones"),
                               [](const QString &) { return maestroGamas(2); }});

} // namespace
