#include "GENEW/runtime/CifradoClave.h"

namespace {

// Position p (from 1) uses the key letter at offset p mod 6.
constexpr char Clave[] = "mudsel";
constexpr int LongitudClave = 6;

unsigned char letraClave(qsizetype posicion) { return static_cast<unsigned char>(Clave[posicion % LongitudClave]); }

} // namespace

QString CifrarClave(const QString &texto)
{
    // The stored text was made from 8-bit characters; Latin-1 keeps the accented letters
    // as the single bytes they were.
    const QByteArray bytes = texto.toLatin1();
    QString cifrado;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const int valor = static_cast<unsigned char>(bytes.at(i)) ^ letraClave(i + 1);
        cifrado += QStringLiteral("%1").arg(valor, 3, 10, QLatin1Char('0'));
    }
    return cifrado;
}

QString DescifrarClave(const QString &texto)
{
    QByteArray bytes;
    for (qsizetype grupo = 0; (grupo + 1) * 3 <= texto.size(); ++grupo) {
        bool ok = false;
        int valor = texto.mid(grupo * 3, 3).toInt(&ok);
        if (!ok)
            valor = 0;
        bytes.append(static_cast<char>((valor & 0xFF) ^ letraClave(grupo + 1)));
    }
    return QString::fromLatin1(bytes);
}
