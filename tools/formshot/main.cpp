// formshot <form> <picture.png> [--database <folder>] [--size <width>x<height>]
// formshot --list
#include "tools/formshot/FormCatalog.h"

#include "platform/ui/Application.h"
#include "platform/ui/Form.h"

#include "GENEW/runtime/comun/SalidaMensajes.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QPixmap>
#include <QTextStream>
#include <QThread>

namespace formshot {

std::vector<ShotForm> &catalogue()
{
    static std::vector<ShotForm> forms;
    return forms;
}

bool registerForm(ShotForm form)
{
    catalogue().push_back(std::move(form));
    return true;
}

} // namespace formshot

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("--list")) {
        for (const auto &f : formshot::catalogue())
            out << f.name << "\t" << f.description << "\n";
        return 0;
    }
    if (args.size() < 2) {
        err << "uso: formshot <formulario> <imagen.png> [--database <carpeta>] [--size <ancho>x<alto>]\n"
               "     formshot --list\n";
        return 2;
    }
    QString database;
    QSize size;
    for (int i = 2; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--database"))
            database = args[i + 1];
        else if (args[i] == QLatin1String("--size")) {
            const QStringList wh = args[i + 1].split(QLatin1Char('x'));
            size = QSize(wh.value(0).toInt(), wh.value(1).toInt());
        }
    }
    const auto &forms = formshot::catalogue();
    const auto it = std::find_if(forms.begin(), forms.end(), [&](const auto &f) { return f.name == args[0]; });
    if (it == forms.end()) {
        err << "formshot: no conozco el formulario " << args[0] << " (formshot --list)\n";
        return 2;
    }

    // Nothing may wait for a person: messages are recorded, questions answered "NO".
    SalidaMensajesGrabada grabada;
    SalidaMensajesInstalada instalada(grabada);
    plat::application().OnModalShown = [](plat::Form &shown) { shown.setModalResult(plat::mrCancel); };

    plat::Form *form = it->build(database);
    if (!form) {
        err << "formshot: el formulario " << args[0] << " no se ha podido construir\n";
        return 1;
    }
    if (size.isValid())
        form->resize(size);
    form->Show();
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    const QPixmap picture = form->grab();
    QDir().mkpath(QFileInfo(args[1]).absolutePath());
    if (!picture.save(args[1])) {
        err << "formshot: no se ha podido guardar " << args[1] << "\n";
        return 1;
    }
    out << args[1] << ": " << picture.width() << "x" << picture.height() << ", letra "
        << QFontInfo(form->font()).family() << "\n";
    for (const QString &t : grabada.textos())
        out << "mensaje: " << t << "\n";
    form->Free();
    return 0;
}
