// The record editor of the data module on the field viewer.
#include "GENEW/data/ventanas/GENEVLIS.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Grids.h"

#include <memory>

namespace {

bool esCampoHora(const QString &nombre)
{
    return nombre.contains(QStringLiteral("hora"), Qt::CaseInsensitive);
}

QString textoHora(const QString &texto)
{
    return FormatearFechaHora(QStringLiteral("hh:nn:ss"), TextoAFechaHora(texto));
}

QString textoDeCampo(const plat::Field &campo)
{
    if (campo.dataType() == ftDateTime && esCampoHora(campo.fieldName()))
        return FormatearFechaHora(QStringLiteral("hh:nn:ss"), campo.asDateTime());
    return campo.asString();
}

// The field an item of the field list names: a plain name, or piece 1 of a descriptor.
QString nombreDeElemento(const QString &elemento)
{
    return elemento.contains(QLatin1Char('>')) ? elemento.section(QLatin1Char('>'), 1, 1) : elemento;
}

} // namespace

bool TModuloDatos::EditarRegistroEnVisor(const QString &tabla, const QString &clave, const QString &campos,
                                         const QString &valores, const QString &modo, const QString &baseDatos)
{
    const bool editar = modo == QStringLiteral("Editar");
    auto registro = std::make_unique<plat::TableDataSet>(QStringLiteral("TablaVisor"));
    registro->setDatabaseName(baseDatos);
    registro->setTableName(NombreTablaSQL(tabla));
    try {
        if (!AbrirTabla(*registro))
            return false;
    } catch (const gp::Error &) {
        return false;
    }
    const QStringList elementos = campos.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    QString textoValores = valores;
    if (editar) {
        const QStringList partes = clave.split(QLatin1Char(';'));
        const QStringList indice = registro->indexFields();
        registro->setKey();
        for (int i = 0; i < indice.size() && i < partes.size(); ++i)
            registro->fieldByName(indice[i]).setAsString(esCampoHora(indice[i]) ? textoHora(partes[i]) : partes[i]);
        if (!registro->gotoKey())
            return false;
        if (textoValores.isEmpty())
            for (const QString &elemento : elementos)
                if (const plat::Field *campo = registro->findField(nombreDeElemento(elemento)))
                    textoValores += textoDeCampo(*campo) + QLatin1Char(';');
    }
    const QStringList listaValores = textoValores.split(QLatin1Char(';'));

    ModoVisor = VisorAgregarDatos;
    auto visor = std::make_unique<TfGENEVLIS>();
    visor->afterConstruction();
    plat::StringGrid &rejilla = *visor->StringGrid;
    rejilla.setRowCount(int(elementos.size()) + 1);
    rejilla.setCell(0, 0, QStringLiteral("Campo"));
    rejilla.setCell(1, 0, QStringLiteral("Valor"));
    for (int i = 0; i < elementos.size(); ++i) {
        const QString nombre = nombreDeElemento(elementos[i]);
        visor->DescriptoresCampos << (elementos[i].contains(QLatin1Char('>')) ? elementos[i] : QString());
        rejilla.setCell(0, i + 1, nombre);
        const QString valor = listaValores.value(i);
        rejilla.setCell(1, i + 1, esCampoHora(nombre) && !valor.isEmpty() ? textoHora(valor) : valor);
    }
    visor->setCaption((editar ? QStringLiteral("Editar Registro en la Tabla ") : QStringLiteral("Crear Registro en la Tabla "))
                      + tabla);
    if (visor->ShowModal() != plat::mrOk)
        return false;

    try {
        if (editar)
            registro->edit();
        else
            registro->insert();
        for (int fila = 1; fila < rejilla.rowCount(); ++fila) {
            const QString nombre = QString(rejilla.cell(0, fila)).remove(QStringLiteral("(*)")).trimmed();
            const QString valor = rejilla.cell(1, fila);
            try {
                registro->fieldByName(nombre).setAsString(valor);
            } catch (const gp::Error &) {
                MensajeAviso(QStringLiteral("¡El valor ") + nombre + QStringLiteral(" = ") + valor
                             + QStringLiteral(" es incorrecto!"));
            }
        }
        registro->post();
    } catch (const gp::Error &) {
        // A refused save is a failure: the caller must not take the record as stored.
        MensajeAviso(QStringLiteral("¡No ha sido posible grabar el registro!"));
        if (registro->state() == plat::DataSetState::Edit || registro->state() == plat::DataSetState::Insert)
            registro->cancel();
        return false;
    }
    return true;
}
