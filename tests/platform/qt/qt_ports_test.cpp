// The Qt side of the ports: the real clock, the status line, the text crossing.

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <iostream>
#include <sstream>

#include "platform/qt/message_bar.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_messages.h"
#include "platform/qt/qt_text.h"

namespace tarvel {
namespace {

TEST(QtClock, RunsForwardAndSleeps)
{
    QtClock clock;
    const std::int64_t start = clock.nowMs();
    clock.sleepMs(30);
    EXPECT_GE(clock.nowMs() - start, 29);
}

TEST(QtMessages, StatusTextsGoToTheStatusBar)
{
    QMainWindow window;
    auto* bar = new TMessageBar(&window);
    window.setStatusBar(bar);
    QtMessages messages(&window);
    messages.setStatusBar(bar);
    messages.status("Haga clic en el origen de la línea");
    EXPECT_EQ(bar->prompt(), QString::fromUtf8("Haga clic en el origen de la línea"));
    // A passing hint covers it for a while only.
    bar->showMessage(QStringLiteral("Sale de Tarvel"));
    EXPECT_EQ(bar->shownText(), QStringLiteral("Sale de Tarvel"));
    bar->clearMessage();
    EXPECT_EQ(bar->shownText(), QString::fromUtf8("Haga clic en el origen de la línea"));
    messages.status("");
    EXPECT_TRUE(bar->shownText().isEmpty());
}

TEST(QtMessages, BoxesShowCaptionTextAndButtonsAndReturnTheChoice)
{
    QtMessages messages;
    QString seenTitle, seenText;
    QMessageBox::StandardButtons seenButtons;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    int seenWidth = 0;
    auto answerWith = [&](QMessageBox::StandardButton which) {
        QTimer::singleShot(0, [&, which] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seenTitle = box->windowTitle();
            seenText = box->text();
            seenButtons = box->standardButtons();
            seenIcon = box->icon();
            seenWidth = box->width();
            box->button(which)->click();
        });
    };

    answerWith(QMessageBox::No);
    EXPECT_EQ(messages.show("Mensaje de Tarvel", "¿Está seguro de que quiere borrar estos objetos?",
                            MsgIcon::Question, MsgButtons::YesNo),
              MsgAnswer::No);
    EXPECT_EQ(seenTitle, QString::fromUtf8("Mensaje de Tarvel"));
    EXPECT_EQ(seenText, QString::fromUtf8("¿Está seguro de que quiere borrar estos objetos?"));
    EXPECT_EQ(seenButtons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(seenIcon, QMessageBox::Question);

    answerWith(QMessageBox::Cancel);
    EXPECT_EQ(messages.show("El diagrama de flujo ha sido modificado", "¿Quiere guardar?",
                            MsgIcon::Question, MsgButtons::YesNoCancel),
              MsgAnswer::Cancel);
    EXPECT_EQ(seenButtons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    // Wide enough for the whole caption in a bold title beside the bar's buttons.
    QFont bold = QApplication::font();
    bold.setBold(true);
    EXPECT_GE(seenWidth, QFontMetrics(bold).horizontalAdvance(seenTitle) + 120) << seenWidth;

    answerWith(QMessageBox::Ok);
    EXPECT_EQ(messages.show("Error de archivo", "No se puede abrir archivo", MsgIcon::Exclamation,
                            MsgButtons::Ok),
              MsgAnswer::Ok);
    EXPECT_EQ(seenIcon, QMessageBox::Warning);
}

TEST(QtMessages, UnattendedBoxesGoToStderrWithTheAnswerThatChangesNothing)
{
    QtMessages messages;
    messages.setUnattended(true);
    // A box that did open would wait here for ever; close it and remember.
    bool boxOpened = false;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            boxOpened = true;
            modal->close();
        }
    });
    guard.start(10);

    std::ostringstream captured;
    std::streambuf* const old = std::cerr.rdbuf(captured.rdbuf());
    const MsgAnswer save =
        messages.show("El diagrama de flujo ha sido modificado", "¿Quiere guardar?",
                      MsgIcon::Question, MsgButtons::YesNoCancel);
    const MsgAnswer mimic = messages.show("Mensaje de Tarvel", "¿Cargar la mímica FARO?",
                                          MsgIcon::Question, MsgButtons::YesNo);
    const MsgAnswer okCancel =
        messages.show("Mensaje de Tarvel", "¿Seguir?", MsgIcon::Question, MsgButtons::OkCancel);
    messages.tell("Error de Tarvel", "No se puede cargar Configuración");
    std::cerr.rdbuf(old);

    EXPECT_EQ(save, MsgAnswer::Cancel);
    EXPECT_EQ(mimic, MsgAnswer::No);
    EXPECT_EQ(okCancel, MsgAnswer::Cancel);
    EXPECT_FALSE(boxOpened);
    EXPECT_EQ(captured.str(),
              "Tarvel2Esp: El diagrama de flujo ha sido modificado: ¿Quiere guardar?\n"
              "Tarvel2Esp: Mensaje de Tarvel: ¿Cargar la mímica FARO?\n"
              "Tarvel2Esp: Mensaje de Tarvel: ¿Seguir?\n"
              "Tarvel2Esp: Error de Tarvel: No se puede cargar Configuración\n");
}

TEST(QtText, DocumentTextsCrossTheWidgetBoundaryIntact)
{
    const std::string bytes =
        "Sem\xE1"
        "foro \x80 \x93ok\x94";
    const QString shown = fromCp1252(bytes);
    EXPECT_EQ(shown, QString::fromUtf8("Semáforo € “ok”"));
    EXPECT_EQ(toCp1252(shown), bytes);
}

}  // namespace
}  // namespace tarvel
