// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QPixmap>

#include <array>

class ExerciseBanner;
class ExerciseSession;
class FolderLists;
class QAbstractItemModel;
class QFrame;
class QModelIndex;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class QToolButton;

// Fichexo, the exercise window: it covers the main window while the student
// chooses an exercise. On the left the drive, folder and file lists of the
// descriptors (".E40", any case); on the right the preview of the selected
// one (title, three difficulty lamps, notions, corrected or not, a row of
// hourglasses) and the button that opens it. Opening loads the statement and
// the configuration through the session and closes the window; a failure
// leaves it open. Escape or the "Fermer" button closes it.
class Fichexo : public QDialog
{
    Q_OBJECT

public:
    Fichexo(ExerciseSession &session, QWidget *mainWindow);
    ~Fichexo() override;

    static QString corrected() { return QStringLiteral("Exercice corrigé"); }
    static QString notCorrected() { return QStringLiteral("Non corrigé"); }

    FolderLists &lists() const { return *m_lists; }
    QLineEdit *fichierexo() const { return m_fichierexo; }
    QLabel *intratro() const { return m_intratro; }
    QLabel *titratexo() const { return m_titratexo; }
    QLabel *label(int index) const;
    QLabel *image4(int lamp) const { return m_lamps.at(std::size_t(lamp)); }
    // Whether lamp shows the lit picture.
    bool lampLit(int lamp) const;
    QTextEdit *text1() const { return m_text1; }
    QLabel *text2() const { return m_text2; }
    QPushButton *ouvreur() const { return m_ouvreur; }
    QToolButton *image5() const { return m_image5; }
    QFrame *frame2() const { return m_frame2; }

    // Selects the first file of the list (which previews it) and gives the
    // list the focus; waits for the list when the folder is still being read.
    void Form_Activate();
    // File1_Click: the file name of the current folder becomes fichierexo.
    void File1_Click(const QString &name);
    // apercu: fills the preview from the descriptor in fichierexo.
    void apercu();
    // ouvreur_Click: opens the exercise in fichierexo.
    void ouvreur_Click();
    // The first row of parent in the order of names the list shows (case
    // ignored), whatever order the model holds its rows in.
    static QModelIndex firstByName(const QAbstractItemModel &model, const QModelIndex &parent);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createPreview(int height);
    void createWaitPanel(int height);
    // Scrolls the folder list to the current folder.
    void showCurrentFolder();
    void pathChanged();

    ExerciseSession &m_session;
    ExerciseBanner *m_tito = nullptr;
    QGroupBox *m_frame1 = nullptr;
    FolderLists *m_lists = nullptr;
    QLineEdit *m_fichierexo = nullptr;
    QLabel *m_intratro = nullptr;
    QLabel *m_titratexo = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_label3 = nullptr;
    QLabel *m_label4 = nullptr;
    std::array<QLabel *, 3> m_lamps {};
    QPixmap m_imagalu;
    QPixmap m_imagenoir;
    QTextEdit *m_text1 = nullptr;
    QLabel *m_text2 = nullptr;
    QPushButton *m_ouvreur = nullptr;
    QToolButton *m_image5 = nullptr;
    QFrame *m_frame2 = nullptr;
    bool m_activated = false;
    bool m_waitingForFiles = false;
};
