// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <functional>
#include <memory>

class PlatformServices;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QFrame;

// confimp, the dialog "Imprimer": prints the scene or the small graph with a
// page title, a number of copies and a choice of centring, on the current
// printer or one chosen with "&Imprimantes". Each opening starts from the
// same choices: nothing is kept from one dialog to the next.
class Confimp : public QDialog
{
    Q_OBJECT

public:
    // A picture as currently drawn on screen, taken when the job starts.
    using PictureSource = std::function<QImage()>;

    // animation and graph give the scene's and the small graph's pictures.
    // mainWindow is the main window's frame geometry: the dialog opens
    // 20 pixels below its top, centred across it.
    Confimp(PlatformServices &services, PictureSource animation, PictureSource graph,
            const QRect &mainWindow, QWidget *parent = nullptr);
    ~Confimp() override;

    static QString defaultTitle() { return QStringLiteral("Brelune - Lorva avec frottement"); }
    static QString waitText() { return QStringLiteral("Veuillez patienter quelques instants..."); }

    // The printer the job goes to.
    QPrinter &printer() { return *m_printer; }

    // "&OK": prints the chosen picture, then closes the dialog. A cancelled
    // PDF name or a failed job is reported and leaves the dialog open with
    // its choices, so the user can try again or give up.
    void Command1_Click();
    // "&Imprimantes": the printer set-up; a cancel changes nothing.
    void Command2_Click();

    // Closing is refused while the pages are being produced.
    void reject() override;

    QGroupBox *Frame1 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QCheckBox *Chec[2] = {};
    QLabel *Label5 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label3 = nullptr;
    QSpinBox *UpDown1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *defaut = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QFrame *Frame2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Image2 = nullptr;

private:
    void buildControls();
    void Form_Load(const QRect &mainWindow);
    // Swaps the choices and buttons for the wait panel, or back.
    void setBusy(bool busy);
    void failed(const QString &reason);

    PlatformServices &m_services;
    PictureSource m_animation;
    PictureSource m_graph;
    std::unique_ptr<QPrinter> m_printer;
    bool m_busy = false;
};
