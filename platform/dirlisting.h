// One folder's entries read straight from the file system, fast enough for folders of
// tens of thousands of songs: names kept byte for byte (PathCodec), kinds taken from the
// folder itself where it tells them (a stat only for links and file systems that don't),
// file names matched against shell patterns ignoring case, all sorted by name ignoring case
// (the order QDir gives).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class DirListing
{
public:
    struct Entry {
        QString name;
        bool isDir = false;
    };

    // The folders (links to folders too) of `path` whatever their names, and its regular
    // files (links followed) matching one of `patterns` ("*" and "?", case ignored; every
    // file when empty), hidden ones included; ".", ".." and anything else (devices, broken
    // links) left out. nullopt when the folder cannot be read.
    static std::optional<QList<Entry>> read(const QString &path, const QStringList &patterns);

    // `name` against one shell pattern ("*" any run, "?" any one character), ignoring case.
    static bool matches(QStringView name, QStringView pattern);
};
