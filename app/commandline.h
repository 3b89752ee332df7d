// orbal's command line: it takes no files, only --help and --version. Parsing is kept
// apart from acting so that main() alone chooses what happens and with which status.
#pragma once

#include <string>

class CommandLine
{
public:
    enum class Action { Run, Help, Version, Error };

    // Never touches a file or the display.
    static CommandLine parse(int argc, const char *const *argv);

    Action action() const { return m_action; }
    // One line naming what was wrong, for Action::Error.
    const std::string &error() const { return m_error; }

    static const char *usage();
    static const char *version();

private:
    Action m_action = Action::Run;
    std::string m_error;
};
