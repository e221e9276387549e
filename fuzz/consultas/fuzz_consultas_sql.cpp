// A stored statement's instruction lines and a typed statement with typed answers: the
// instructions are read (the font, the users, the applications) and written back without
// losing a line, and the binder asks and binds every variable so that each listed variable
// is bound or written in, a list taking one placeholder per item.
// Input: instructions, a NUL byte, the statement, a NUL byte, the answers split at "|".
#include "fuzz/SupresionFugasQt.h"
#include "GENEW/reporting/consultas/InstruccionesConsulta.h"
#include "GENEW/reporting/consultas/VariablesConsulta.h"
#include "platform/base/Errores.h"
#include "platform/data/SqlVariables.h"

#include <QGuiApplication>
#include <QHash>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

namespace {

void leerInstrucciones(const QString &texto)
{
    InstruccionesConsulta instrucciones(texto);
    const QStringList antes = instrucciones.lineas();
    const auto fuente = instrucciones.fuente(QFont(QStringLiteral("DejaVu Sans"), 9));
    if (fuente && (fuente->fuente.pointSize() <= 0 || fuente->fuente.pointSize() > 200))
        std::abort();
    instrucciones.autoriza(QStringLiteral("JUAN"));
    const QStringList usuarios = instrucciones.usuariosAutorizados();
    instrucciones.ponerUsuariosAutorizados(usuarios);
    // Written back, the list reads as it did, and no line of another key is lost.
    if (InstruccionesConsulta(instrucciones.texto()).usuariosAutorizados() != usuarios)
        std::abort();
    if (instrucciones.lineas().size() > antes.size() + 1)
        std::abort();
    instrucciones.ponerAplicacionesContenedoras(instrucciones.aplicacionesContenedoras());
}

void enlazar(const QString &sql, const QStringList &respuestas)
{
    int pregunta = 0;
    QList<ValorVariable> valores;
    try {
        valores = ValoresVariables(sql, [&](const QString &) { return respuestas.value(pregunta++); });
    } catch (const gp::ConversionError &) {
        return;   // a bad date stops the run
    }
    QHash<QString, ValorVariable> porNombre;
    for (const ValorVariable &v : valores)
        porNombre.insert(v.nombre.toLower(), v);
    const auto lista = [&](const QString &nombre) {
        const auto v = porNombre.find(nombre.toLower());
        return v != porNombre.end() && v->valor.typeId() == QMetaType::QStringList ? int(v->valor.toStringList().size())
                                                                                   : -1;
    };
    const plat::DriverStatement s = plat::toDriverStatement(
        sql, QStringLiteral("gp"), [&](const QString &n) { return porNombre.value(n.toLower()).valor.toString(); }, lista);
    if (s.items.size() != s.placeholders.size())
        std::abort();
    for (int i = 0; i < s.placeholders.size(); ++i) {
        const int elementos = lista(s.placeholders[i]);
        if (s.items[i] >= qMax(elementos, 0) && s.items[i] != -1)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArray> partes = bytes.split('\0');
    leerInstrucciones(QString::fromUtf8(partes.value(0)));
    enlazar(QString::fromUtf8(partes.value(1)), QString::fromUtf8(partes.value(2)).split(u'|'));
    return 0;
}
