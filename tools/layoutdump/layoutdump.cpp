// layoutdump FILE [--formato TEXT] [--modo TEXT]
// Reads FILE as the `Instrucciones` of an IMPRESO record (bytes as stored, UTF-8 else
// Windows-1252) and prints how the print engine reads it (screen destination).
#include "GENEW/reporting/impresos/VolcadoImpreso.h"
#include "GENEW/runtime/comun/FicherosTexto.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    RegistroImpreso registro;
    registro.Codigo = QStringLiteral("VOLCADO");
    QString fichero;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--formato") && i + 1 < args.size())
            registro.Formato = args.at(++i);
        else if (args.at(i) == QLatin1String("--modo") && i + 1 < args.size())
            registro.Modo = args.at(++i);
        else
            fichero = args.at(i);
    }
    QFile f(fichero);
    if (fichero.isEmpty() || !f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "uso: layoutdump FICHERO [--formato TEXTO] [--modo TEXTO]\n");
        return 2;
    }
    registro.Instrucciones = TextoDeBytes(f.readAll());
    std::fputs(VolcarRegistroImpreso(registro).toUtf8().constData(), stdout);
    return 0;
}
