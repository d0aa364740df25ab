// SPDX-License-Identifier: GPL-3.0-or-later
#include "scriptedservices.h"

MessageAnswer ScriptedServices::message(MessageIcon icon, const QString &title, const QString &text,
                                        MessageButtons buttons)
{
    messages.append({icon, title, text, buttons});
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

std::optional<QColor> ScriptedServices::pickColour(const QColor &initial)
{
    colourRequests.append(initial);
    return colours.isEmpty() ? std::nullopt : colours.dequeue();
}

std::optional<QString> ScriptedServices::openFileName(const FileDialogRequest &request)
{
    fileRequests.append(request);
    return fileNames.isEmpty() ? std::nullopt : fileNames.dequeue();
}

std::optional<QStringList> ScriptedServices::openFileNames(const FileDialogRequest &request)
{
    if (fileLists.isEmpty())
        return PlatformServices::openFileNames(request);
    fileRequests.append(request);
    return fileLists.dequeue();
}

std::optional<QString> ScriptedServices::saveFileName(const FileDialogRequest &request)
{
    fileRequests.append(request);
    return fileNames.isEmpty() ? std::nullopt : fileNames.dequeue();
}

bool ScriptedServices::printerSetup(QPrinter &printer)
{
    ++printerRequests;
    const bool accepted = printerAnswers.isEmpty() ? true : printerAnswers.dequeue();
    if (accepted && printerChoice)
        printerChoice(printer);
    return accepted;
}
