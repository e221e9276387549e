// Stored texts (option texts, SQL written by users, typed values, settings files) reach the
// common routines unchecked: none may crash, hang or break its own rules on any input.
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void Comprobar(bool condicion)
{
    if (!condicion)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo)
{
    const QString texto = TextoDeBytes(QByteArray(reinterpret_cast<const char *>(datos), static_cast<int>(largo)));
    const QString separador = texto.left(2);

    for (int i = 0; i < 4; ++i)
        ExtraerCampo(i, texto, separador);
    ExtraerCampoDesdeElFinal(1, texto, separador);
    SepararPalabras(texto);
    AbreviarNombreCampo(texto, 2);
    MemoAVariante(texto);
    EntrecomillarLista(texto);
    ExtraerTextosEntreParentesis(texto);
    DescribirRangos(texto);
    OrdenarLineas(texto);
    ObtenerTablaDeSQL(texto);
    TextoAFechaHora(texto);
    TextoANumero(texto, separador);

    // Progress texts are read as decimals with the comma: a number read is finite, is
    // written back in a form that reads again, and a point (the thousands mark) is never
    // part of one.
    double decimal = 0;
    if (LeerDecimal(texto, decimal)) {
        Comprobar(std::isfinite(decimal));
        Comprobar(!texto.contains(QLatin1Char('.')));
        double releido = 0;
        Comprobar(LeerDecimal(FlotanteATexto(decimal), releido) && std::isfinite(releido));
    }
    LeerValorDeLista(separador, texto);

    // A quoted value is one literal: its inner quotes come in pairs.
    const QString literal = Entrecomillar(texto);
    Comprobar(literal.count(QLatin1Char('\'')) % 2 == 0);

    // Without a comparison with the empty text the SQL comes back unchanged.
    const QString ajustado = AjustarComparacionesVacias(texto);
    if (!texto.contains(QStringLiteral(" = ''")) && !texto.contains(QStringLiteral(" <> ''")))
        Comprobar(ajustado == texto);

    // A quoted value that is not empty never becomes a comparison to rewrite.
    const QString consulta = QStringLiteral("SELECT A FROM T WHERE B = ") + literal;
    Comprobar(texto.isEmpty() || AjustarComparacionesVacias(consulta) == consulta);

    // Engines' ISO date texts read alike from bytes and from text, and a reading written
    // back in that form reads the same.
    const QByteArray bytes(reinterpret_cast<const char *>(datos), static_cast<int>(largo));
    const QDateTime iso = FechaHoraISO(QByteArrayView(bytes));
    Comprobar(iso == FechaHoraISO(QString::fromLatin1(bytes)));
    if (iso.isValid())
        Comprobar(FechaHoraISO(iso.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))) == iso);
    FechaISO(bytes);
    HoraISO(bytes);

    ConstruirCondicionRango(QStringLiteral("F"), texto, separador, QStringLiteral("ftFloat"));
    ConstruirCondicionRango(QStringLiteral("F"), texto, separador, QStringLiteral("ftDate"));
    return 0;
}
