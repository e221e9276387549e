#pragma once
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QTimer>
#include <gtest/gtest.h>

namespace gptest {

// Answers the print dialog about to open as a person does: picks the printer of that name,
// or "Imprimir a archivo (PDF)" (the list's last entry) and types the file, then prints.
inline void ResponderDialogoImprimir(const QString &impresora, const QString &fichero = QString())
{
    QTimer::singleShot(0, [impresora, fichero] {
        QPrintDialog *dialogo = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *d = qobject_cast<QPrintDialog *>(w); d && d->isVisible())
                dialogo = d;
        ASSERT_NE(dialogo, nullptr) << "no print dialog is open";
        auto *impresoras = dialogo->findChild<QComboBox *>(QStringLiteral("printers"));
        ASSERT_NE(impresoras, nullptr);
        if (fichero.isEmpty()) {
            ASSERT_GE(impresoras->findText(impresora), 0) << impresora.toStdString();
            impresoras->setCurrentIndex(impresoras->findText(impresora));
        } else {
            impresoras->setCurrentIndex(impresoras->count() - 1);
            dialogo->findChild<QLineEdit *>(QStringLiteral("filename"))->setText(fichero);
        }
        dialogo->accept();
    });
}

} // namespace gptest
