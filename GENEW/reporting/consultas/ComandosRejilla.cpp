#include "GENEW/reporting/consultas/ComandosRejilla.h"

#include "GENEW/data/Genemodu.h"
#include "GENEW/reporting/informes/GENELPRO.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/formularios/ServiciosFormulario.h"
#include "platform/base/Errores.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/ui/Colors.h"
#include "platform/ui/data/DBGrid.h"

namespace {

bool seBuscaPor(const plat::Field &campo)
{
    const TFieldType t = campo.dataType();
    return !campo.isBlob() && t != ftMemo && t != ftGraphic && t != ftBlob && t != ftFmtMemo;
}

QString nombreAbreviado(const plat::Field &campo)
{
    return AbreviarNombreCampo(campo.fieldName(), 1);
}

} // namespace

void ComandosRejilla::ponerFuente(const std::optional<FuenteConsulta> &fuente, const QFont &porDefecto)
{
    const QFont letra = fuente ? fuente->fuente : porDefecto;
    rejilla_.setControlFont(letra);
    rejilla_.setFontColor(fuente ? fuente->color : plat::clBlack);
    rejilla_.setTitleFont(letra);
    rejilla_.setTitleFontColor(plat::clNavy);
}

void ComandosRejilla::prepararColumnas()
{
    plat::DataSet *datos = rejilla_.dataSet();
    if (!datos || !datos->active())
        return;
    // The grid keeps the texts of the rows it has read: it lets go of the dataset while the
    // fields get their formats, and reads them again with them.
    plat::DataSource *fuente = rejilla_.dataSource();
    rejilla_.setDataSource(nullptr);
    for (int i = 0; i < datos->fieldCount(); ++i)
        prepararCampo(datos->field(i));
    rejilla_.setDataSource(fuente);
    ServiciosFormulario *servicios = serviciosFormulario();
    rejilla_.clearColumns();
    for (int i = 0; i < datos->fieldCount(); ++i) {
        plat::Field &campo = datos->field(i);
        plat::GridColumn *columna = rejilla_.addColumn(campo.fieldName());
        columna->Visible = campo.visible && !(servicios && servicios->EsCampoNoVisible(campo.fieldName()));
        columna->TitleCaption = nombreAbreviado(campo);
        if (campo.dataType() == ftMemo || campo.dataType() == ftFmtMemo)
            columna->ButtonStyle = plat::cbsEllipsis;
    }
    rejilla_.updateColumns();
}

void ComandosRejilla::prepararCampo(plat::Field &campo)
{
    ServiciosFormulario *servicios = serviciosFormulario();
    switch (campo.dataType()) {
    case ftMemo:
    case ftFmtMemo:
        // Shown on one line, its line breaks as blanks; edited as it is.
        campo.OnGetText = [](plat::Field &f, QString &texto, bool mostrar) {
            texto = f.asString();
            if (mostrar)
                texto.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
        };
        break;
    case ftFloat:
        if (fGENEINIC)
            campo.displayFormat = fGENEINIC->ObtenerFormatoNumerico(campo.fieldName());
        break;
    case ftDateTime:
        campo.displayWidth = 10;
        if (campo.fieldName().toUpper().contains(QLatin1String("HORA"))) {
            campo.editMask.clear();
            campo.displayFormat = QStringLiteral("hh:nn:ss");
            if (servicios)
                servicios->InstalarTextoHora(campo);
        } else if (servicios) {
            servicios->InstalarTextoFecha(campo);
        }
        break;
    default:
        break;
    }
}

void ComandosRejilla::filtrar(Comparacion comparacion)
{
    plat::DataSet *datos = rejilla_.dataSet();
    plat::Field *campo = rejilla_.selectedField();
    if (!datos || !campo || datos->state() == plat::DataSetState::Edit || datos->state() == plat::DataSetState::Insert
        || campo->fieldKind() == plat::FieldKind::Calculated)
        return;
    static const QString preguntas[] = {QStringLiteral("Introduzca el valor del campo "),
                                        QStringLiteral("Introduzca el valor Desde "),
                                        QStringLiteral("Introduzca el valor Hasta ")};
    static const QString operadores[] = {QStringLiteral("="), QStringLiteral(">="), QStringLiteral("<=")};
    const int k = int(comparacion);
    const QString valor = MensajePedirDato(preguntas[k] + nombreAbreviado(*campo), campo->text());
    if (valor.isEmpty())
        return;
    const QString anterior = datos->filter();
    const bool anteriorActivo = datos->filtered();
    const QString condicion = u'(' + campo->fieldName() + u' ' + operadores[k] + u' ' + Entrecomillar(valor) + u')';
    try {
        datos->setFilter(anterior.isEmpty() ? condicion : anterior + QStringLiteral(" AND ") + condicion);
        datos->setFiltered(true);
    } catch (const gp::Error &) {
        try {
            datos->setFilter(anterior);
            datos->setFiltered(anteriorActivo);
        } catch (const gp::Error &) {
            // The earlier filter stays as text even where it no longer applies.
        }
        MensajeAviso(QStringLiteral("¡No ha sido posible filtrar registros!"));
    }
}

void ComandosRejilla::cancelarFiltros()
{
    if (plat::DataSet *datos = rejilla_.dataSet()) {
        datos->setFilter(QString());
        datos->setFiltered(false);
    }
}

void ComandosRejilla::buscar()
{
    plat::DataSet *datos = rejilla_.dataSet();
    plat::Field *campo = rejilla_.selectedField();
    if (!datos || !campo || !datos->active())
        return;
    const QString valor = MensajePedirDato(QStringLiteral("Introduzca el valor a buscar en el campo ") + nombreAbreviado(*campo));
    if (valor.isEmpty())
        return;
    QVariant buscado;
    try {
        if (!seBuscaPor(*campo) || campo->fieldKind() != plat::FieldKind::Data)
            throw gp::ConversionError(QString());
        buscado = campo->convert(valor);
    } catch (const gp::Error &) {
        MensajeAviso(QStringLiteral("No se puede realizar una búsqueda por este campo"));
        return;
    }
    if (!datos->locate(campo->fieldName(), buscado))
        MensajeInformacion(QStringLiteral("No se ha encontrado ninguna coincidencia"));
}

void ComandosRejilla::listar(const QString &titulo, bool apaisado)
{
    plat::DataSet *datos = rejilla_.dataSet();
    if (!datos || !datos->active())
        return;
    TfGENELPRO *listado = plat::createForm<TfGENELPRO>();
    fGENELPRO = listado;
    const auto liberar = [listado] {
        listado->Free();
        if (fGENELPRO == listado)
            fGENELPRO = nullptr;
    };
    try {
        listado->QuickReport->DataSet = datos;
        listado->QuickReport->ReportTitle = titulo;
        listado->AjustarPalabras = true;
        listado->Sumatorios = QStringLiteral("Todas");
        listado->QuickReport->page()->Orientation = apaisado ? QPageLayout::Landscape : QPageLayout::Portrait;
        listado->Fuente = rejilla_.font();
        if (MensajeConfirmacion(QStringLiteral("¿Desea realizar una visualización previa?")) == QLatin1String("SI")) {
            listado->QuickReport->Preview();
        } else {
            listado->QuickReport->Prepare();
            ModuloDatos->ImprimirInforme(*listado->QuickReport, QString());
        }
    } catch (...) {
        liberar();
        throw;
    }
    liberar();
}

void ComandosRejilla::exportarTexto()
{
    ModuloDatos->ExportarTexto(rejilla_.dataSet(), nullptr, QStringLiteral("SQL.TXT"), QString());
}

void ComandosRejilla::importarTexto()
{
    QString leido;
    ModuloDatos->ImportarTexto(rejilla_.dataSet(), nullptr, QStringLiteral("SQL.TXT"), QString(), leido);
}

void ComandosRejilla::exportarExcel()
{
    ModuloDatos->ExportarExcel(rejilla_.dataSet(), nullptr, QStringLiteral("SQL.XLS"), QString());
}
