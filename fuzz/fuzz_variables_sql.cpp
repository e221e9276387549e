// Arbitrary text as a stored SQL statement: the variables the program lists for it are the
// ones the driver statement binds or writes, with the same names in the same order (a
// list, "*", is put into the text by the caller, and a name before the first ":" has no
// colon to become a placeholder).
#include "platform/data/SqlVariables.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool esVariable(const QString &nombre)
{
    return !nombre.isEmpty() && QStringLiteral("$#&").contains(nombre[0]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString sql = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList listadas = plat::sqlVariableNames(sql);
    const QString primera = sql.section(u':', 0, 0);
    if (!primera.isEmpty() && QStringLiteral("$#&*").contains(primera[0]))
        listadas.removeFirst();
    listadas.removeIf([](const QString &n) { return !esVariable(n); });
    QStringList enlazadas = plat::toDriverStatement(sql, QStringLiteral("gp")).names;
    enlazadas.removeIf([](const QString &n) { return !esVariable(n); });
    if (listadas != enlazadas)
        std::abort();
    return 0;
}
