// The folder and file picker, rooted at a small sample tree of its own with one folder open.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/runtime/GENEOPEN.h"
#include "platform/ui/ShellTreeView.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QTemporaryDir>
#include <QThread>

namespace {

plat::Form *selector()
{
    static QTemporaryDir raiz;
    const QDir dir(raiz.path());
    for (const char *carpeta : {"Obras/2023", "Obras/2024/Planos", "Presupuestos", "Facturas"})
        dir.mkpath(QString::fromLatin1(carpeta));
    for (const char *archivo : {"Obras/2024/memoria.docx", "Obras/2024/mediciones.xlsx", "Presupuestos/reforma.pdf"}) {
        QFile f(dir.filePath(QString::fromLatin1(archivo)));
        f.open(QIODevice::WriteOnly);
    }
    auto *f = plat::createForm<TfGENEOPEN>();
    f->Titulo->setText(QStringLiteral("Seleccione la carpeta o el archivo del proyecto"));
    f->ShellTreeView->setObjectTypes(plat::ShellTreeView::otFolders | plat::ShellTreeView::otNonFolders);
    f->ShellTreeView->setRoot(raiz.path());
    // The model reads folders in the background: give it a moment before the picture.
    QElapsedTimer reloj;
    reloj.start();
    while (reloj.elapsed() < 1500) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    f->ShellTreeView->setPath(dir.filePath(QStringLiteral("Obras/2024/memoria.docx")));
    f->ShellTreeView->expand(f->ShellTreeView->fileSystemModel()->index(dir.filePath(QStringLiteral("Obras"))));
    return f;
}

const bool registered = formshot::registerForm(
    {QStringLiteral("selector-archivos"), QStringLiteral("el selector de carpetas y archivos (TfGENEOPEN)"),
     [](const QString &) { return selector(); }});

} // namespace
