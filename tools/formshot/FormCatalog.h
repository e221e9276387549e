#pragma once
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

// A started program with company 1 open, its data module and a table CLIENTES of sample
// customers, kept for the tool's run; false when it could not start.
bool programaIniciado();

} // namespace formshot
