// The objects records hold in BLOBTAB, their Word documents, and the predefined texts.
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/modulo/VentanasModulo.h"
#include "GENEW/data/servicios/PlantillaTexto.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "platform/base/FechaHora.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Controls.h"

#include <QFile>
#include <QPixmap>
#include <QScopeGuard>

namespace {

const QString kFoto = QStringLiteral("Foto");
const QString kDocumentoWord = QStringLiteral("DocumentoWord");

// The module's side of the object services: its queries, the company database's
// transactions through the start-up form, and its temporary name.
class AlmacenObjetosModulo : public AlmacenObjetos
{
public:
    explicit AlmacenObjetosModulo(TModuloDatos &modulo) : modulo_(modulo) {}

    std::unique_ptr<plat::QueryDataSet> abrirConsulta(const QString &sql, bool viva) override
    {
        auto consulta = std::make_unique<plat::QueryDataSet>();
        consulta->setSql(sql);
        consulta->setRequestLive(viva);
        if (!modulo_.AbrirConsulta(*consulta, QStringLiteral("Open")))
            throw gp::Abort();
        return consulta;
    }

    void enTransaccion(const std::function<void()> &escribir) override
    {
        plat::Connection &db = fGENEINIC->Database();
        // Inside a caller's transaction the caller commits or rolls back.
        const bool propia = !db.inTransaction();
        if (propia && !fGENEINIC->IniciarTransaccion(&db))
            throw gp::Error(QStringLiteral("¡No se puede iniciar la transacción!"));
        try {
            escribir();
        } catch (...) {
            if (propia)
                fGENEINIC->CancelarTransaccion(&db);
            throw;
        }
        if (propia && !fGENEINIC->ConfirmarTransaccion(&db))
            throw gp::Abort();
    }

    QString rutaExtraccion() override { return DirectorioTemporal() + modulo_.NombreTablaTemporal(&modulo_, 1); }

private:
    TModuloDatos &modulo_;
};

void abrirParaLeer(QFile &archivo)
{
    if (!archivo.open(QIODevice::ReadOnly))
        throw gp::Error(QStringLiteral("¡No ha sido posible leer el archivo ") + archivo.fileName()
                        + QStringLiteral("!. Motivo: ") + archivo.errorString());
}

} // namespace

ServicioObjetos &TModuloDatos::objetos()
{
    if (!objetos_) {
        almacenObjetos_ = std::make_unique<AlmacenObjetosModulo>(*this);
        objetos_ = std::make_unique<ServicioObjetos>(*almacenObjetos_);
    }
    return *objetos_;
}

ObjetoRegistro TModuloDatos::objetoRegistro(const QString &tabla, const QString &clave, const QString &idObjeto) const
{
    return {QuitarPropietarioTabla(tabla), clave, idObjeto};
}

void TModuloDatos::GuardarImagenRegistro(const QString &tabla, const QString &clave, plat::Image *imagen,
                                         const QString &fichero)
{
    if (tabla.isEmpty())
        return;
    const ObjetoRegistro objeto = objetoRegistro(tabla, clave, kFoto);
    if (fichero.isEmpty()) {
        objetos().Guardar(objeto, nullptr);
        return;
    }
    QFile archivo(fichero);
    abrirParaLeer(archivo);
    ObjetoNuevo nuevo;
    nuevo.tipo = QStringLiteral("Imagen");
    nuevo.contenido = &archivo;
    objetos().Guardar(objeto, &nuevo);
    if (imagen && !imagen->LoadFromFile(fichero))
        imagen->setPicture(QPixmap());
}

bool TModuloDatos::GuardarDocumentoRegistro(const QString &tabla, const QString &clave, const QString &idObjeto,
                                            const QString &tipoObjeto, const QString &fichero, const QString &nombre,
                                            const QString &descripcion)
{
    QFile archivo(fichero);
    abrirParaLeer(archivo);
    ObjetoNuevo nuevo{tipoObjeto, &archivo, nombre, descripcion, Ahora()};
    objetos().Guardar(objetoRegistro(tabla, clave, idObjeto), &nuevo);
    return true;
}

QString TModuloDatos::TipoObjetoRegistro(const QString &tabla, const QString &clave, const QString &idObjeto)
{
    return objetos().Tipo(objetoRegistro(tabla, clave, idObjeto));
}

QString TModuloDatos::ExtraerObjetoRegistro(const QString &tabla, const QString &clave, const QString &idObjeto)
{
    return objetos().Extraer(objetoRegistro(tabla, clave, idObjeto));
}

void TModuloDatos::CargarImagenRegistro(const QString &tabla, const QString &clave, const QString &idObjeto,
                                        plat::Image *imagen)
{
    if (imagen)
        imagen->setPicture(QPixmap());
    const QString ruta = ExtraerObjetoRegistro(tabla, clave, idObjeto);
    if (ruta.isEmpty())
        return;
    QByteArray bytes;
    {
        QFile archivo(ruta);
        if (archivo.open(QIODevice::ReadOnly))
            bytes = archivo.readAll();
    }
    QFile::remove(ruta);
    // Read by its content, whatever the object's type says.
    QPixmap imagenLeida;
    if (imagen && (imagenLeida.loadFromData(bytes, "BMP") || imagenLeida.loadFromData(bytes, "JPG")))
        imagen->setPicture(imagenLeida);
}

void TModuloDatos::AbrirDocumentoWordRegistro(plat::TableDataSet &tabla, plat::DataSet *detalle)
{
    const QString nombreTabla = tabla.tableName();
    const QString clave = tabla.fieldCount() > 0 ? tabla.field(0).asString() : QString();
    QString documento = ExtraerObjetoRegistro(nombreTabla, clave, kDocumentoWord);
    QString valores;
    if (documento.isEmpty()) {
        if (MensajeConfirmacion(QStringLiteral("No existe un documento Word adjunto. ¿Desea adjuntar uno nuevo ahora a "
                                               "partir de una plantilla?"))
            != QLatin1String("SI"))
            return;
        OpenDialog1->Title = QStringLiteral("Buscar una plantilla de Word");
        OpenDialog1->Filter =
            QStringLiteral("Archivos de Word 97-2003 (*.doc)|*.doc|Archivos de Word 2007 (*.docx)|*.docx");
        OpenDialog1->FileName.clear();
        if (!OpenDialog1->Execute())
            return;
        const QString plantilla = OpenDialog1->FileName;
        documento = DirectorioTemporal() + NombreTablaTemporal(this, 1)
            + (plantilla.toUpper().contains(QLatin1String(".DOCX")) ? QStringLiteral(".DOCX") : QStringLiteral(".DOC"));
        QFile::remove(documento);
        if (!QFile::copy(plantilla, documento))
            throw gp::Error(QStringLiteral("¡No ha sido posible copiar la plantilla ") + plantilla + QStringLiteral("!"));
        valores = objetosRegistro::TextoValoresDocumento(tabla, detalle);
    }
    ventanasModulo().MostrarProgreso(QStringLiteral("ON"), QStringLiteral("Apertura de documento Word"),
                    QStringLiteral("Abriendo documento..."));
    const auto cerrarProgreso = qScopeGuard([] { ventanasModulo().MostrarProgreso(QStringLiteral("OFF"), QString(), QString()); });
    fGENEINIC->AbrirDocumentoWord(documento, valores);
    // The edited file is deleted only once it is stored: a failure keeps the user's work.
    GuardarDocumentoRegistro(nombreTabla, clave, kDocumentoWord, QStringLiteral("DOC"), documento, QString(), QString());
    QFile::remove(documento);
}

QString TModuloDatos::valorConsulta(const QString &sql)
{
    plat::QueryDataSet consulta;
    consulta.setSql(sql);
    if (!AbrirConsulta(consulta, QStringLiteral("Open")) || consulta.isEmpty())
        return QString();
    return consulta.field(0).asString();
}

QString TModuloDatos::ObtenerTextoPredefinido(const QString &codigo)
{
    const auto campo = [this](const char *nombre, const QString &codigoTexto) {
        return valorConsulta(QStringLiteral("SELECT ") + QLatin1String(nombre)
                             + QStringLiteral(" FROM TEXTO WHERE Codigo = ") + Entrecomillar(codigoTexto));
    };
    QString elegido = codigo;
    QString texto = codigo.isEmpty() ? QString() : campo("Texto", codigo);
    QString tipo;
    if (!texto.isEmpty()) {
        tipo = campo("Tipo", codigo);
    } else {
        const QVariant clave = ventanasModulo().BuscarRegistroConFiltroYDato(QStringLiteral("TEXTO"), 0, QString(), codigo);
        if (clave.isNull())
            return QString();
        elegido = clave.toList().value(0).toString();
        tipo = campo("Tipo", elegido);
        texto = campo("Texto", elegido);
    }
    return tipo.trimmed() == QLatin1String("Plantilla") ? RellenarPlantillaTexto(elegido) : texto;
}

QString TModuloDatos::RellenarPlantillaTexto(const QString &codigo)
{
    const QString condicion = QStringLiteral(" FROM TEXTO WHERE Codigo = ") + Entrecomillar(codigo);
    const QString texto = valorConsulta(QStringLiteral("SELECT Texto") + condicion);
    const QString descripcion = valorConsulta(QStringLiteral("SELECT Descripcion") + condicion);
    return TextoRespuestasPlantilla(ventanasModulo().MostrarVisorDatos(OpcionesPlantillaTexto(descripcion, texto), QString()));
}
