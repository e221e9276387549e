// The detail viewer with a plain text and with an HTML text.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/ventanas/GENEDETA.h"

namespace {

plat::Form *visor(const QString &texto, const QString &titulo, const QString &opciones)
{
    auto *f = plat::createForm<TfGENEDETA>();
    PrepararDetalle(*f, texto, titulo, opciones);
    return f;
}

bool registrar()
{
    formshot::registerForm(
        {QStringLiteral("visor-detalle"), QStringLiteral("incidencias de una importación en el visor de detalle"),
         [](const QString &) {
             return visor(QStringLiteral("1 - Error grabando el registro P3. Motivo: La línea tiene 4 valores y la "
                                         "cabecera 3 campos\r\n2 - Error grabando el registro P1. Motivo: Key "
                                         "violation.\r\n3 - Error grabando el registro/línea P4/2. Motivo: Field "
                                         "'Descripcion' must have a value"),
                          QStringLiteral("Incidencias producidas en la importación"), QStringLiteral("Formato=520"));
         }});
    return formshot::registerForm(
        {QStringLiteral("visor-detalle-html"), QStringLiteral("texto HTML en el navegador del visor de detalle"),
         [](const QString &) {
             return visor(QStringLiteral("<h2>Obra nueva</h2><p>Capítulos <b>previstos</b>:</p><ul><li>Cimentación"
                                         "</li><li>Estructura</li></ul><hr>Última revisión: 05/03/2024"),
                          QStringLiteral("Detalle del proyecto"), QStringLiteral("Interprete=HTML\r\nFormato=420,320"));
         }});
}

const bool registrado = registrar();

} // namespace
