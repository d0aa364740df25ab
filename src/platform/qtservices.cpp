// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtservices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBrowser>
#include <QUrl>

QtServices::QtServices(QWidget *parent)
    : m_parent(parent)
{ }

QtServices::~QtServices()
{
    delete m_help;
}

MessageAnswer QtServices::message(MessageIcon icon, const QString &title, const QString &text,
                                  MessageButtons buttons)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    // French captions whatever translations are installed.
    if (QAbstractButton *b = box.button(QMessageBox::Cancel))
        b->setText(QStringLiteral("Annuler"));
    if (QAbstractButton *b = box.button(QMessageBox::Yes))
        b->setText(QStringLiteral("Oui"));
    if (QAbstractButton *b = box.button(QMessageBox::No))
        b->setText(QStringLiteral("Non"));

    switch (box.exec()) {
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    default:
        // Closing the box with Escape or the title bar is a cancel.
        return buttons == MessageButtons::YesNo   ? MessageAnswer::No
            : buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel
                                                  : MessageAnswer::Ok;
    }
}

void QtServices::beep()
{
    QApplication::beep();
}

std::unique_ptr<QColorDialog> QtServices::colourDialog(const QColor &initial) const
{
    auto dialog = std::make_unique<QColorDialog>(m_parent);
    dialog->setCurrentColor(initial);
    return dialog;
}

std::optional<QColor> QtServices::pickColour(const QColor &initial)
{
    const std::unique_ptr<QColorDialog> dialog = colourDialog(initial);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    const QColor colour = dialog->selectedColor();
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

std::optional<QStringList> QtServices::fileNames(const FileDialogRequest &request,
                                                 QFileDialog::FileMode mode)
{
    QFileDialog dialog(m_parent, request.title, request.directory, request.filter);
    const bool save = mode == QFileDialog::AnyFile;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(mode);
    // The callers ask their own overwrite question, with their own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles();
}

std::optional<QString> QtServices::openFileName(const FileDialogRequest &request)
{
    const std::optional<QStringList> names = fileNames(request, QFileDialog::ExistingFile);
    return names ? std::optional<QString>(names->constFirst()) : std::nullopt;
}

std::optional<QStringList> QtServices::openFileNames(const FileDialogRequest &request)
{
    return fileNames(request, QFileDialog::ExistingFiles);
}

std::optional<QString> QtServices::saveFileName(const FileDialogRequest &request)
{
    const std::optional<QStringList> names = fileNames(request, QFileDialog::AnyFile);
    return names ? std::optional<QString>(names->constFirst()) : std::nullopt;
}

bool QtServices::printerSetup(QPrinter &printer)
{
    QPrintDialog dialog(&printer, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtServices::setClipboardText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

QString QtServices::readClipboardText()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text() : QString();
}

void QtServices::setClipboardImage(const QImage &image)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(image);
}

void QtServices::showHelp(const QString &path)
{
    if (!QFileInfo::exists(path))
        return;
    if (!m_help) {
        m_help = new QTextBrowser;
        m_help->setAttribute(Qt::WA_DeleteOnClose);
        m_help->setOpenExternalLinks(true);
        m_help->resize(640, 560);
    }
    m_help->setSource(QUrl::fromLocalFile(path));
    m_help->setWindowTitle(m_help->documentTitle().isEmpty()
                               ? QStringLiteral("Aide de Lorva avec frottement")
                               : m_help->documentTitle());
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}
