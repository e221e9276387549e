#include "GENEW/runtime/RegistroErrores.h"

#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QRegularExpression>

namespace {

const QString FormatoMomento = QStringLiteral("dd/MM/yyyy hh:mm:ss");
const qsizetype AnchoMomento = 19;
const QString Separacion = QStringLiteral("  ");

QString escribirEntrada(const RegistroErrores::Entrada &e)
{
    // A title is one line; the text keeps its lines, indented so none can pass for a header.
    QString titulo = e.titulo;
    titulo.replace(QRegularExpression(QStringLiteral("[\r\n]+")), QStringLiteral(" "));
    QString salida = e.momento.toString(FormatoMomento) + Separacion + titulo + QLatin1Char('\n');
    for (const QString &linea : DividirLineas(e.texto))
        salida += QLatin1Char('\t') + linea + QLatin1Char('\n');
    return salida;
}

QList<RegistroErrores::Entrada> leerEntradas(const QString &contenido)
{
    QList<RegistroErrores::Entrada> entradas;
    QStringList texto;
    auto cerrar = [&] {
        if (!entradas.isEmpty())
            entradas.last().texto = texto.join(QStringLiteral("\r\n"));
        texto.clear();
    };
    for (const QString &linea : DividirLineas(contenido)) {
        if (linea.startsWith(QLatin1Char('\t'))) {
            if (!entradas.isEmpty())
                texto << linea.mid(1);
            continue;
        }
        if (linea.isEmpty())
            continue;
        cerrar();
        RegistroErrores::Entrada e;
        e.momento = FechaHora(QDate::fromString(linea.left(10), QStringLiteral("dd/MM/yyyy")),
                              QTime::fromString(linea.mid(11, 8), QStringLiteral("hh:mm:ss")));
        e.titulo = linea.mid(AnchoMomento + Separacion.size());
        entradas << e;
    }
    cerrar();
    return entradas;
}

} // namespace

RegistroErrores::RegistroErrores(const QString &directorioTrabajo)
    : ruta_(LocalizarFichero(directorioTrabajo + QLatin1String(NombreArchivo)))
{
}

QList<RegistroErrores::Entrada> RegistroErrores::entradas() const
{
    return leerEntradas(LeerFicheroTexto(ruta_));
}

bool RegistroErrores::anotar(const QString &titulo, const QString &texto, const QDateTime &momento) const
{
    QList<Entrada> todas = entradas();
    todas << Entrada{momento, titulo, texto};
    if (todas.size() > MaximoEntradas)
        todas.erase(todas.begin(), todas.end() - MaximoEntradas);
    QString contenido;
    for (const Entrada &e : todas)
        contenido += escribirEntrada(e);
    return EscribirFicheroTexto(ruta_, contenido);
}
