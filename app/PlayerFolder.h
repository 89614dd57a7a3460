#pragma once

#include <QString>
#include <QStringList>

// The folder whose table files the program works on. Started from a terminal or by
// scripts/run.sh, it is the current folder; the desktop menu starts the program with
// kPlayerFolderOption, and the folder is then the player's data folder ~/Quinabel, created on
// first use. `error` holds a Portuguese message when that folder cannot be created.
struct StartFolder {
    QString path;
    QString error;
};

inline constexpr const char16_t* kPlayerFolderOption = u"--pasta-do-jogador";

StartFolder chooseStartFolder(const QStringList& arguments, const QString& home, const QString& current);
