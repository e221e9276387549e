#include "GENEW/data/BusquedaRegistro.h"

#include "GENEW/data/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/Field.h"
#include "platform/data/QueryDataSet.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Lists.h"

TfGENEBUSR::TfGENEBUSR(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEBUSR"));
    setCaption(QStringLiteral("Búsqueda de Registros"));
    setPosition(plat::poMainFormCenter);
    setBounds(0, 0, 480, 320);
    ListaRegistros = make<plat::ListBox>(QStringLiteral("ListaRegistros"), this);
    ListaRegistros->setGeometry(8, 8, 464, 256);
    pbConforme = make<plat::Button>(QStringLiteral("pbConforme"), this);
    pbConforme->setCaption(QStringLiteral("&Conforme"));
    pbConforme->setGeometry(304, 280, 80, 28);
    pbConforme->setModalResult(plat::mrOk);
    pbConforme->setDefaultButton(true);
    pbCancelar = make<plat::Button>(QStringLiteral("pbCancelar"), this);
    pbCancelar->setCaption(QStringLiteral("C&ancelar"));
    pbCancelar->setGeometry(392, 280, 80, 28);
    pbCancelar->setModalResult(plat::mrCancel);
    pbCancelar->setCancelButton(true);
}

QVariant ElegirRegistroConFiltro(const QString &tabla, int indice, const QString &filtro)
{
    if (!ModuloDatos)
        return {};
    const QString indiceNombre = indice <= 0 ? QString() : QStringLiteral("Clave") + QString::number(indice + 1);
    const QStringList claves = ModuloDatos->CamposClaveSQL(tabla, indiceNombre).split(u';', Qt::SkipEmptyParts);
    plat::QueryDataSet consulta(QStringLiteral("ElegirRegistroConFiltro"));
    QString sql = QStringLiteral("SELECT * FROM ") + ModuloDatos->NombreTablaSQL(tabla);
    if (!filtro.trimmed().isEmpty())
        sql += QStringLiteral(" WHERE ") + filtro;
    if (!claves.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + claves.join(QStringLiteral(", "));
    consulta.setDatabaseName(fGENEINIC->BaseDatosDeTabla(tabla));
    consulta.setSql(sql);
    if (!ModuloDatos->AbrirConsulta(consulta))
        return {};

    QStringList lineas;
    QList<QVariantList> clavesFilas;
    for (consulta.first(); !consulta.eof(); consulta.next()) {
        QStringList valores;
        for (int i = 0; i < consulta.fieldCount(); ++i)
            valores << consulta.field(i).asString();
        lineas << valores.join(QStringLiteral(" | "));
        QVariantList clave;
        for (const QString &campo : claves)
            clave << consulta.fieldByName(campo.trimmed()).asString();
        if (clave.isEmpty() && consulta.fieldCount() > 0)
            clave << consulta.field(0).asString();
        clavesFilas << clave;
    }

    TfGENEBUSR *dialogo = plat::createForm<TfGENEBUSR>();
    dialogo->ListaRegistros->setItems(lineas);
    dialogo->ListaRegistros->setItemIndex(lineas.isEmpty() ? -1 : 0);
    const int resultado = dialogo->ShowModal();
    const int fila = dialogo->ListaRegistros->itemIndex();
    dialogo->Free();
    if (resultado != plat::mrOk || fila < 0 || fila >= clavesFilas.size())
        return {};
    return clavesFilas.at(fila);
}
