// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exercises/exercisehost.h"

#include <QDialog>
#include <QFileInfo>
#include <QStringList>
#include <QTextEdit>
#include <QWidget>

#include <functional>

// The main window as the exercises see it, over a plain text edit: any edit
// while fich is not empty sets textemodif, as the real text area does.
class FakeExerciseHost : public ExerciseHost
{
public:
    FakeExerciseHost()
    {
        text = new QTextEdit(&mainWindow);
        QObject::connect(text, &QTextEdit::textChanged, [this] {
            if (!fichText.isEmpty())
                modified = true;
        });
        writeIntroduction();
    }
    QTextEdit *supertext() const override { return text; }
    QString fich() const override { return fichText; }
    void setFich(const QString &value) override { fichText = value; }
    bool textemodif() const override { return modified; }
    void setTextemodif(bool value) override { modified = value; }
    bool chargeconfig(const QString &path) override
    {
        configurations.append(path);
        return !refuseConfigurations && QFileInfo::exists(path);
    }
    int showModal(QDialog *window) override
    {
        ++modals;
        if (onModal)
            onModal(window);
        return 0;
    }
    void writeIntroduction() override
    {
        text->setPlainText(QStringLiteral("Introduction"));
        text->setReadOnly(true);
    }
    QWidget *window() const override { return const_cast<QWidget *>(&mainWindow); }

    QWidget mainWindow;
    QTextEdit *text = nullptr;
    QString fichText;
    bool modified = false;
    QStringList configurations;
    // chargeconfig refuses every file, as it does a damaged one.
    bool refuseConfigurations = false;
    int modals = 0;
    // Runs while the window is "shown", as the user would act on it.
    std::function<void(QDialog *)> onModal;
};
