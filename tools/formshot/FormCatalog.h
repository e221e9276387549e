#pragma once
#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

namespace plat {
class Form;
}

namespace formshot {

// A form the tool can build: its name on the command line, a line of description, and
// how it is built (on the database folder given, or on sample data of its own when empty).
struct ShotForm
{
    QString name;
    QString description;
    std::function<plat::Form *(const QString &database)> build;
};

// Every form the tool knows; each catalogue file adds its own with registerForm.
std::vector<ShotForm> &catalogue();
bool registerForm(ShotForm form);

// A started program over a company database in a folder of its own, with company 1 open
// and its data module; then preparar adds what the pictures need (sample rows, another data
// module), which liberar undoes before the data module goes. The tool builds one form a
// run, so the first call's arguments hold; false when anything failed.
bool empresaMuestra(const std::function<bool()> &preparar = {}, const std::function<void()> &liberar = {},
                    const QByteArray &definicionesAdicionales = {});

// The program's main window: an MDI frame of that size, shown.
plat::Form *marcoMDI(int ancho, int alto);

// A started program with company 1 open, its data module and a table CLIENTES of sample
// customers; false when it could not start.
bool programaIniciado();

} // namespace formshot
