// Record text, the text and Excel exports, the text import, copies between data sets and
// the clearing of the value under a control.
#include "GENEW/data/ExportacionExcel.h"
#include "GENEW/data/Genemodu.h"
#include "GENEW/data/TextoRegistros.h"
#include "GENEW/data/GENEDETA.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"

#include <QSaveFile>

namespace {

const QString kNoActivada = QStringLiteral("¡La tabla o consulta debe estar activada previamente!");
const QString kPreguntaFormato = QStringLiteral("¿Desea incluir la definición del formato de los campos?");
const QString kSi = QStringLiteral("SI");
const QString kNo = QStringLiteral("NO");

bool conOpcion(const QString &opciones, const char *palabra) { return opciones.contains(QLatin1String(palabra)); }

// Positions a data set back on its record however the walk ends. Its controls stay enabled:
// a detail follows its master through them.
class RecorridoDataSet
{
public:
    explicit RecorridoDataSet(plat::DataSet &dataSet) : dataSet_(dataSet), marca_(dataSet.bookmark()) {}
    ~RecorridoDataSet()
    {
        try {
            if (marca_.isValid() && dataSet_.bookmarkValid(marca_))
                dataSet_.gotoBookmark(marca_);
        } catch (const gp::Error &) {
        }
    }

private:
    plat::DataSet &dataSet_;
    plat::Bookmark marca_;
};

} // namespace

// ---- record text --------------------------------------------------------------------------------

QString TModuloDatos::RegistroATexto(plat::DataSet &dataSet, QString &texto)
{
    RegistroCopiado = textoRegistros::RegistroATexto(dataSet);
    texto = RegistroCopiado;
    return texto;
}

QString TModuloDatos::RegistroATextoOpciones(plat::DataSet &dataSet, const QString &opciones, QString &texto)
{
    RegistroCopiado = textoRegistros::RegistroATextoOpciones(dataSet, opciones);
    texto = RegistroCopiado;
    return texto;
}

void TModuloDatos::TextoARegistro(plat::DataSet &dataSet, const QString &opciones)
{
    textoRegistros::TextoARegistro(dataSet, RegistroCopiado, opciones);
}

// ---- text files ---------------------------------------------------------------------------------

textoRegistros::Delimitadores TModuloDatos::delimitadoresTexto(const QString &opciones)
{
    if (conOpcion(opciones, "ConDelimitadorStd") || conOpcion(opciones, "SinDialogo"))
        return {};
    QString campo, salto;
    plat::TableDataSet &parametros = ParamGenerales->table();
    if (parametros.active() && !parametros.isEmpty()) {
        if (const plat::Field *f = parametros.findField(QStringLiteral("CaracterSeparadorASCII")))
            campo = f->asString();
        if (const plat::Field *f = parametros.findField(QStringLiteral("CaracterSeparadorCRLF")))
            salto = f->asString();
    }
    return textoRegistros::DelimitadoresDe(campo, salto);
}

int TModuloDatos::camposClaveExportacion(plat::DataSet &dataSet)
{
    return dynamic_cast<plat::TableDataSet *>(&dataSet) ? NumeroCamposClave(dataSet) : 0;
}

void TModuloDatos::ExportarTexto(plat::DataSet *principal, plat::DataSet *detalle, const QString &fichero,
                                 const QString &opciones)
{
    if (!principal || !principal->active()) {
        MensajeAviso(kNoActivada);
        return;
    }
    const bool sinDialogo = conOpcion(opciones, "SinDialogo");
    QString nombre = fichero;
    if (!sinDialogo) {
        const plat::FileDialogSettingsKept compartido(*SaveDialog1);
        SaveDialog1->Title = QStringLiteral("Introducir el Nombre del Fichero de Texto");
        SaveDialog1->FileName = fichero;
        if (!SaveDialog1->Execute())
            return;
        nombre = SaveDialog1->FileName;
    }
    // The previous file stays as it was until the new one is complete.
    QSaveFile salida(nombre);
    if (!salida.open(QIODevice::WriteOnly)) {
        MensajeAviso(QStringLiteral("¡Imposible crear el fichero ASCII!. Motivo: ") + salida.errorString());
        return;
    }
    const textoRegistros::Delimitadores d = delimitadoresTexto(opciones);
    plat::BusyCursor reloj;
    const bool cabeceras = conOpcion(opciones, "ConFormatoCampos")
        || (!sinDialogo && !conOpcion(opciones, "SinFormatoCampos") && MensajeConfirmacion(kPreguntaFormato) == kSi);
    if (detalle && !detalle->active())
        detalle = nullptr;
    bool escrito = false;
    try {
        RecorridoDataSet recorrido(*principal);
        escrito = textoRegistros::ExportarDataSet(salida, *principal, detalle, d, camposClaveExportacion(*principal),
                                                  cabeceras);
    } catch (const gp::Error &error) {
        salida.cancelWriting();
        MensajeAviso(QStringLiteral("¡Imposible crear el fichero ASCII!. Motivo: ") + error.mensaje());
        return;
    }
    if (!escrito || !salida.commit())
        MensajeAviso(QStringLiteral("¡Imposible crear el fichero ASCII!. Motivo: ") + salida.errorString());
}

void TModuloDatos::ImportarTexto(plat::DataSet *principal, plat::DataSet *detalle, const QString &fichero,
                                 const QString &opciones, QString &ficheroLeido)
{
    ficheroLeido.clear();
    if (!principal || !principal->active()) {
        MensajeAviso(kNoActivada);
        return;
    }
    const textoRegistros::Delimitadores d = delimitadoresTexto(opciones);
    const bool sinDialogo = conOpcion(opciones, "SinDialogo");
    if (!sinDialogo
        && MensajeConfirmacion(QStringLiteral("¿Realmente desea importar registros desde un fichero de texto (ASCII)?"))
            != kSi)
        return;
    QString nombre = fichero;
    bool elegido = true;
    if (!sinDialogo) {
        OpenDialog1->Filter.clear();
        OpenDialog1->FileName = fichero;
        elegido = OpenDialog1->Execute();
        nombre = OpenDialog1->FileName;
    }
    bool leido = false;
    const QString contenido = elegido ? LeerFicheroTexto(nombre, &leido) : QString();
    if (!leido) {
        MensajeAviso(QStringLiteral("¡ El fichero ASCII origen no está preparado !"));
        return;
    }
    if (contenido.isEmpty())
        return;
    textoRegistros::OpcionesImportacion o;
    o.delimitadores = d;
    o.k = camposClaveExportacion(*principal);
    o.nuevo = conOpcion(opciones, "Nuevo");
    if (detalle && !detalle->active())
        detalle = nullptr;
    const bool filtrado = principal->filtered();
    QStringList incidencias;
    {
        plat::BusyCursor reloj;
        principal->setFiltered(false);
        textoRegistros::ImportacionTexto importacion(*principal, detalle, o, [](const QString &pregunta) {
            return MensajeConfirmacion(pregunta) != kNo;
        });
        importacion.importar(contenido);
        incidencias = importacion.incidencias();
        try {
            principal->setFiltered(filtrado);
        } catch (const gp::Error &) {
        }
    }
    if (!incidencias.isEmpty()
        && MensajeConfirmacion(QStringLiteral("Se han producido incidencias en el proceso. ¿Desea ver los detalles?"))
            == kSi)
        MostrarDetalle(incidencias.join(QStringLiteral("\r\n")), QStringLiteral("Incidencias producidas en la importación"),
                       QString());
    ficheroLeido = nombre;
}

// ---- Excel --------------------------------------------------------------------------------------

void TModuloDatos::ExportarExcel(plat::DataSet *principal, plat::DataSet *detalle, const QString &fichero,
                                 const QString &opciones)
{
    const bool sinDialogo = conOpcion(opciones, "SinDialogo");
    if (detalle && !detalle->active())
        detalle = nullptr;
    if (!principal || !principal->active()) {
        if (!sinDialogo)
            MensajeAviso(kNoActivada);
        return;
    }
    QString nombre = fichero;
    if (!sinDialogo) {
        const plat::FileDialogSettingsKept compartido(*SaveDialog1);
        SaveDialog1->Title = Traducir(QStringLiteral("Introducir el Nombre del Fichero de Excel"));
        SaveDialog1->FileName = fichero;
        SaveDialog1->Filter = Traducir(QStringLiteral("Archivos Excel (*.xlsx)|*.XLSX|Todos los Archivos (*.*)"));
        if (!SaveDialog1->Execute())
            return;
        nombre = SaveDialog1->FileName;
    }
    nombre = exportacionExcel::NombreLibro(nombre);
    exportacionExcel::Opciones o;
    o.cabeceras = sinDialogo || conOpcion(opciones, "SinFormatoCampos") || MensajeConfirmacion(kPreguntaFormato) != kNo;
    o.traducir = [this](const QString &texto) { return Traducir(texto); };
    QString error;
    bool grabado = false;
    {
        plat::BusyCursor reloj;
        try {
            RecorridoDataSet recorrido(*principal);
            grabado = exportacionExcel::Exportar(nombre, *principal, detalle, o, error);
        } catch (const gp::Error &e) {
            error = e.mensaje();
        }
    }
    if (sinDialogo)
        return;
    if (!grabado)
        MensajeAviso(QStringLiteral("¡No ha sido posible grabar el archivo!. Motivo: ") + error);
    else
        MensajeInformacion(TraducirTexto(QStringLiteral("El archivo ha sido guardado en $Fichero"),
                                         QStringLiteral("Fichero=") + nombre));
}

// ---- copies between data sets -------------------------------------------------------------------

void TModuloDatos::CopiarCampos(plat::DataSet &origen, plat::DataSet &destino, const QString &campos)
{
    QStringList nombres;
    if (campos.isEmpty()) {
        nombres = origen.fieldNames();
    } else {
        for (const QString &nombre : campos.split(u';')) {
            if (nombre.isEmpty())
                break;
            nombres << nombre;
        }
    }
    for (const QString &nombre : nombres) {
        try {
            const plat::Field *fuente = origen.findField(nombre);
            plat::Field *campo = destino.findField(nombre);
            if (fuente && campo && !campo->isCalculated())
                campo->setValue(fuente->value());
        } catch (const gp::Error &) {
            // A field the target cannot take keeps its value.
        }
    }
}

void TModuloDatos::CopiarRegistros(plat::TableDataSet &origen, plat::TableDataSet &destino, const QString &modo)
{
    QString forma = modo;
    if (forma == QLatin1String("Copiar")) {
        try {
            destino.emptyTable();
        } catch (const gp::Error &) {
            return;
        }
        forma = QStringLiteral("Agregar");
    }
    const bool sustituir = forma.contains(QLatin1String("Sustituir"));
    const bool agregar = forma.contains(QLatin1String("Agregar"));
    const QString titulo = QStringLiteral("Copiando Registros");
    const QStringList camposOrigen = CamposClave(origen).split(u';', Qt::SkipEmptyParts);
    const QString camposDestino = CamposClave(destino);
    plat::BusyCursor reloj;
    IndicarProgreso(QStringLiteral("ON"), titulo, QString(), QString());
    const auto cerrar = qScopeGuard([&] { IndicarProgreso(QStringLiteral("OFF"), titulo, QString(), QString()); });
    for (origen.first(); !origen.eof(); origen.next()) {
        QStringList clave;
        QVariantList valores;
        for (const QString &campo : camposOrigen) {
            clave << origen.fieldByName(campo).displayText();
        }
        for (const QString &campo : camposDestino.split(u';', Qt::SkipEmptyParts))
            if (const plat::Field *f = origen.findField(campo))
                valores << f->value();
        IndicarProgreso(QString(), titulo, clave.join(u';'), QString());
        try {
            if (sustituir && !valores.isEmpty()
                && destino.locate(camposDestino, valores.size() == 1 ? valores.first() : QVariant(valores))) {
                destino.edit();
                CopiarCampos(origen, destino, QString());
                destino.post();
                continue;
            }
            if (agregar) {
                destino.insert();
                CopiarCampos(origen, destino, QString());
                destino.post();
            }
        } catch (const gp::Error &) {
            if (destino.state() != plat::DataSetState::Browse)
                destino.cancel();
        }
    }
}

// ---- clearing the value under a control ---------------------------------------------------------

void TModuloDatos::LimpiarCampo(plat::Field &campo)
{
    plat::DataSet &dataSet = campo.dataSet();
    if (dataSet.state() == plat::DataSetState::Browse)
        dataSet.edit();
    switch (campo.dataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD: campo.setValue(0); break;
    case ftDate:
    case ftDateTime: campo.setValue(FechaCero()); break;
    case ftString:
    case ftMemo:
    case ftFmtMemo: campo.setValue(QString()); break;
    default: campo.clear(); break;
    }
}

void TModuloDatos::LimpiarLookup(plat::DBLookupComboBox &control)
{
    plat::Field *campo = control.field();
    if (!campo)
        return;
    plat::DataSet &dataSet = campo->dataSet();
    if (dataSet.state() == plat::DataSetState::Browse)
        dataSet.edit();
    const bool entero = campo->dataType() == ftInteger || campo->dataType() == ftSmallint;
    campo->setText(entero ? QStringLiteral("0") : QString());
}

void TModuloDatos::LimpiarValorControl(QObject *control)
{
    if (auto *lookup = qobject_cast<plat::DBLookupComboBox *>(control)) {
        LimpiarLookup(*lookup);
        return;
    }
    plat::Field *campo = nullptr;
    if (auto *c = qobject_cast<plat::DBCheckBox *>(control))
        campo = c->field();
    else if (auto *c = qobject_cast<plat::DBComboBox *>(control))
        campo = c->field();
    else if (auto *c = qobject_cast<plat::DBImage *>(control))
        campo = c->field();
    else if (auto *rejilla = qobject_cast<plat::DBGrid *>(control)) {
        plat::Field *columna = rejilla->selectedField();
        if (columna && columna->fieldKind() == plat::FieldKind::Lookup)
            campo = columna->dataSet().findField(columna->keyFields.section(u';', 0, 0));
    } else if (auto *imagen = qobject_cast<plat::Image *>(control)) {
        imagen->setPicture(QPixmap());
        return;
    }
    if (campo)
        LimpiarCampo(*campo);
}
