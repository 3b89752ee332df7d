#include "fakemplayer.h"

#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>

namespace fakemplayer
{

void install(const QString &dir, const QByteArray &extraScript)
{
    const QByteArray script = "#!/bin/sh\n"
                              "printf '%s\\0' \"$@\" > args.rec\n" +
                              extraScript +
                              "echo 'Starting playback...'\n"
                              "while IFS= read -r line; do\n"
                              "  printf '%s\\n' \"$line\" >> lines.rec\n"
                              "  case \"$line\" in\n"
                              "    quit) exit 0 ;;\n"
                              "    get_time_length) echo 'ANS_LENGTH=42.00' ;;\n"
                              "  esac\n"
                              "done\n";
    QDir().mkpath(dir);
    testenv::writeFile(dir + "/mplayer", script);
    QFile::setPermissions(dir + "/mplayer", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir::setCurrent(dir);
}

void installReal(const QString &dir)
{
    QDir().mkpath(dir);
    QFile::remove(dir + "/mplayer");
    QFile::link("/usr/bin/mplayer", dir + "/mplayer");
    QDir::setCurrent(dir);
}

QList<QByteArray> arguments(const QString &dir)
{
    QList<QByteArray> args = testenv::readFile(dir + "/args.rec").split('\0');
    if (!args.isEmpty() && args.last().isEmpty())
        args.removeLast();
    return args;
}

QList<QByteArray> lines(const QString &dir)
{
    QList<QByteArray> out = testenv::readFile(dir + "/lines.rec").split('\n');
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

void clearLines(const QString &dir)
{
    QFile::remove(dir + "/lines.rec");
}

} // namespace fakemplayer
