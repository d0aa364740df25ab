// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// What a file dialog shows: its title, a filter such as
// "Configurations (*.P18)", the extension added to a name typed without one
// (without the dot), and the folder and file name it opens on.
struct FileDialogRequest
{
    QString title;
    QString filter;
    QString defaultExtension;
    QString directory;
    QString fileName;
};

// Every modal dialog, beep, clipboard access and help request of the program
// goes through this interface: the program uses the Qt implementation, tests
// a scripted one that records each call and answers from a queue. A cancel is
// a normal answer (an empty optional or false), never an error.
class PlatformServices
{
public:
    virtual ~PlatformServices() = default;

    // A modal message box; returns the button pressed (Ok for a plain message).
    virtual MessageAnswer message(MessageIcon icon, const QString &title, const QString &text,
                                  MessageButtons buttons = MessageButtons::Ok)
        = 0;
    virtual void beep() = 0;
    // The colour picker, opening on initial; nothing when cancelled.
    virtual std::optional<QColor> pickColour(const QColor &initial) = 0;
    // Full path of the chosen file; nothing when cancelled.
    virtual std::optional<QString> openFileName(const FileDialogRequest &request) = 0;
    virtual std::optional<QString> saveFileName(const FileDialogRequest &request) = 0;
    // Full paths of the files chosen in a dialog that lets the user pick
    // several; nothing when cancelled. Implementations that cannot offer a
    // multiple choice give the one file of openFileName.
    virtual std::optional<QStringList> openFileNames(const FileDialogRequest &request)
    {
        const std::optional<QString> name = openFileName(request);
        if (!name)
            return std::nullopt;
        return QStringList {*name};
    }
    // The printer set-up dialog on printer; false when cancelled.
    virtual bool printerSetup(QPrinter &printer) = 0;
    virtual void setClipboardText(const QString &text) = 0;
    // The clipboard's text; empty when it holds none.
    virtual QString readClipboardText() = 0;
    virtual void setClipboardImage(const QImage &image) = 0;
    // Shows the help page at path (an HTML file); a missing file is ignored.
    virtual void showHelp(const QString &path) = 0;
};
