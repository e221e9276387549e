#include "GENEW/runtime/estructura/TiposCampo.h"

#include <QHash>

namespace estructura {

TFieldType TipoDeCampo(const QString &nombre)
{
    static const QHash<QString, TFieldType> kTipos = {
        {QStringLiteral("ftString"), ftString},     {QStringLiteral("ftSmallint"), ftSmallint},
        {QStringLiteral("ftSmallInt"), ftSmallint}, {QStringLiteral("ftInteger"), ftInteger},
        {QStringLiteral("ftWord"), ftWord},         {QStringLiteral("ftBoolean"), ftBoolean},
        {QStringLiteral("ftFloat"), ftFloat},       {QStringLiteral("ftCurrency"), ftCurrency},
        {QStringLiteral("ftBCD"), ftBCD},           {QStringLiteral("ftDate"), ftDate},
        {QStringLiteral("ftTime"), ftTime},         {QStringLiteral("ftDateTime"), ftDateTime},
        {QStringLiteral("ftBytes"), ftBytes},       {QStringLiteral("ftVarBytes"), ftVarBytes},
        {QStringLiteral("ftAutoInc"), ftAutoInc},   {QStringLiteral("ftBlob"), ftBlob},
        {QStringLiteral("ftMemo"), ftMemo},         {QStringLiteral("ftGraphic"), ftGraphic},
        {QStringLiteral("ftFmtMemo"), ftFmtMemo},   {QStringLiteral("ftParadoxOle"), ftParadoxOle},
        {QStringLiteral("ftDBaseOle"), ftDBaseOle}, {QStringLiteral("ftTypedBinary"), ftTypedBinary},
    };
    return kTipos.value(nombre, ftUnknown);
}

} // namespace estructura
