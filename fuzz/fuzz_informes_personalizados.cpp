// Arbitrary bytes as a custom report: the `Instrucciones` text up to the first NUL byte, a
// statement after it. The definition read from the text, the statement built from it and the
// statement given go through the builder, the scanners, the trial text and the HTML view;
// none may crash or hang, and what they answer keeps its shape.
#include "GENEW/reporting/personalizados/SentenciaInforme.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QByteArray>
#include <QSet>

#include <cstdint>

namespace {

void comprobar(bool condicion)
{
    if (!condicion)
        __builtin_trap();
}

void recorrerSentencia(const QString &sentencia)
{
    const QStringList variables = DividirLineas(ListaVariablesSQL(sentencia));
    for (const QString &v : variables)
        comprobar(v.size() > 2 && QStringLiteral(":#:&:$:*").indexOf(v.left(2)) % 2 == 0 && !v.contains(u' '));
    comprobar(QSet<QString>(variables.begin(), variables.end()).size() == variables.size());
    for (const QString &t : DividirLineas(ListaTitulosColumnas(sentencia)))
        comprobar(t.size() >= 2 && t.startsWith(u'\'') && t.endsWith(u'\''));
    const QString html = SentenciaSQLAHTML(sentencia);
    comprobar(html.startsWith(QStringLiteral("<body bgcolor=")) && html.endsWith(QStringLiteral("</font></body>")));
    for (const ListaVaciaPrueba lista : {ListaVaciaPrueba::ComillasDobles, ListaVaciaPrueba::ComillasSimples})
        comprobar(!SentenciaPruebaInforme(sentencia, lista).contains(u'\n'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype corte = bytes.indexOf('\0');
    const QString instrucciones = QString::fromUtf8(corte < 0 ? bytes : bytes.left(corte));
    const QString sentencia = corte < 0 ? QString() : QString::fromUtf8(bytes.mid(corte + 1));

    DefinicionInforme d = LeerInstrucciones(instrucciones);
    comprobar(d.anchosColumnas.isEmpty() || d.anchosColumnas.size() == d.Columnas.size());
    comprobar(d.opciones.numeroColumnasFicha >= 1 && d.opciones.numeroLineasMemoFicha >= 1);
    // What is written reads back as the same text once it has been read.
    const QString escrito = ConstruirInstrucciones(d);
    comprobar(DividirLineas(escrito).size() == 11);
    comprobar(ConstruirInstrucciones(LeerInstrucciones(escrito)) == escrito);

    recorrerSentencia(ConstruirSentenciaSQL(d));
    recorrerSentencia(ConstruirSentenciaSQL(instrucciones));
    recorrerSentencia(sentencia);
    // With groups of distinct columns, the corrected ordering begins with them.
    QSet<QString> columnas;
    for (const QString &g : d.Grupos)
        columnas.insert(ColumnaDeElemento(g));
    if (columnas.size() == d.Grupos.size())
        comprobar(OrdenacionEmpiezaPorGrupos(CorregirOrdenacion(d.Ordenacion, d.Grupos), d.Grupos));
    return 0;
}
