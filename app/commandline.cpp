#include "app/commandline.h"

#include <cstring>

#ifndef ORBAL_VERSION
#define ORBAL_VERSION "unknown"
#endif

CommandLine CommandLine::parse(int argc, const char *const *argv)
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            line.m_action = Action::Help;
        } else if (std::strcmp(arg, "--version") == 0) {
            if (line.m_action == Action::Run)
                line.m_action = Action::Version;
        } else {
            line.m_action = Action::Error;
            line.m_error = arg[0] == '-' ? std::string("unknown option ") + arg
                                         : std::string("takes no files: ") + arg;
            return line;
        }
    }
    return line;
}

const char *CommandLine::usage()
{
    return "Usage: orbal [--help | --version]\n"
           "A skinned music and video player for a 240 x 320 screen. It takes no files:\n"
           "it plays the list kept in its application folder.\n"
           "\n"
           "The application folder is the working folder when that holds a \"skins\"\n"
           "folder; otherwise $XDG_DATA_HOME/orbal (~/.local/share/orbal), made on the\n"
           "first start with its memory card (mmc/mmca1) linked to the music folder.\n"
           "Settings live in .xmms/tavrin_cfg and .xmms/config there; saved lists in\n"
           "~/playlist, equalizer presets in ~/.xmms, the readme in ~/readme.\n"
           "\n"
           "Environment:\n"
           "  XDG_DATA_HOME     where the per-user application folder is made\n"
           "  HOME              the home folder (saved lists, presets, readme)\n"
           "  QT_LOGGING_RULES  debug output by area, e.g. \"orbal.*.debug=true\"\n"
           "  DISPLAY           the X display to show the window on\n";
}

const char *CommandLine::version()
{
    return "orbal " ORBAL_VERSION "\n";
}
