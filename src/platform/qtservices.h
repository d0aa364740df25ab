// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platformservices.h"

#include <QFileDialog>
#include <QPointer>

#include <memory>

class QColorDialog;
class QTextBrowser;
class QWidget;

// The program's platform services, over Qt's dialogs, message boxes and
// clipboard. Dialogs are modal and centred on the parent window.
class QtServices : public PlatformServices
{
public:
    explicit QtServices(QWidget *parent = nullptr);
    ~QtServices() override;

    void setParentWindow(QWidget *parent) { m_parent = parent; }

    MessageAnswer message(MessageIcon icon, const QString &title, const QString &text,
                          MessageButtons buttons = MessageButtons::Ok) override;
    void beep() override;
    std::optional<QColor> pickColour(const QColor &initial) override;
    std::optional<QString> openFileName(const FileDialogRequest &request) override;
    std::optional<QStringList> openFileNames(const FileDialogRequest &request) override;
    std::optional<QString> saveFileName(const FileDialogRequest &request) override;
    bool printerSetup(QPrinter &printer) override;
    void setClipboardText(const QString &text) override;
    QString readClipboardText() override;
    void setClipboardImage(const QImage &image) override;
    void showHelp(const QString &path) override;

    // The colour picker pickColour() shows, set to initial and not yet shown.
    std::unique_ptr<QColorDialog> colourDialog(const QColor &initial) const;

private:
    std::optional<QStringList> fileNames(const FileDialogRequest &request,
                                         QFileDialog::FileMode mode);

    QPointer<QWidget> m_parent;
    QPointer<QTextBrowser> m_help;
};
