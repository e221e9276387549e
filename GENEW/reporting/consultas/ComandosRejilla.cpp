#include "GENEW/reporting/consultas/ComandosRejilla.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/reporting/informes/GENELPRO.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "GENEW/runtime/formularios/ServiciosFormulario.h"
#include "platform/base/Errores.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"
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

bool campoOculto(const plat::Field &campo)
{
    const ServiciosFormulario *servicios = serviciosFormulario();
    return servicios && servicios->EsCampoNoVisible(campo.fieldName());
}

// The rows a dataset shows (its order and filter) with only some of its fields, each with the
// display settings of the field it copies, so that a file written from it reads the same.
class CamposElegidos : public plat::MemoryDataSet
{
public:
    CamposElegidos(plat::DataSet &origen, QList<int> campos) : origen_(origen), campos_(std::move(campos))
    {
        open();
        for (int i = 0; i < campos_.size(); ++i)
            copiarPresentacion(origen_.field(campos_[i]), field(i));
    }

protected:
    QList<plat::FieldDef> openSource() override
    {
        filas_.emplace(origen_, campos_);
        QList<plat::FieldDef> definiciones;
        for (int i : campos_)
            definiciones << origen_.field(i).definition();
        return definiciones;
    }
    bool fetchRows(int count, QVector<plat::Row> &rows) override
    {
        const qsizetype antes = rows.size();
        for (int quedan = count; count < 0 || quedan > 0;) {
            const QVector<plat::Row> lote = filas_->next(count < 0 ? kLote : qMin(quedan, kLote));
            if (lote.isEmpty())
                break;
            rows += lote;
            quedan -= int(lote.size());
        }
        return rows.size() > antes;
    }
    int packetSize() const override { return kLote; }
    void closeSource() override { filas_.reset(); }

private:
    static constexpr int kLote = 1000;

    static void copiarPresentacion(const plat::Field &de, plat::Field &a)
    {
        a.displayFormat = de.displayFormat;
        a.editFormat = de.editFormat;
        a.editMask = de.editMask;
        a.displayWidth = de.displayWidth;
        a.displayLabel = de.displayLabel;
        a.alignment = de.alignment;
        a.tag = de.tag;
        a.OnGetText = de.OnGetText;
    }

    plat::DataSet &origen_;
    QList<int> campos_;
    std::optional<plat::DataSet::StoredRows> filas_;
};

// Runs the export over the grid's rows without the fields the user may not see; over the
// dataset itself when none is hidden.
template<typename Exportar>
void sinCamposOcultos(plat::DataSet *datos, Exportar &&exportar)
{
    QList<int> visibles;
    bool oculto = false;
    if (datos && datos->active()) {
        for (int i = 0; i < datos->fieldCount(); ++i) {
            const plat::Field &campo = datos->field(i);
            if (campoOculto(campo))
                oculto = true;
            else if (campo.fieldKind() == plat::FieldKind::Data)
                visibles << i;
        }
    }
    if (!oculto) {
        exportar(datos);
        return;
    }
    CamposElegidos elegidos(*datos, visibles);
    exportar(&elegidos);
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
    rejilla_.clearColumns();
    for (int i = 0; i < datos->fieldCount(); ++i) {
        plat::Field &campo = datos->field(i);
        plat::GridColumn *columna = rejilla_.addColumn(campo.fieldName());
        columna->Visible = campo.visible && !campoOculto(campo);
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
    sinCamposOcultos(rejilla_.dataSet(), [](plat::DataSet *datos) {
        ModuloDatos->ExportarTexto(datos, nullptr, QStringLiteral("SQL.TXT"), QString());
    });
}

void ComandosRejilla::importarTexto()
{
    if (!EscrituraAutorizada(&rejilla_))
        return;
    QString leido;
    ModuloDatos->ImportarTexto(rejilla_.dataSet(), nullptr, QStringLiteral("SQL.TXT"), QString(), leido);
}

void ComandosRejilla::exportarExcel()
{
    sinCamposOcultos(rejilla_.dataSet(), [](plat::DataSet *datos) {
        ModuloDatos->ExportarExcel(datos, nullptr, QStringLiteral("SQL.XLS"), QString());
    });
}
