#pragma once
#include "GENEW/data/servicios/CacheRespuestasSQL.h"
#include "GENEW/data/servicios/CatalogoClaves.h"
#include "GENEW/data/modulo/FormulariosMDI.h"
#include "GENEW/data/servicios/NombresMotor.h"
#include "GENEW/data/servicios/ObjetosRegistro.h"
#include "GENEW/data/servicios/ParametrosGenerales.h"
#include "GENEW/data/servicios/ServicioMoneda.h"
#include "GENEW/data/servicios/ServicioTraduccion.h"
#include "GENEW/data/servicios/ServicioUsuarios.h"
#include "GENEW/data/modulo/MarcoBusqueda.h"
#include "GENEW/runtime/GENEMENS.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/ServicioSQL.h"
#include "GENEW/runtime/formularios/ServiciosFormulario.h"
#include "platform/base/Gancho.h"
#include "platform/data/engine/QueryResult.h"
#include "platform/ui/DataModule.h"
#include "platform/ui/Form.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"

#include <QDateTime>
#include <QRect>
#include <QStringList>
#include <QVariant>
#include <array>
#include <functional>
#include <memory>
#include <vector>
#include <optional>

class ConexionesPrograma;
namespace textoRegistros {
struct Delimitadores;
}

namespace plat {
class Canvas;
class DBLookupComboBox;
class PreparedReport;
class Connection;
class DBGrid;
class Field;
class Form;
class Image;
} // namespace plat

// The shared data module: one instance, created by the main window before the log-in
// and again for every company opened. It owns the general-parameters record, the
// currency table and the other shared tables, and offers every form the SQL service,
// the engine's names and key metadata, the temporary-table names, the currency services,
// translation, and the users' rights, settings and logs. It needs the start-up form
// (fGENEINIC) and its connections.
class TModuloDatos : public plat::DataModule, public ServiciosFormulario
{
    Q_OBJECT
public:
    explicit TModuloDatos(QObject *parent = nullptr);
    ~TModuloDatos() override;

    // ---- components -------------------------------------------------------------------
    plat::TableComponent *ParamGenerales;
    plat::TableComponent *Usuario;
    plat::TableComponent *Responsabilidad;
    plat::TableComponent *GATablas;
    plat::TableComponent *GAnalisis;
    plat::TableComponent *RegistroAccesos;
    plat::TableComponent *Moneda;
    plat::DataSource *DSMoneda;
    plat::TableComponent *Empresa;
    plat::DataSource *DSEmpresa;
    plat::TableComponent *Table1;
    plat::QueryComponent *Query1;
    plat::TableComponent *QR_Export_Table;
    plat::PrintDialog *PrintDialog1;
    plat::PrinterSetupDialog *PrinterSetupDialog1;
    plat::OpenDialog *OpenDialog1;
    plat::SaveDialog *SaveDialog1;
    plat::FontDialog *FontDialog1;
    plat::ColorDialog *ColorDialog1;

    // ---- state read at creation ---------------------------------------------------------
    std::array<double, 6> TiposIVA{};
    std::array<double, 6> TiposRecargo{};
    bool MonedaBaseDistintaNacional() const { return moneda_->MonedaBaseDistintaNacional(); }
    const CodigosMoneda &CodigosMonedaActuales() const { return moneda_->codigos(); }
    // Amounts are shown in euros: on exactly while the main window's currency panel reads "€".
    bool VistaEnEuros()
    {
        const bool otraMoneda = VistaMonedaActual.valor() && VistaMonedaActual.valor()().menuOtraMoneda;
        return MonedaBaseDistintaNacional() != otraMoneda;
    }
    // The catalogue answers of key fields and columns, kept for the module's life.
    CacheRespuestasSQL &CacheCamposClave() { return *cacheCamposClave_; }
    // The grids whose columns the user moved since their layout was loaded (form name +
    // "." + grid name); only used through the grid-layout operations below.
    QStringList RejillasModificadas;

    void ModuloDatosCreate(QObject *Sender);
    void ModuloDatosDestroy(QObject *Sender);
    void ParamGeneralesAfterPost(plat::DataSet &DataSet);

    // ---- general parameters and currency ------------------------------------------------
    QString NombreEmpresaInforme() const;
    double ConvertirMoneda(const QString &modo, double importe) { return moneda_->ConvertirMoneda(modo, importe); }
    int DecimalesMoneda(int codigo) { return moneda_->DecimalesMoneda(codigo); }
    double CambioMoneda(int codigo) { return moneda_->CambioMoneda(codigo); }
    QString ConvertirTextoImporte(const QString &importe, const QString &modo)
    {
        return moneda_->ConvertirTextoImporte(importe, modo);
    }
    QString ImporteEnOtraMoneda(const QString &importe) { return moneda_->ImporteEnOtraMoneda(importe); }
    // OnGetText of float amount fields (Tag 1000 or more).
    void MostrarImporteMoneda(plat::Field &Sender, QString &Text, bool DisplayText);
    // The value a report's amount control prints; the report layer calls it from the
    // control's print hook.
    QString MostrarImporteMonedaInforme(const QString &valor) { return moneda_->MostrarImporteMonedaInforme(valor); }
    // The template a float field is shown with; the form framework installs the rule it
    // keeps for field names (until then, the standard template).
    Gancho<std::function<QString(const QString &nombreCampo)>> FormatoNumericoDeCampo;
    // The form layer's state the amount texts depend on: whether the active form (or the
    // active MDI child) has a "pbEuro" button and whether it is pressed, and whether the
    // main menu shows amounts in the other currency.
    struct EstadoVistaMoneda
    {
        bool hayBotonEuro = false;
        bool botonEuroPulsado = false;
        bool menuOtraMoneda = false;
    };
    Gancho<std::function<EstadoVistaMoneda()>> VistaMonedaActual;
    // Keeps an installation in one of the module's hooks for the module's life: it ends with
    // the module, before the hook it writes back to.
    void ConservarInstalacion(std::shared_ptr<void> instalacion) { instalaciones_.push_back(std::move(instalacion)); }

    // ---- what the form framework asks of the module (ModuloDatosFormularios.cpp) ----------
    bool HayCamposNoVisibles() const override;
    PlantillasVisualizacion Plantillas() const override;
    void InstalarTextoFecha(plat::Field &campo) override;
    void InstalarTextoHora(plat::Field &campo) override;
    void InstalarTextoImporte(plat::Field &campo, bool instalar) override;
    bool MonedaBaseDistintaEuro() override;
    bool SolicitarCamposUsuario() override;
    bool EsCampoHora(const plat::DataSet &dataSet, const QString &campo) override;
    QString ClaveUltimoRegistroGrupo(plat::DataSet &dataSet) override;

    // ---- SQL service --------------------------------------------------------------------
    QString EjecutarSQL(const QString &sql, const QString &database = QString(),
                        const QString &opciones = QString()) override;
    // As EjecutarSQL, telling no one of a failure: the caller decides by its kind.
    ResultadoSentenciaSQL EjecutarSentenciaSQL(const QString &sql, const QString &database = QString(),
                                               const QString &opciones = QString());
    QString EjecutarSQLADO(const QString &sql, const QString &database = QString(),
                           const QString &opciones = QString());
    QString EjecutarSQLCache(const QString &sql, CacheRespuestasSQL &cache, const QString &database = QString(),
                             const QString &opciones = QString());
    // "SoloLectura": the engine itself refuses any write of the statement (see
    // plat::Connection::runReadOnly). When `fallo` is given it is told why the query did
    // not run (nothing is shown then).
    bool AbrirConsulta(plat::QueryDataSet &query, const QString &opciones = QString(), gp::Fallo *fallo = nullptr);
    bool AbrirConsultaADO(plat::QueryDataSet &query, const QString &opciones = QString());
    // A few rows wanted at once, read whole in one exchange on the program's connection
    // (an open query streams on a connection of its own); missing tables are made and a
    // failure told as AbrirConsulta tells it. False when they could not be read.
    bool LeerFilasConsulta(const QString &sql, plat::QueryResult &filas);
    // Makes the missing tables a statement names; true when all of them are there now, made
    // here or by another program meanwhile, so that the statement is worth running again.
    bool CrearTablasSentencia(const QString &sql, const QString &database);
    void CrearTablaTemporalConsulta(plat::QueryDataSet &query);
    bool InsertarRegistroSQL(const QString &registro, const QString &database = QString(),
                             const QString &opciones = QString());
    void GrabarMemosSQL(plat::TableDataSet &tabla);
    QString AjustarComparacionesVacias(const QString &sql) const;
    void AsignarTextoHora(plat::Field &Sender, const QString &Text);
    void MostrarTextoFecha(plat::Field &Sender, QString &Text, bool DisplayText);
    void MostrarTextoHora(plat::Field &Sender, QString &Text, bool DisplayText);

    // ---- engine names, key metadata, temporary tables -----------------------------------
    QString NombreTablaSQL(const QString &tabla) const override { return nombres_->NombreTablaSQL(tabla); }
    QString QuitarPropietarioTabla(const QString &tabla) const override { return nombres_->QuitarPropietarioTabla(tabla); }
    QString NombreIndice(const plat::TableDataSet &tabla, const QString &indice) const;
    QString CamposClave(plat::DataSet &dataSet, const QString &indice = QString());
    QString CamposClaveSQL(const QString &tabla, const QString &indice = QString());
    QString ColumnasTablaSQL(const QString &tabla, const QString &opciones = QString());
    QString ListaColumnasTabla(const QString &tabla, const QString &opciones = QString());
    int NumeroCamposClave(plat::DataSet &dataSet);
    int NumeroCamposClaveSQL(const QString &tabla);
    // The current record's key values in key order (a QVariantList); a null QVariant when
    // the table has no key fields.
    QVariant ObtenerClaveRegistro(plat::DataSet &dataSet);
    bool LocalizarClave(plat::DataSet &dataSet, const QVariant &clave);
    // The record's key text: each key value followed by ";" ("Hora" fields as time).
    QString ClaveRegistro(plat::DataSet &dataSet, const QString &indice = QString()) override;
    // The record's key text in the side tables: the values of its first k fields joined by
    // "|", k the number of key fields of its current index.
    QString ClaveLateralRegistro(plat::DataSet &dataSet) override;
    QString ClaveUltimoRegistroGrupo(plat::TableDataSet &tabla);
    bool AbrirTabla(plat::TableDataSet &tabla);
    // Set while the main window makes its session's module: RESPDOC, GRANTAB, GRANALIS and
    // REGACCES, which nothing reads while the session starts, are left closed until
    // AbrirTablasAuxiliares; what reads them opens them first.
    static bool DiferirTablasAuxiliares;
    void AbrirTablasAuxiliares();
    bool tablasAuxiliaresPendientes() const { return tablasAuxiliaresPendientes_; }
    void RefrescarDataSet(plat::DataSet &dataSet, const QString &opciones = QString());
    // owner: the form or data module the table belongs to ("Unknown" without one).
    QString NombreTablaTemporal(const QObject *propietario, int numeroTabla);
    QString AbreviarNombreTablaTemporal(const QString &nombreLargo, const QObject *propietario);

    const NombresMotor &nombresMotor() const { return *nombres_; }

    // The Gantt views' time scale over S0..S1, today's line at the present moment.
    void DibujarEscalaTiempo(plat::Canvas &canvas, const QRect &rectangulo, const QDateTime &s0, const QDateTime &s1,
                             const QString &opciones);
    // ---- report output and program windows (ModuloDatosSalida.cpp) -----------------------
    // Sends a prepared report to "PDF:" + a file, to the first printer whose name contains
    // the destination, or (empty) to the current printer through the print dialog unless
    // the general parameter SolicitarDialogoImpresora is "NO".
    void ImprimirInforme(plat::PreparedReport &informe, const QString &destino);
    // The print dialog (PrintDialog1); when confirmed, its printer (or the PDF file chosen in
    // its place), copies, orientation and pages go into the report's printer settings.
    bool EjecutarDialogoImpresora(plat::PreparedReport &informe);
    // Opens a program window of class F named nombre (see AbrirVentanaMDI) into formulario
    // and writes the access-log line of what was done.
    template<class F>
    void AbrirFormularioMDI(F *&formulario, const QString &nombre, const QString &opciones = QString())
    {
        const AperturaMDI apertura = AbrirVentanaMDI(
            nombre, opciones, [](const QString &instancia) -> plat::Form * { return plat::openForm<F>(instancia); });
        formulario = qobject_cast<F *>(apertura.formulario);
        RegistrarAccesoFormulario(apertura.formulario, apertura.accion);
    }
    // The chart window on a chart definition and its series (MostrarGrafico.h).
    void MostrarGrafico(const QString &definicion, const QString &series);
    // The stored statements ("ConsultasSQL") or custom reports ("GeneradorInformes") the user
    // may run from the application, one per line, each followed by CR LF.
    QString ListaConsultasSQL(const QString &usuario, const QString &aplicacion, const QString &tipo);

    // ---- translation (ModuloDatosTraduccion.cpp) -----------------------------------------
    QString Traducir(const QString &texto) override;
    QString TraducirTexto(const QString &texto, const QString &variables = QString(),
                          const QString &idioma = QString());
    QString TraducirClave(const QString &texto);
    QString TraducirPatron(const QString &texto);
    QString TraducirLista(const QString &lista) override;
    QString MarcarSeparador(const QString &texto, const QString &separador, const QString &modo) const;
    ServicioTraduccion &traduccion();

    // ---- users, rights, per-user settings and logs (ModuloDatosUsuarios.cpp) -------------
    // codigo (out): the user logged in; the log-in proposes the run's user ("U=").
    bool IdentificarUsuario(QString &codigo);
    QString UsuarioConfiguracion(const QString &usuario);
    QString LeerConfiguracionUsuario(const QString &usuario, const QString &clave,
                                     const QString &defecto = QString()) override;
    void GrabarConfiguracionUsuario(const QString &usuario, const QString &clave, const QString &valor) override;
    bool UsuarioAccedeEmpresa(const QString &usuario, int empresa);
    QString NivelAccesoPrograma(const QString &usuario, const QString &programa) override;
    bool EsProgramaActivo(const QString &usuario, const QString &programa);
    bool EsAdministrador(const QString &usuario, const QString &opciones = QString());
    bool EsCampoNoVisible(const QString &campo) const override;
    bool ProcesoAutorizado(const QString &usuario, const QString &proceso);
    bool ConsultaAutorizada(const QString &descripcion, const QString &usuario);
    int IndiceBusquedaUsuario(const QString &tabla);
    QString RutaMenu(const QObject *elemento) const;
    void RegistrarAccesoFormulario(const plat::Form *formulario, const QString &accion) override;
    QString ConfiguracionSMTP(const QString &opciones = QString());
    void TrazaDepuracion(const QString &texto);
    void RegistrarTrazaError(const QString &mensaje, QObject *remitente);
    ServicioUsuarios &usuarios();

    // ---- record services by key (ModuloDatosRegistros.cpp) --------------------------------
    // A key text is the ";" form of ClaveRegistro; "Ant:" before the last piece asks
    // LeerRegistroPorClave for the record before that key.
    void ListarDataSet(plat::DataSet &dataSet);
    void ListarDataSetTemporal(plat::DataSet &dataSet, const QString &formato, const QString &titulo);
    void AbrirDocumentacionElectronica(const QString &tabla, const QString &clave);
    bool TieneDocumentacionElectronica(const QString &tabla, const QString &clave);
    // The responsibility data of a record (table, "|" key text) for printing: one text per
    // name of the ";"-separated list (empty: every RESPDOC field, then NombreRealizadoPor,
    // NombreAprobadoPor and NombreRegistradoPor), a name item giving the operator's name; a
    // QStringList, or a null QVariant when the record has none or it cannot be read.
    QVariant CompletarNombresOperarios(const QString &NombreTabla, const QString &ClaveTabla, const QString &Campos);
    bool BorrarTodosLosRegistros(plat::DataSet &dataSet);
    // Opens a gap at the bookmarked line: it and every later line of its document move one
    // number up, all or none.
    bool InsertarLinea(plat::TableDataSet &tabla, const plat::Bookmark &linea);
    bool ExisteClave(plat::DataSet &dataSet, const QString &clave);
    bool ExisteClaveEnTabla(const QString &tabla, const QString &clave);
    // Edits ("Editar", the record with the key text, ";"-joined) or creates ("Insertar", the
    // default) a record of the table in the field viewer: the field list holds, ";"-joined,
    // field names or check descriptors (check>name>values>options); the values, ";"-joined,
    // are read from the record when none are given. False when the table cannot be opened,
    // the record is missing, the user abandons or the record cannot be saved.
    bool EditarRegistroEnVisor(const QString &tabla, const QString &clave, const QString &campos,
                               const QString &valores, const QString &modo = QString(),
                               const QString &baseDatos = QStringLiteral("Database"));
    // Answers (and sets resultado to) the texts of the named fields (";"-joined; empty: all)
    // of the record with the key, as a QStringList; a null QVariant when there is none.
    QVariant LeerRegistroPorClave(plat::TableDataSet &tabla, const QString &clave, QVariant &resultado,
                                  const QString &campos = QString());
    QVariant LeerCamposRegistro(const QString &tabla, const QString &clave, QVariant &resultado,
                                const QString &campos);
    int SiguienteCodigo(plat::TableDataSet &tabla, int paso = 1, int inferior = -1, int superior = -1);
    void CopiarDatosRegistro(plat::TableDataSet &tabla, const QString &clave);
    void CopiarCampoRegistro(plat::TableDataSet &tabla, const QString &campo, const QString &clave);
    bool EstaVacio(plat::DataSet &dataSet);
    void DuplicarRegistro(plat::TableDataSet &maestro, plat::TableDataSet *detalle, QString &resultado);
    // Master and details are copied in one transaction: any failure leaves nothing written,
    // resultado "Error: " + why and the master on its record; "Cancelada" when the user
    // gave up the new key.
    void DuplicarRegistroConDetalles(plat::TableDataSet &maestro, const QList<plat::TableDataSet *> &detalles,
                                     const QString &nuevaClave, QString &resultado);
    // The common BeforeDelete: the record's rows in the side tables go with it.
    bool BorrarRegistrosAsociados(plat::DataSet &tabla);
    int CodigoOperarioPresencia(int codigo);

    // ---- record text, export and import, Excel (ModuloDatosTexto.cpp) --------------------
    // The last record copied as text, values each followed by "|".
    QString RegistroCopiado;
    QString RegistroATexto(plat::DataSet &dataSet, QString &texto);
    QString RegistroATextoOpciones(plat::DataSet &dataSet, const QString &opciones, QString &texto);
    void TextoARegistro(plat::DataSet &dataSet, const QString &opciones = QString());
    void ExportarTexto(plat::DataSet *principal, plat::DataSet *detalle, const QString &fichero,
                       const QString &opciones);
    // ficheroLeido (out): the file the open dialog held at the end.
    void ImportarTexto(plat::DataSet *principal, plat::DataSet *detalle, const QString &fichero,
                       const QString &opciones, QString &ficheroLeido);
    void ExportarExcel(plat::DataSet *principal, plat::DataSet *detalle, const QString &fichero,
                       const QString &opciones);
    void CopiarCampos(plat::DataSet &origen, plat::DataSet &destino, const QString &campos);
    // Modes: "Copiar" (exactly: empty the target, then add), "Agregar", "Sustituir".
    void CopiarRegistros(plat::TableDataSet &origen, plat::TableDataSet &destino, const QString &modo);
    void LimpiarValorControl(QObject *control);
    void LimpiarLookup(plat::DBLookupComboBox &control);
    void LimpiarCampo(plat::Field &campo);

    // ---- settings editor (GENERINI.cpp) ---------------------------------------------------
    // See ::EditarRegistroINI.
    QString EditarRegistroINI(const QString &plantilla, const QString &actual, const QString &titulo,
                              const QString &titulosColumnas, const QString &descriptores, const QString &opciones);

    // ---- analysis groups (ModuloDatosGruposAnalisis.cpp) ----------------------------------
    // The categories of the ","-separated profiles, one a line.
    QString CategoriasPerfilesGA(const QString &perfiles);
    // The SQL condition on CategoriaGrupo for the profile's categories.
    QString FiltroCategoriasGruposAnalisis(const QString &perfil);
    // Asks from and to values per category of the profiles in the list editor (again while a
    // row's to sorts before its from); answers the rows with values, category|from|to a line,
    // and keeps them in RangosGruposAnalisis.
    QString SeleccionarRangosGruposAnalisis(const QString &perfiles, const QString &rangos);
    // The record's group in the category; for "Todas" all its groups joined by ",".
    QString RegistroEnGruposAnalisis(const QString &tabla, const QString &categoria, const QString &clave);
    // ---- record attachments and predefined texts (ModuloDatosObjetos.cpp) -----------------
    // Objects of a record in BLOBTAB; the table name loses its owner prefix. A replaced
    // object stays when storing the new one fails; the error goes to the caller.
    // The picture "Foto" of type "Imagen", shown in the control; an empty file name removes
    // it; an empty table name does nothing.
    void GuardarImagenRegistro(const QString &tabla, const QString &clave, plat::Image *imagen,
                               const QString &fichero);
    bool GuardarDocumentoRegistro(const QString &tabla, const QString &clave, const QString &idObjeto,
                                  const QString &tipoObjeto, const QString &fichero, const QString &nombre,
                                  const QString &descripcion);
    QString TipoObjetoRegistro(const QString &tabla, const QString &clave, const QString &idObjeto);
    QString ExtraerObjetoRegistro(const QString &tabla, const QString &clave, const QString &idObjeto);
    // A picture object (BMP or JPEG) into the control; empty when there is none or it
    // cannot be read. No file is left behind.
    void CargarImagenRegistro(const QString &tabla, const QString &clave, const QString &idObjeto,
                              plat::Image *imagen);
    // Opens the Word document of the table's current record (key: its first field's text),
    // first made from a template the user picks when there is none, and stores it back
    // when the word processor ends.
    void AbrirDocumentoWordRegistro(plat::TableDataSet &tabla, plat::DataSet *detalle);
    // The text of a TEXTO code (the search offers one when the code is not there), a
    // template filled in by the user first.
    QString ObtenerTextoPredefinido(const QString &codigo);
    QString RellenarPlantillaTexto(const QString &codigo);

    // ---- grid layouts and SQL variables (ModuloDatosFiltro.cpp) -------------------------
    // A grid's layout (font, columns) is kept in FILTRO under form name + "." + grid name,
    // for every user of the company.
    void GuardarConfiguracionRejilla(const QString &formulario, plat::DBGrid &rejilla);
    void RestaurarConfiguracionRejilla(const QString &formulario, plat::DBGrid &rejilla);
    void CargarConfiguracionRejilla(const QString &formulario, plat::DBGrid &rejilla);
    void MarcarRejillaModificada(QObject *Sender, int FromIndex, int ToIndex);
    bool RejillaModificada(const QString &clave);
    // Fits the visible columns to the grid's width from their fields' default widths
    // (never reading rows); options "ColumnaInicial:n" keep the columns before n.
    void AjustarColumnasRejilla(plat::DBGrid &rejilla, const QString &opciones);
    void AjustarRejilla(plat::DBGrid &rejilla) { AjustarColumnasRejilla(rejilla, QString()); }
    int AnchoColumnasRejilla(const plat::DBGrid &rejilla) const;
    // After a layout is loaded the grid's form gets the user's hidden controls and its
    // translation; the form framework installs how.
    Gancho<std::function<void(QWidget *formulario)>> PrepararFormularioRejilla;
    // The variables of a stored SQL text, one per line; and the query's parameters made
    // anew from the "|"-separated values, one per variable in order (a "*" list's value
    // becomes its items, each bound as a text: plat::sqlListItems).
    QString ParametrosSQL(const QString &sql) const;
    void AsignarParametrosSQL(plat::QueryDataSet &query, const QString &valores) const;

private:
    bool tablasAuxiliaresPendientes_ = false;
    void crearComponentes();
    void abrirUsuario();
    void leerParametrosGenerales();
    void definirAdministrador();
    bool usuariosDefinidosPorOtro();
    void instalarServicios();
    // The form framework's entry points get the record services, the search, the dialogs,
    // the calculator and the keypad; what they held before comes back when the module goes.
    void conectarFramework();
    void retirarServicios();
    ConexionesPrograma &conexiones() const;
    CatalogoClaves catalogo(const QString &baseDatos);
    bool abrirConsultaEn(plat::QueryDataSet &query, QString opciones, plat::Connection &conexion,
                         gp::Fallo *fallo = nullptr);
    // The work of a query, run again once after the tables its text names were made when one
    // was missing; a failure told unless `opciones` say "Silencio" or `fallo` takes it.
    bool ejecutarConsulta(const std::function<void()> &trabajo, const QString &sql, const QString &opciones,
                          plat::Connection &conexion, gp::Fallo *fallo);
    bool tablaPresente(plat::Connection &conexion, const QString &nombre);
    // The connection a query runs on: the one its database name selects, else porDefecto.
    plat::Connection &conexionDeConsulta(plat::QueryDataSet &query, plat::Connection &porDefecto);
    static QString nombrePropietario(const QObject *componente);
    static QString tablaDeDataSet(const plat::DataSet &dataSet);
    std::unique_ptr<plat::TableDataSet> tablaEn(const QString &baseDatos, plat::Connection *conexion,
                                                const QString &tabla);
    std::unique_ptr<plat::TableDataSet> copiaDeTabla(const plat::TableDataSet &tabla);
    bool abrirLinea(plat::TableDataSet &tabla);
    bool renumerarLineas(plat::TableDataSet &lineas, const plat::Bookmark &linea);
    bool pedirNuevaClave(plat::TableDataSet &maestro, const QStringList &camposClave, const QString &nuevaClave,
                         QStringList &valores);
    QString perfilesCategoriasGA() const;
    QStringList gruposEnTablas(const QString &tabla, const QString &categoria, const QString &clave);
    textoRegistros::Delimitadores delimitadoresTexto(const QString &opciones);
    int camposClaveExportacion(plat::DataSet &dataSet);
    void copiarRegistroConClave(plat::DataSet &origen, plat::TableDataSet &destino, const QStringList &clave,
                                int k);

    ServicioObjetos &objetos();
    ObjetoRegistro objetoRegistro(const QString &tabla, const QString &clave, const QString &idObjeto) const;
    // The first value of a statement's answer on the company database; empty when none.
    QString valorConsulta(const QString &sql);

    std::unique_ptr<CacheRespuestasSQL> cacheCamposClave_;
    std::unique_ptr<NombresMotor> nombres_;
    std::optional<Gancho<NombresCreacionTablas>::Instalacion> nombresTablas_;
    std::optional<Gancho<std::function<QString()>>::Instalacion> razonSocial_;
    std::optional<Gancho<ManejadorExcepciones::TrazaErrorFn>::Instalacion> trazaError_;
    std::optional<Gancho<TraduccionMensajesFn>::Instalacion> traduccionMensajes_;
    std::optional<Gancho<ServiciosFormulario *>::Instalacion> serviciosFormulario_;
    std::optional<Gancho<std::function<QString(const QString &)>>::Instalacion> formatoNumerico_;
    std::optional<Gancho<std::function<EstadoVistaMoneda()>>::Instalacion> vistaMoneda_;
    std::optional<Gancho<std::function<void(QWidget *)>>::Instalacion> prepararRejilla_;
    std::optional<PuntosEntradaFormulario> puntosEntradaPrevios_;
    std::optional<Gancho<MarcoBusqueda>::Instalacion> marcoBusqueda_;
    std::unique_ptr<TablaMonedas> tablaMonedas_;
    std::unique_ptr<ServicioMoneda> moneda_;
    std::unique_ptr<plat::Connection> conexionUsuario_;   // Usuario's own ADO connection, when it has one
    std::unique_ptr<FuenteTraducciones> fuenteTraducciones_;
    std::unique_ptr<ServicioTraduccion> traduccion_;
    std::unique_ptr<TablaUsuarios> tablaUsuarios_;
    std::unique_ptr<ServicioUsuarios> usuarios_;
    std::unique_ptr<AlmacenObjetos> almacenObjetos_;
    std::unique_ptr<ServicioObjetos> objetos_;
    bool rejillasOcupadas_ = false;   // a grid-layout operation on RejillasModificadas runs
    std::vector<std::shared_ptr<void>> instalaciones_;   // last: they go before the hooks
};

// Hides the first column of the grid bound to the field.
void OcultarColumnaRejilla(const QString &campo, plat::DBGrid &rejilla);

extern TModuloDatos *ModuloDatos;
// The last range text the analysis-group range dialog answered, for the listings to print.
extern QString RangosGruposAnalisis;
// True from the end of the module's creation until its destruction.
extern bool ModuloDatosCreado;
