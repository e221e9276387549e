// The record services by key of the data module: existence, reading, numbering, copying,
// duplicating with lines, line gaps, deletion and the side tables of a record.
#include "GENEW/data/servicios/ClaveTexto.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/modulo/VentanasModulo.h"
#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/data/servicios/SentenciasRegistros.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/comun/RutinasTipos.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"

namespace {

const QString kDatabase = QStringLiteral("Database");
const QString kErrorInsertandoLinea = QStringLiteral("¡ Se ha producido un error insertando la línea !");
const QString kBloqueado = QStringLiteral("¡El registro está bloqueado por otro usuario!");
constexpr int kMaximoRegistrosListado = 1000;
constexpr int kIntentosAperturaLinea = 3;

QStringList nombres(const QString &lista) { return lista.split(u';', Qt::SkipEmptyParts); }

// The key pieces as the fields' values, for an exact search on the leading index fields.
QVariantList valoresClave(const plat::DataSet &tabla, const QStringList &campos, const QStringList &piezas)
{
    QVariantList valores;
    for (int i = 0; i < campos.size(); ++i) {
        const plat::Field &campo = tabla.fieldByName(campos.at(i));
        valores << claveTexto::ValorDeTexto(campo, claveTexto::PiezaNormalizada(campo, piezas.value(i)));
    }
    return valores;
}

bool mismoValorClave(const plat::Field &campo, const QString &pieza)
{
    if (claveTexto::EsCampoHoraClave(campo))
        return claveTexto::TextoCampo(campo) == claveTexto::PiezaNormalizada(campo, pieza);
    const QVariant buscado = claveTexto::ValorDeTexto(campo, pieza);
    if (campo.isNull() || !buscado.isValid())
        return campo.isNull() == !buscado.isValid() || campo.asString().isEmpty() == buscado.toString().isEmpty();
    return campo.value() == campo.convert(buscado);
}

// The fields' values of the current record, for a copy that keeps everything but the key.
QVector<QVariant> valoresRegistro(const plat::DataSet &dataSet)
{
    QVector<QVariant> valores;
    for (int i = 0; i < dataSet.fieldCount(); ++i)
        valores << dataSet.field(i).value();
    return valores;
}

// Rolls the connection's transaction back unless it was committed.
class TransaccionRegistros
{
public:
    explicit TransaccionRegistros(plat::Connection *conexion) : conexion_(conexion)
    {
        iniciada_ = fGENEINIC->IniciarTransaccion(conexion_);
    }
    ~TransaccionRegistros()
    {
        if (iniciada_)
            fGENEINIC->CancelarTransaccion(conexion_);
    }
    bool iniciada() const { return iniciada_; }
    bool confirmar()
    {
        iniciada_ = false;
        return fGENEINIC->ConfirmarTransaccion(conexion_);
    }
    void anular()
    {
        if (iniciada_)
            fGENEINIC->CancelarTransaccion(conexion_);
        iniciada_ = false;
    }

private:
    plat::Connection *conexion_;
    bool iniciada_ = false;
};

} // namespace

std::unique_ptr<plat::TableDataSet> TModuloDatos::tablaEn(const QString &baseDatos, plat::Connection *conexion,
                                                         const QString &tabla)
{
    auto t = std::make_unique<plat::TableDataSet>(QStringLiteral("TablaRegistro"));
    t->setDatabaseName(baseDatos);
    t->setConnection(conexion ? conexion : &conexiones().ConexionDeBaseDatos(baseDatos));
    t->setTableName(tabla);
    return t;
}

std::unique_ptr<plat::TableDataSet> TModuloDatos::copiaDeTabla(const plat::TableDataSet &tabla)
{
    return tablaEn(tabla.databaseName(), tabla.connection(), tabla.tableName());
}

// ---- listings ---------------------------------------------------------------------------------

void TModuloDatos::ListarDataSet(plat::DataSet &dataSet)
{
    VentanasModulo &ventanas = ventanasModulo();
    if (!ventanas.HayListado())
        return;
    if (dynamic_cast<plat::TableDataSet *>(&dataSet)) {
        ventanas.AbrirListado(dataSet, QString(), QString(), QString());
        return;
    }
    const auto *consulta = dynamic_cast<plat::QueryDataSet *>(&dataSet);
    if (!consulta)
        return;
    const QString tabla = ObtenerTablaDeSQL(consulta->sql());
    if (tabla.isEmpty())
        return;
    auto completa = tablaEn(fGENEINIC->BaseDatosDeTabla(tabla), nullptr, NombreTablaSQL(tabla));
    if (AbrirTabla(*completa))
        ventanas.AbrirListado(*completa, QString(), QString(), QString());
}

void TModuloDatos::ListarDataSetTemporal(plat::DataSet &dataSet, const QString &formato, const QString &titulo)
{
    if (!dataSet.active()) {
        MensajeInformacion(QStringLiteral("No hay registros para listar"));
        return;
    }
    if (dataSet.recordCount() > kMaximoRegistrosListado
        && MensajeConfirmacion(QStringLiteral("El informe tiene más de 1000 registros. ¿Desea continuar?"))
            != QLatin1String("SI"))
        return;
    QString definicion = QStringLiteral("Tabla Temporal\r\n");
    for (int i = 0; i < dataSet.fieldCount(); ++i) {
        const plat::Field &campo = dataSet.field(i);
        definicion += QStringLiteral("/C/%1/%2/%3/%4/\r\n")
                          .arg(i + 1)
                          .arg(campo.fieldName(), NombreTipoCampo(campo.dataType()))
                          .arg(campo.size());
    }
    plat::TableDataSet temporal(QStringLiteral("TablaListado"));
    {
        plat::BusyCursor reloj;
        DataSetAbribleDe<plat::TableDataSet> abrible(temporal, objectName());
        try {
            if (!fGENEINIC->CrearTabla(abrible, definicion, conexiones().EmpresaActual))
                return;
            if (!temporal.active())
                temporal.open();
        } catch (const gp::Error &) {
            return;
        }
        const plat::Bookmark marca = dataSet.bookmark();
        dataSet.disableControls();
        try {
            for (dataSet.first(); !dataSet.eof(); dataSet.next()) {
                temporal.append();
                CopiarCampos(dataSet, temporal, QString());
                temporal.post();
            }
        } catch (const gp::Error &) {
            if (temporal.state() != plat::DataSetState::Browse)
                temporal.cancel();
        }
        if (marca.isValid() && dataSet.bookmarkValid(marca))
            dataSet.gotoBookmark(marca);
        dataSet.enableControls();
        RefrescarDataSet(temporal);
    }
    // The temporary table goes whatever the listing does.
    const auto borrar = qScopeGuard([&] {
        try {
            temporal.close();
            temporal.deleteTable();
        } catch (const gp::Error &) {
        }
    });
    auto *boton = ventanasModulo().BotonTablaLogicaListado();
    if (boton) {
        boton->setDownState(true);
        boton->setVisible(false);
    }
    const auto restaurarBoton = qScopeGuard([&] {
        if (boton) {
            boton->setVisible(true);
            boton->setDownState(false);
        }
    });
    ventanasModulo().AbrirListado(temporal, formato, titulo, QStringLiteral("CamposOrdenadosOFF"));
}

// ---- electronic documents and side tables -----------------------------------------------------

void TModuloDatos::AbrirDocumentacionElectronica(const QString &tabla, const QString &clave)
{
    fGENEINIC->AbrirDocumentacionElectronica(tabla, clave);
}

bool TModuloDatos::TieneDocumentacionElectronica(const QString &tabla, const QString &clave)
{
    // A company whose documents' table was never made has no documents: asking makes none.
    const ResultadoSentenciaSQL resultado = EjecutarSentenciaSQL(
        sentenciasRegistros::DocumentacionElectronica(QuitarPropietarioTabla(tabla), clave), kDatabase,
        OpcionSQL::NoCrearTabla);
    if (resultado.fallo.tipo == gp::DatabaseErrorKind::MissingTable)
        return false;
    if (resultado.fallo)
        InformarSentenciaErronea(resultado.respuesta, resultado.sentencia, resultado.fallo);
    return !resultado.fallo && !resultado.respuesta.isEmpty();
}

QVariant TModuloDatos::CompletarNombresOperarios(const QString &NombreTabla, const QString &ClaveTabla,
                                                 const QString &Campos)
{
    static const QStringList kNombres = {QStringLiteral("NombreRealizadoPor"), QStringLiteral("NombreAprobadoPor"),
                                         QStringLiteral("NombreRegistradoPor")};
    AbrirTablasAuxiliares();
    plat::TableDataSet &respdoc = Responsabilidad->table();
    try {
        if (!respdoc.active())
            return QVariant();
        respdoc.refresh();
        const QString tabla = QuitarPropietarioTabla(NombreTabla);
        // A key with a final "|" may be kept with or without it.
        const bool encontrada = ClaveTabla.endsWith(u'|')
            ? respdoc.findKey({tabla, ClaveTabla.chopped(1)}) || respdoc.findKey({tabla, ClaveTabla})
            : respdoc.findKey({tabla, ClaveTabla});
        if (!encontrada)
            return QVariant();
        const QStringList campos = Campos.isEmpty() ? respdoc.fieldNames() + kNombres : Campos.split(u';');
        QStringList valores;
        for (const QString &campo : campos) {
            if (const qsizetype n = kNombres.indexOf(campo); n >= 0) {
                const QString codigo = respdoc.fieldByName(campo.mid(6)).asString();
                QVariant nombre;
                LeerCamposRegistro(QStringLiteral("OPERARIO"), codigo, nombre, QStringLiteral("Nombre"));
                valores << nombre.toStringList().value(0);
            } else {
                const plat::Field *f = respdoc.findField(campo);
                valores << (f ? f->asString() : QString());
            }
        }
        return valores;
    } catch (const gp::Error &) {
        return QVariant();
    }
}

bool TModuloDatos::BorrarRegistrosAsociados(plat::DataSet &tabla)
{
    const QString clave = claveTexto::ClaveLateral(tabla, NumeroCamposClave(tabla));
    const QString nombre = QuitarPropietarioTabla(tablaDeDataSet(tabla));
    bool borrados = true;
    for (const auto &borrado : sentenciasRegistros::BorrarAsociados(nombre, clave)) {
        const QString respuesta = EjecutarSQL(borrado.sentencia, kDatabase);
        if (!respuesta.isEmpty()) {
            MensajeAviso(borrado.mensaje + respuesta);
            borrados = false;
        }
    }
    return borrados;
}

int TModuloDatos::CodigoOperarioPresencia(int codigo)
{
    int presencia = 0;
    const QString respuesta = EjecutarSQL(sentenciasRegistros::CodigoOperarioPresencia(codigo), kDatabase);
    return LeerEntero(respuesta.trimmed(), presencia) && presencia != 0 ? presencia : codigo;
}

// ---- deletion of every record ------------------------------------------------------------------

bool TModuloDatos::BorrarTodosLosRegistros(plat::DataSet &dataSet)
{
    if (MensajeConfirmacion(QStringLiteral("¡Esta opción elimina todos los registros activos de la tabla!. Puede "
                                           "utilizar previamente la opción Filtrar Registros del Menú Ficha para "
                                           "limitar los registros a eliminar. ¿Desea continuar?"))
        != QLatin1String("SI"))
        return true;
    if (MensajeConfirmacion(
            QStringLiteral("¿Está Vd. realmente seguro de querer eliminar todos los registros activos de la tabla?"))
        != QLatin1String("SI"))
        return true;
    plat::BusyCursor reloj;
    try {
        dataSet.first();
        while (!dataSet.eof() && !dataSet.isEmpty())
            dataSet.remove();
    } catch (const gp::Error &) {
        MensajeAviso(QStringLiteral("¡Imposible eliminar el registro!"));
        return false;
    }
    return true;
}

// ---- a gap in the line numbering ---------------------------------------------------------------

bool TModuloDatos::abrirLinea(plat::TableDataSet &tabla)
{
    plat::TableDataSet &t = Table1->table();
    t.close();
    t.setDatabaseName(fGENEINIC->Database().databaseName());
    t.setConnection(&fGENEINIC->Database());
    t.setTableName(tabla.tableName());
    t.setIndexName(QString());
    for (int intento = 0; intento < kIntentosAperturaLinea; ++intento)
        if (AbrirTabla(t))
            return true;
    return false;
}

bool TModuloDatos::InsertarLinea(plat::TableDataSet &tabla, const plat::Bookmark &linea)
{
    if (!abrirLinea(tabla)) {
        MensajeAviso(kErrorInsertandoLinea);
        return false;
    }
    plat::TableDataSet &lineas = Table1->table();
    const auto cerrar = qScopeGuard([&] { lineas.close(); });
    TransaccionRegistros transaccion(&fGENEINIC->Database());
    bool hecho = false;
    try {
        hecho = transaccion.iniciada() && renumerarLineas(lineas, linea);
    } catch (const gp::Error &) {
        hecho = false;
    }
    if (hecho)
        hecho = transaccion.confirmar();
    if (!hecho) {
        transaccion.anular();
        MensajeAviso(kErrorInsertandoLinea);
    }
    return hecho;
}

bool TModuloDatos::renumerarLineas(plat::TableDataSet &lineas, const plat::Bookmark &linea)
{
    if (!lineas.bookmarkValid(linea))
        return false;
    lineas.gotoBookmark(linea);
    const QStringList campos = nombres(CamposClave(lineas));
    if (campos.isEmpty())
        return false;
    const QString campoLinea = campos.last();
    // At most three leading key values name the document the line belongs to; the range
    // ends at the last of them that is not empty.
    QVariantList documento;
    int conValor = 0;
    for (int i = 0; i < 3 && i < campos.size(); ++i) {
        if (campos.at(i) == campoLinea)
            continue;
        const plat::Field &campo = lineas.fieldByName(campos.at(i));
        documento << campo.value();
        if (!campo.isNull() && !campo.asString().isEmpty())
            conValor = int(documento.size());
    }
    documento = documento.mid(0, conValor);
    const qint64 desde = lineas.fieldByName(campoLinea).asInteger();
    if (!documento.isEmpty())
        lineas.setRange(documento, documento);
    // The numbers to move, highest first, so that no number is taken twice.
    QList<qint64> numeros;
    for (lineas.last(); !lineas.bof(); lineas.prior()) {
        const qint64 numero = lineas.fieldByName(campoLinea).asInteger();
        if (numero < desde)
            break;
        numeros << numero;
        if (lineas.bof())
            break;
    }
    plat::Field &campoNumero = lineas.fieldByName(campoLinea);
    const int posicionNumero = campoNumero.index();
    for (const qint64 numero : numeros) {
        QVariantList clave = documento;
        clave << numero;
        if (!lineas.findKey(clave))
            return false;
        const QVector<QVariant> valores = valoresRegistro(lineas);
        const plat::Bookmark anterior = lineas.bookmark();
        lineas.insert();
        try {
            for (int i = 0; i < valores.size(); ++i)
                if (!lineas.field(i).isCalculated())
                    lineas.field(i).setValue(i == posicionNumero ? QVariant(numero + 1) : valores.at(i));
            lineas.post();
        } catch (const gp::Error &) {
            lineas.cancel();
            throw;
        }
        lineas.gotoBookmark(anterior);
        lineas.remove();
    }
    return true;
}

// ---- existence and reading by key --------------------------------------------------------------

bool TModuloDatos::ExisteClave(plat::DataSet &dataSet, const QString &clave)
{
    const QString tabla = tablaDeDataSet(dataSet);
    if (tabla.isEmpty())
        return false;
    const QStringList campos = nombres(CamposClaveSQL(tabla));
    if (campos.isEmpty())
        return false;
    const QString respuesta = EjecutarSQL(sentenciasRegistros::ExisteClave(tabla, campos, clave),
                                          EsTablaGeneral(tabla) ? QStringLiteral("DatabaseGeneral") : kDatabase);
    return !respuesta.isEmpty() && !respuesta.contains(QLatin1String("Error."));
}

bool TModuloDatos::ExisteClaveEnTabla(const QString &tabla, const QString &clave)
{
    if (tabla.isEmpty())
        return false;
    auto t = tablaEn(fGENEINIC->BaseDatosDeTabla(tabla), nullptr, NombreTablaSQL(tabla));
    return ExisteClave(*t, clave);
}

QVariant TModuloDatos::LeerRegistroPorClave(plat::TableDataSet &tabla, const QString &clave, QVariant &resultado,
                                            const QString &campos)
{
    resultado = QStringList();
    auto t = copiaDeTabla(tabla);
    try {
        if (!AbrirTabla(*t)) {
            resultado = QVariant();
            return resultado;
        }
        const QStringList camposClave = t->indexFields();
        const claveTexto::ClaveLeida leida = claveTexto::LeerClave(clave, int(camposClave.size()));
        QString lista = campos;
        if (lista.isEmpty())
            for (const QString &nombre : t->fieldNames())
                lista += nombre + u';';
        bool encontrado = false;
        if (camposClave.isEmpty()) {
            t->first();
            encontrado = !t->isEmpty();
        } else if (camposClave.size() <= 4) {
            encontrado = t->findKey(valoresClave(*t, camposClave, leida.piezas));
        }
        if (encontrado && leida.anterior) {
            t->prior();
            encontrado = !t->bof();
            for (int i = 0; encontrado && i + 1 < camposClave.size(); ++i)
                encontrado = mismoValorClave(t->fieldByName(camposClave.at(i)), leida.piezas.at(i));
        }
        if (!encontrado) {
            resultado = QVariant();
            return resultado;
        }
        QStringList valores;
        for (int i = 0;; ++i) {
            const QString nombre = ExtraerCampo(i, lista, QStringLiteral(";"));
            if (nombre.isEmpty())
                break;
            const plat::Field &campo = t->fieldByName(nombre);
            valores << (claveTexto::EsCampoHoraClave(campo) ? claveTexto::TextoCampo(campo) : campo.asString());
        }
        resultado = valores;
    } catch (const gp::Error &) {
        resultado = QVariant();
    }
    return resultado;
}

QVariant TModuloDatos::LeerCamposRegistro(const QString &tabla, const QString &clave, QVariant &resultado,
                                          const QString &campos)
{
    const QString nombre = NombreTablaSQL(tabla);
    if (!nombres_->esSQLServer()) {
        auto t = tablaEn(fGENEINIC->BaseDatosDeTabla(tabla), nullptr, nombre);
        return LeerRegistroPorClave(*t, clave, resultado, campos);
    }
    plat::QueryDataSet &consulta = Query1->query();
    consulta.close();
    consulta.setDatabaseName(fGENEINIC->BaseDatosDeTabla(tabla));
    consulta.setSql(sentenciasRegistros::LeerCampos(nombre, campos, nombres(CamposClaveSQL(nombre)), clave));
    resultado = QVariant();
    if (AbrirConsulta(consulta, QStringLiteral("Silencio")) && !consulta.isEmpty()) {
        QStringList valores;
        const int n = ContarCaracter(u';', campos) + 1;
        for (int i = 0; i < n; ++i)
            valores << (i < consulta.fieldCount() ? consulta.field(i).asString() : QString());
        resultado = valores;
    }
    consulta.close();
    return resultado;
}

// ---- numbering and copying --------------------------------------------------------------------

int TModuloDatos::SiguienteCodigo(plat::TableDataSet &tabla, int paso, int inferior, int superior)
{
    const QStringList campos = nombres(CamposClave(tabla));
    if (campos.isEmpty())
        return paso;
    const QString campoCodigo = campos.last();
    const plat::Field *codigo = tabla.active() ? tabla.findField(campoCodigo) : nullptr;
    const bool codigoTexto = codigo && codigo->dataType() == ftString;
    // A key field without a value yet (the date of a new line not typed) narrows nothing: the
    // highest code of more rows is still free among fewer, and "Fecha=" is no SQL.
    QList<sentenciasRegistros::CondicionCodigo> otros;
    for (int i = 0; i + 1 < campos.size(); ++i)
        if (const plat::Field *f = tabla.active() ? tabla.findField(campos.at(i)) : nullptr)
            if (const QString valor = ValorASQL(f->value()); !valor.isEmpty())
                otros << sentenciasRegistros::CondicionCodigo{campos.at(i), valor};
    const QString baseDatos = QStringLiteral("?") + tabla.databaseName();
    const plat::Dialect &dialecto =
        tabla.connection() ? tabla.connection()->dialect() : conexiones().ConexionDeSelector(baseDatos).dialect();
    const QString sql = sentenciasRegistros::SiguienteCodigo(dialecto, NombreTablaSQL(tabla.tableName()), campoCodigo,
                                                             codigoTexto, inferior, superior, otros);
    const QString respuesta = EjecutarSQL(sql, baseDatos, codigoTexto ? QStringLiteral("Silenciosa") : QString());
    int maximo = 0;
    if (EsRespuestaErrorSQL(respuesta) || !LeerEntero(respuesta.trimmed(), maximo))
        maximo = 0;
    return maximo + paso;
}

void TModuloDatos::CopiarDatosRegistro(plat::TableDataSet &tabla, const QString &clave)
{
    try {
        tabla.updateIndexDefs();
        const QStringList propios = tabla.indexDefs().isEmpty() ? QStringList() : tabla.indexDefs().first().fields;
        auto t = copiaDeTabla(tabla);
        if (!AbrirTabla(*t))
            return;
        const QStringList campos = t->indexFields();
        if (campos.isEmpty() || campos.size() > 6)
            return;
        if (!t->findKey(valoresClave(*t, campos, claveTexto::LeerClave(clave, int(campos.size())).piezas)))
            return;
        for (int i = 0; i < t->fieldCount(); ++i) {
            const plat::Field &origen = t->field(i);
            if (propios.contains(origen.fieldName(), Qt::CaseInsensitive))
                continue;
            try {
                if (plat::Field *destino = tabla.findField(origen.fieldName()))
                    destino->setValue(origen.value());
            } catch (const gp::Error &) {
                // A field the record cannot take keeps its value.
            }
        }
    } catch (const gp::Error &) {
    }
}

void TModuloDatos::CopiarCampoRegistro(plat::TableDataSet &tabla, const QString &campo, const QString &clave)
{
    try {
        auto t = copiaDeTabla(tabla);
        if (!AbrirTabla(*t))
            return;
        const QStringList campos = t->indexFields();
        if (campos.isEmpty() || campos.size() > 5)
            return;
        if (t->findKey(valoresClave(*t, campos, claveTexto::LeerClave(clave, int(campos.size())).piezas)))
            tabla.fieldByName(campo).setValue(t->fieldByName(campo).value());
    } catch (const gp::Error &) {
    }
}

bool TModuloDatos::EstaVacio(plat::DataSet &dataSet) { return dataSet.isEmpty(); }

// ---- duplicating a record with its lines --------------------------------------------------------

void TModuloDatos::DuplicarRegistro(plat::TableDataSet &maestro, plat::TableDataSet *detalle, QString &resultado)
{
    QList<plat::TableDataSet *> detalles;
    if (detalle)
        detalles << detalle;
    DuplicarRegistroConDetalles(maestro, detalles, QString(), resultado);
}

bool TModuloDatos::pedirNuevaClave(plat::TableDataSet &maestro, const QStringList &camposClave,
                                   const QString &nuevaClave, QStringList &valores)
{
    for (int i = 0; i < camposClave.size(); ++i) {
        const plat::Field &campo = maestro.fieldByName(camposClave.at(i));
        QString valor;
        if (nuevaClave.isEmpty()) {
            QString sugerido = QString::number(SiguienteCodigo(maestro, 1, -1, -1));
            if (sugerido == QLatin1String("0"))
                sugerido = claveTexto::TextoCampo(campo);
            valor = MensajePedirDato(
                QStringLiteral("Introduzca el nuevo ") + AbreviarNombreCampo(campo.fieldName(), 1) + u':', sugerido);
        } else {
            valor = claveTexto::Pieza(nuevaClave, i);
        }
        if (valor.isEmpty())
            return false;
        if (campo.dataType() == ftSmallint && valor.size() > 4) {
            MensajeAviso(QStringLiteral("¡El valor introducido es demasiado grande (el máximo es de 4 dígitos)!"));
            return false;
        }
        if (campo.dataType() == ftInteger && valor.size() > 8) {
            MensajeAviso(QStringLiteral("¡El valor introducido es demasiado grande (el máximo es de 8 dígitos)!"));
            return false;
        }
        valores << valor;
    }
    return true;
}

void TModuloDatos::copiarRegistroConClave(plat::DataSet &origen, plat::TableDataSet &destino, const QStringList &clave,
                                          int k)
{
    destino.insert();
    try {
        for (int i = 0; i < destino.fieldCount(); ++i) {
            plat::Field &campo = destino.field(i);
            if (campo.isCalculated())
                continue;
            if (i < k) {
                campo.setValue(claveTexto::ValorDeTexto(campo, claveTexto::PiezaNormalizada(campo, clave.value(i))));
                continue;
            }
            const plat::Field *fuente = origen.findField(campo.fieldName());
            if (!fuente)
                continue;
            try {
                campo.setValue(fuente->value());
            } catch (const gp::Error &) {
                // A value this table cannot hold is left out of the copy.
            }
        }
        destino.post();
    } catch (const gp::Error &) {
        destino.cancel();
        throw;
    }
}

void TModuloDatos::DuplicarRegistroConDetalles(plat::TableDataSet &maestro, const QList<plat::TableDataSet *> &detalles,
                                               const QString &nuevaClave, QString &resultado)
{
    resultado.clear();
    const QStringList camposClave = nombres(CamposClave(maestro));
    const int k = int(camposClave.size());
    QStringList clave;
    try {
        if (!pedirNuevaClave(maestro, camposClave, nuevaClave, clave)) {
            resultado = QStringLiteral("Cancelada");
            return;
        }
    } catch (const gp::Error &error) {
        resultado = QStringLiteral("Error: ") + error.mensaje();
        return;
    }
    plat::BusyCursor reloj;
    auto copia = copiaDeTabla(maestro);
    if (!AbrirTabla(*copia))
        return;
    TransaccionRegistros transaccion(copia->connection());
    plat::Bookmark nuevo;
    try {
        if (!transaccion.iniciada())
            throw gp::DatabaseError(QStringLiteral("¡No se puede iniciar la transacción!"));
        copiarRegistroConClave(maestro, *copia, clave, k);
        nuevo = copia->bookmark();
        for (plat::TableDataSet *detalle : detalles) {
            if (!detalle)
                continue;
            auto lineas = copiaDeTabla(*detalle);
            detalle->disableControls();
            const auto habilitar = qScopeGuard([&] { detalle->enableControls(); });
            if (!AbrirTabla(*lineas)) {
                MensajeAviso(kBloqueado);
                throw gp::DatabaseError(kBloqueado);
            }
            const plat::Bookmark marca = detalle->bookmark();
            for (detalle->first(); !detalle->eof(); detalle->next())
                copiarRegistroConClave(*detalle, *lineas, clave, k);
            if (marca.isValid() && detalle->bookmarkValid(marca))
                detalle->gotoBookmark(marca);
        }
        if (!transaccion.confirmar())
            throw gp::DatabaseError(QStringLiteral("¡No se puede finalizar la transacción!"));
    } catch (const gp::Error &error) {
        transaccion.anular();
        resultado = QStringLiteral("Error: ") + error.mensaje();
        return;
    }
    try {
        maestro.refresh();
        if (maestro.bookmarkValid(nuevo))
            maestro.gotoBookmark(nuevo);
    } catch (const gp::Error &) {
    }
}
