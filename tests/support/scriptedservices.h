// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/platformservices.h"

#include <QList>
#include <QQueue>

#include <functional>

// Platform services for tests: every call is recorded, and dialogs answer
// from queues filled by the test. An empty queue gives the first button
// (Ok, Yes), a cancelled colour picker or file dialog, and an accepted
// printer set-up, so that no test ever waits on a real dialog.
class ScriptedServices : public PlatformServices
{
public:
    struct Message
    {
        MessageIcon icon;
        QString title;
        QString text;
        MessageButtons buttons;
    };

    MessageAnswer message(MessageIcon icon, const QString &title, const QString &text,
                          MessageButtons buttons = MessageButtons::Ok) override;
    void beep() override { ++beeps; }
    std::optional<QColor> pickColour(const QColor &initial) override;
    std::optional<QString> openFileName(const FileDialogRequest &request) override;
    std::optional<QString> saveFileName(const FileDialogRequest &request) override;
    // The next of fileLists when the test queued one (several files chosen
    // at once), else the next of fileNames as a single file.
    std::optional<QStringList> openFileNames(const FileDialogRequest &request) override;
    bool printerSetup(QPrinter &printer) override;
    void setClipboardText(const QString &text) override { clipboardText = text; }
    QString readClipboardText() override { return clipboard; }
    void setClipboardImage(const QImage &image) override { clipboardImage = image; }
    void showHelp(const QString &path) override { helpPaths.append(path); }

    // Answers, taken in order.
    QQueue<MessageAnswer> answers;
    QQueue<std::optional<QColor>> colours;
    QQueue<std::optional<QString>> fileNames;
    QQueue<QStringList> fileLists;
    QQueue<bool> printerAnswers;
    // Run on the printer by an accepted set-up, as the user's choices would be.
    std::function<void(QPrinter &)> printerChoice;

    // What was asked.
    QList<Message> messages;
    QList<QColor> colourRequests;
    QList<FileDialogRequest> fileRequests;
    int printerRequests = 0;
    int beeps = 0;
    QString clipboardText;
    // What the clipboard holds for a paste.
    QString clipboard;
    QImage clipboardImage;
    QStringList helpPaths;
};
