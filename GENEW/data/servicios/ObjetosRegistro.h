#pragma once
#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>

class QIODevice;

namespace plat {
class DataSet;
class QueryDataSet;
} // namespace plat

// The objects a record holds in BLOBTAB (its picture "Foto", its Word document
// "DocumentoWord", any file a caller names), one row per table, key text and object name.

struct ObjetoRegistro
{
    QString tabla;   // without owner prefix
    QString clave;
    QString id;
};

// A new object: its type, its bytes (read to the end) and, for documents, its name,
// description and the moment it is stored (an invalid moment leaves the dates empty).
struct ObjetoNuevo
{
    QString tipo;
    QIODevice *contenido = nullptr;
    QString nombre;
    QString descripcion;
    QDateTime creacion;
};

// What the services need of the data module: queries on the company database, an
// all-or-nothing write and the module's extraction file.
class AlmacenObjetos
{
public:
    virtual ~AlmacenObjetos() = default;
    // The statement opened (live: its row can be deleted and rows appended); raises
    // gp::Error when it cannot be opened, the failure already told.
    virtual std::unique_ptr<plat::QueryDataSet> abrirConsulta(const QString &sql, bool viva) = 0;
    // Runs escribir in a transaction of the company database: committed when it returns,
    // rolled back (and the error passed on) when it raises.
    virtual void enTransaccion(const std::function<void()> &escribir) = 0;
    // The module's extraction file, without extension.
    virtual QString rutaExtraccion() = 0;
};

class ServicioObjetos
{
public:
    explicit ServicioObjetos(AlmacenObjetos &almacen) : almacen_(almacen) {}

    // Replaces the object with the new one (none: only removes it). The old row goes and
    // the new one is posted in one transaction, so a failure keeps the old object.
    void Guardar(const ObjetoRegistro &objeto, const ObjetoNuevo *nuevo);
    // The object's type; empty when there is none.
    QString Tipo(const ObjetoRegistro &objeto);
    // Writes the object's bytes to the module's extraction file ("." + the type in lower
    // case when it has one) and answers its path; empty when there is no object.
    QString Extraer(const ObjetoRegistro &objeto);

private:
    AlmacenObjetos &almacen_;
};

namespace objetosRegistro {

// "... WHERE NombreTabla = 'x'    AND ClaveTabla = 'y'    AND IdObjeto = 'z'" after the
// selected columns.
QString Seleccion(const QString &columnas, const ObjetoRegistro &objeto);
// The extraction path: base, then "." + the type in lower case when there is a type.
QString RutaExtraccion(const QString &base, const QString &tipo);
// The values text a Word document is merged with: "name=value" per field of the table,
// and with a detail one "Linea=" line per detail record ("name=value|" per field, line
// breaks of a value as "·"); floats as "#,###.##", empty zero dates. The detail comes back
// to its record.
QString TextoValoresDocumento(plat::DataSet &tabla, plat::DataSet *detalle);

} // namespace objetosRegistro
