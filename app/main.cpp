#include "platform/ui/Application.h"
#include "platform/ui/Form.h"

int main(int argc, char **argv)
{
    plat::GuardedApplication qtApp(argc, argv);
    const QString title = QStringLiteral("Gestión de Proyectos");
    QCoreApplication::setApplicationName(title);
    plat::Application &app = plat::application();
    app.setTitle(title);
    app.closeOnTerminationSignals();

    // The main window: an MDI frame, first form created and so the main form.
    auto *frame = plat::createForm<plat::Form>();
    frame->setFormStyle(plat::fsMDIForm);
    frame->setCaption(title);
    frame->setBounds(0, 0, 1024, 768);
    frame->Show();
    const int result = qtApp.exec();
    frame->Free();
    return result;
}
