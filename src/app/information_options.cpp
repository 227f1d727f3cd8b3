#include "app/information_options.h"

#include "update/version.h"

#include <cstdio>
#include <string_view>

namespace voltwise {

namespace {

constexpr char kHelp[] =
    "Usage: voltwise [options]\n"
    "Shows the California power grid's condition in the notification area.\n"
    "A second start shows the running program's window.\n"
    "\n"
    "Options:\n"
    "  -h, --help     Displays help on commandline options.\n"
    "  -v, --version  Displays version information.\n"
    "\n"
    "Qt's standard options, such as -platform and -display, are accepted too.\n";

} // namespace

std::optional<int> AnswerInformationOption(int argc, char **argv)
{
    if (argc != 2)
        return std::nullopt;
    const std::string_view argument = argv[1];
    if (argument == "-h" || argument == "--help")
        std::fputs(kHelp, stdout);
    else if (argument == "-v" || argument == "--version")
        std::printf("voltwise %s\n", qUtf8Printable(VersionString()));
    else
        return std::nullopt;
    return 0;
}

} // namespace voltwise
